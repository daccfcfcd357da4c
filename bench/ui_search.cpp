// The search window on a 30-year sample passbook (about 100,000 entries): a full search from
// the press of 新規検索 until the results are painted, and sorting all results by amount
// and by item text until painted again.
#include "ui/analysis/FindGrid.h"
#include "ui/analysis/FindWindow.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "foundation/AppGlobal.h"
#include "passbook/DemoPassbook.h"
#include "passbook/Profile.h"

namespace {

using namespace kzm;
using kzm::ui::TFmFind;

// The sample passbook, made once for all benchmarks and removed at exit.
class TDemoData {
 public:
  TDemoData() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzm-bench-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
    AppGlobal().UseDataFolder(m_path);
    TDemoOptions options;
    options.years = 30;
    options.seed = 1;
    options.until = 202412;
    std::vector<std::string> folders;
    std::string error;
    if (!MakeDemoPassbooks(m_path, options, folders, error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::abort();
    }
    CurrentProfile().OpenPassbook(folders.front());
  }
  ~TDemoData() { std::filesystem::remove_all(m_path); }

 private:
  std::string m_path;
};

void OpenDemo() { static TDemoData data; }

std::unique_ptr<TFmFind> ShownWindow() {
  OpenDemo();
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
