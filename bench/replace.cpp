// Replacing one category over a 30-year sample passbook, every changed month written
// through to its file.

#include <benchmark/benchmark.h>

#include <string>

#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "search/CategoryReplace.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

void BM_ReplaceOneCategory(benchmark::State& state) {
  bench::OpenSamplePassbook();
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
