// The monthly view on a 30-year sample passbook (the one closing on pay day): one step to the
// previous or next month, including the summary of the month and the paint of the window.
// The view walks 24 months back, then 24 forward, and again.
#include "ui/monthly/MonthWindow.h"

#include <QApplication>
#include <QImage>
#include <QPushButton>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "demo/DemoPassbook.h"
#include "foundation/AppGlobal.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"

namespace {

// The sample passbooks, made once per run in a temporary folder.
std::string SamplePassbook() {
  static std::string folder;
  if (!folder.empty()) return folder;
  const std::string data = (std::filesystem::temp_directory_path() / "kzm-bench-month").string();
  std::filesystem::remove_all(data);
  std::filesystem::create_directories(data);
  kzm::AppGlobal().UseDataFolder(data);
  kzm::TDemoOptions options;
  options.years = 30;
  std::vector<std::string> folders;
  std::string error;
  if (!kzm::MakeDemoPassbooks(data, options, folders, error) || folders.empty()) {
    std::fprintf(stderr, "no sample passbook: %s\n", error.c_str());
    std::exit(1);
  }
  folder = folders.front();
  return folder;
}

void BM_MonthStep(benchmark::State& state) {
  kzm::CurrentProfile().OpenPassbook(SamplePassbook());
  kzm::ui::TFmMonth view;
  view.resize(1200, 600);
  view.show();
  QApplication::processEvents();
  QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
  auto* before = view.findChild<QPushButton*>(QStringLiteral("ButtonBefore"));
  auto* next = view.findChild<QPushButton*>(QStringLiteral("ButtonNext"));
  int step = 0;
  for (auto _ : state) {
    // 24 steps back, then 24 forward.
    (step++ % 48 < 24 ? before : next)->click();
    view.render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  kzm::CurrentMonthData().Save();
}
BENCHMARK(BM_MonthStep)->Unit(benchmark::kMillisecond)->Iterations(48);

}  // namespace
