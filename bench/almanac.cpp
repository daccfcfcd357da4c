// Asking the holiday and the seasonal name of every day of 100 consecutive years, as a
// calendar walking through the years would.
#include <benchmark/benchmark.h>

#include "calendar/Almanac.h"
#include "foundation/Dates.h"

namespace {

void BM_HundredYearsOfDays(benchmark::State& state) {
  kzm::Talmanac& almanac = kzm::Almanac();
  const kzm::TDayNumber first = kzm::EncodeDate(1950, 1, 1);
  const kzm::TDayNumber last = kzm::EncodeDate(2049, 12, 31);
  for (auto _ : state) {
    int named = 0;
    for (kzm::TDayNumber day = first; day <= last; ++day) {
      almanac.SetDate(day);
      named += !almanac.HolidayName().empty();
      named += !almanac.SeasonName().empty();
    }
    benchmark::DoNotOptimize(named);
  }
}
BENCHMARK(BM_HundredYearsOfDays)->Unit(benchmark::kMillisecond);

}  // namespace
