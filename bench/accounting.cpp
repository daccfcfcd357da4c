// Accounting months and search on a 30-year sample passbook (about 100,000 entries).

#include <benchmark/benchmark.h>

#include <string>

#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "search/Search.h"
#include "settlement/AccountingMonth.h"
#include "settlement/SettlementCache.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

void BM_BuildMonth(benchmark::State& state) {
  bench::OpenSamplePassbook();
  THeadList summary;
  for (auto _ : state) benchmark::DoNotOptimize(BuildMonth(201006, summary));
  state.counters["days"] = summary.DayCount();
}
BENCHMARK(BM_BuildMonth)->Unit(benchmark::kMillisecond);

void BM_SearchOneCategory(benchmark::State& state) {
  bench::OpenSamplePassbook();
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
  bench::OpenSamplePassbook();
  const TDayNumber day = EncodeDate(2010, 6, 27);
  for (auto _ : state) benchmark::DoNotOptimize(MonthOfDay(day));
}
BENCHMARK(BM_MonthOfDay)->Unit(benchmark::kMicrosecond);

// The same with every settlement file read again on each call: what it cost before the cache.
void BM_MonthOfDayReadingFiles(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const TDayNumber day = EncodeDate(2010, 6, 27);
  for (auto _ : state) {
    SettlementCache().Forget();
    benchmark::DoNotOptimize(MonthOfDay(day));
  }
}
BENCHMARK(BM_MonthOfDayReadingFiles)->Unit(benchmark::kMicrosecond);

}  // namespace
