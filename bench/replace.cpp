// Replacing one category over a 30-year sample passbook, every changed month written
// through to its file.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "passbook/Categories.h"
#include "passbook/CategoryReplace.h"
#include "passbook/DemoPassbook.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"

namespace {

using namespace kzm;

// The sample passbooks, made once and removed at exit.
class TDemoData {
 public:
  TDemoData() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzm-bench-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
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

void BM_ReplaceOneCategory(benchmark::State& state) {
  OpenDemo();
  TkzmDataUnit& data = CurrentMonthData();
  (void)data.Save();
  const std::string food = MakeKey("食費", kKindPayment);
  const std::string eatingOut = MakeKey("外食", kKindPayment);
  TReplaceOutcome outcome;
  for (auto _ : state) {
    outcome = ReplaceAllMonths(data, {food, eatingOut});
    // Back again untimed, so that every run has the same entries to change.
    state.PauseTiming();
    (void)ReplaceAllMonths(data, {eatingOut, food});
    state.ResumeTiming();
  }
  state.counters["changes"] = outcome.changes;
  state.counters["months"] = outcome.monthsChanged;
}
BENCHMARK(BM_ReplaceOneCategory)->Unit(benchmark::kMillisecond);

}  // namespace
