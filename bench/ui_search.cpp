// The search window on a 30-year sample passbook (about 100,000 entries): a full search from
// the press of 新規検索 until the results are painted, and sorting all results by amount
// and by item text until painted again.
#include "ui/analysis/FindGrid.h"
#include "ui/analysis/FindWindow.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;
using kzm::ui::TFmFind;

std::unique_ptr<TFmFind> ShownWindow() {
  bench::OpenSamplePassbook();
  auto window = std::make_unique<TFmFind>();
  window->setAttribute(Qt::WA_DeleteOnClose, false);
  window->show();
  QApplication::processEvents();
  return window;
}

void Paint(TFmFind& window, QImage& image) {
  window.Grid()->viewport()->render(&image);
  benchmark::DoNotOptimize(image.constBits());
}

void BM_FullSearchUntilShown(benchmark::State& state) {
  auto window = ShownWindow();
  QImage image(window->Grid()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    window->ButtonNewClick();
    Paint(*window, image);
  }
  state.counters["results"] = window->Grid()->Results().Count();
}
BENCHMARK(BM_FullSearchUntilShown)->Unit(benchmark::kMillisecond);

void SortUntilShown(benchmark::State& state, int column) {
  auto window = ShownWindow();
  window->ButtonNewClick();
  QImage image(window->Grid()->viewport()->size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    window->Grid()->SortByColumn(column);
    Paint(*window, image);
  }
  state.counters["results"] = window->Grid()->Results().Count();
}

void BM_SortByAmount(benchmark::State& state) { SortUntilShown(state, kColumnAmount); }
BENCHMARK(BM_SortByAmount)->Unit(benchmark::kMillisecond);

void BM_SortByItemText(benchmark::State& state) { SortUntilShown(state, kColumnItem); }
BENCHMARK(BM_SortByItemText)->Unit(benchmark::kMillisecond);

}  // namespace
