// Painting a 40-column × 1,000-row grid in a 1280 × 800 viewport: a full repaint, and the
// one-row strip that scrolling by a row leaves to be painted.
#include "controls/grid/GridControl.h"

#include <QApplication>
#include <QImage>
#include <QRegion>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

using kzm::ui::TorvGrid;

std::unique_ptr<TorvGrid> MakeGrid() {
  auto grid = std::make_unique<TorvGrid>();
  grid->SetColCount(40);
  grid->SetRowCount(1000);
  for (int row = 0; row < grid->RowCount(); ++row)
    for (int col = 0; col < grid->ColCount(); ++col)
      grid->SetCells(col, row, QStringLiteral("%1:%2 食費").arg(col).arg(row));
  grid->show();
  QApplication::processEvents();
  grid->resize(QSize(1280, 800) + (grid->size() - grid->viewport()->size()));
  QApplication::processEvents();
  return grid;
}

void BM_FullRepaint(benchmark::State& state) {
  auto grid = MakeGrid();
  QImage image(grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    grid->viewport()->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_FullRepaint)->Unit(benchmark::kMillisecond);

void BM_ScrolledRowStrip(benchmark::State& state) {
  auto grid = MakeGrid();
  QImage image(grid->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  const QRect last = grid->CellRect(0, grid->TopRow() + grid->VisibleRowCount() - 1);
  const QRegion strip(0, last.top(), image.width(), last.height() + 1);
  for (auto _ : state) {
    grid->viewport()->render(&image, QPoint(), strip);
    benchmark::DoNotOptimize(image.constBits());
  }
}
BENCHMARK(BM_ScrolledRowStrip)->Unit(benchmark::kMicrosecond);

}  // namespace
