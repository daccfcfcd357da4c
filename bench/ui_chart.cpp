// Drawing the spending chart of a window's first size, 571 × 338: the pie drawn three times
// larger and shrunk with ThirdBitmap, then the legend beside it; and the same at the factor
// the window itself picks for that size (2).
// Run: build/bench/bench_ui_chart --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include "controls/Fonts.h"
#include "graphics/Bitmap.h"
#include "graphics/SpendingGraph.h"
#include "report/ChartPalette.h"
#include "ui/analysis/QtChartCanvas.h"

namespace {

constexpr int kWidth = 571;
constexpr int kHeight = 338;

// A household month: a dozen categories of every size, two of them small enough for その他.
kzm::TSGraph MonthGraph() {
  static const struct {
    const char* name;
    int amount;
  } kAmounts[] = {{"住居･光熱", 92'000}, {"食費", 61'500}, {"交通", 18'200}, {"交際", 15'000}, {"教養", 9'800},
                  {"娯楽", 12'400},      {"服飾", 8'900},  {"医療", 4'300},  {"通信", 7'600},  {"雑費", 3'100},
                  {"切手", 84},          {"駐輪", 100}};
  kzm::TIntegerList& palette = kzm::ChartPalette();
  kzm::TSGraph graph;
  int n = 0;
  for (const auto& a : kAmounts) graph.Add(a.name, a.amount, static_cast<kzm::TColor>(palette.Items(n++)));
  graph.SetTitle("2024年5月");
  graph.SetKindLabel("支出");
  return graph;
}

void DrawChart(benchmark::State& state, int factor) {
  kzm::ui::InstallFontSubstitutions();
  kzm::TSGraph graph = MonthGraph();
  const int side = kzm::ChartPieSide(kWidth, kHeight);
  kzm::TBitmap pie;
  QImage window(kWidth, kHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    kzm::ui::DrawSmoothPie(graph, side, factor, pie);
    QPainter painter(&window);
    painter.fillRect(window.rect(), Qt::white);
    kzm::ui::TQtChartCanvas canvas(painter);
    graph.DrawLegend(canvas, side, kHeight, kWidth - side, 0);
    painter.drawImage(QPoint(0, 0), QImage(pie.Bits(), side, side, pie.Stride(), QImage::Format_RGB32));
  }
  benchmark::DoNotOptimize(window.constBits());
}

void BM_ChartFactor3(benchmark::State& state) { DrawChart(state, 3); }
BENCHMARK(BM_ChartFactor3)->Unit(benchmark::kMillisecond);

void BM_ChartWindowFactor(benchmark::State& state) {
  DrawChart(state, kzm::ChartDrawFactor(kzm::ChartPieSide(kWidth, kHeight)));
}
BENCHMARK(BM_ChartWindowFactor)->Unit(benchmark::kMillisecond);

}  // namespace
