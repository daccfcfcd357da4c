// Accounting months and search on a 30-year sample passbook (about 100,000 entries).

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "foundation/Dates.h"
#include "passbook/AccountingMonth.h"
#include "passbook/Categories.h"
#include "passbook/DemoPassbook.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "passbook/Search.h"
#include "passbook/SettlementCache.h"

namespace {

using namespace kzm;

// The sample passbooks, made once for all benchmarks and removed at exit.
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

void BM_BuildMonth(benchmark::State& state) {
  OpenDemo();
  THeadList summary;
  for (auto _ : state) benchmark::DoNotOptimize(BuildMonth(201006, summary));
  state.counters["days"] = summary.DayCount();
}
BENCHMARK(BM_BuildMonth)->Unit(benchmark::kMillisecond);

void BM_SearchOneCategory(benchmark::State& state) {
  OpenDemo();
  TSearchConditions conditions;
  conditions.category = "交際";
  int found = 0;
  int64_t entries = 0;
  for (auto _ : state) {
    TSearchResults results;
    SearchAllMonths(CurrentMonthData(), conditions, results);
    found = results.Count();
  }
  TSearchResults all;
  SearchAllMonths(CurrentMonthData(), {}, all);
  entries = all.Count();
  state.counters["found"] = found;
  state.counters["entries"] = static_cast<double>(entries);
}
BENCHMARK(BM_SearchOneCategory)->Unit(benchmark::kMillisecond);

void BM_MonthOfDay(benchmark::State& state) {
  OpenDemo();
  const TDayNumber day = EncodeDate(2010, 6, 27);
  for (auto _ : state) benchmark::DoNotOptimize(MonthOfDay(day));
}
BENCHMARK(BM_MonthOfDay)->Unit(benchmark::kMicrosecond);

// The same with every settlement file read again on each call: what it cost before the cache.
void BM_MonthOfDayReadingFiles(benchmark::State& state) {
  OpenDemo();
  const TDayNumber day = EncodeDate(2010, 6, 27);
  for (auto _ : state) {
    SettlementCache().Forget();
    benchmark::DoNotOptimize(MonthOfDay(day));
  }
}
BENCHMARK(BM_MonthOfDayReadingFiles)->Unit(benchmark::kMicrosecond);

}  // namespace
