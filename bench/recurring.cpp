// The occurrences due in a passbook of 50 recurring entries kept for 30 years: everything
// before the last month entered, as in a passbook used every day.

#include <benchmark/benchmark.h>

#include <string>

#include "calendar/Almanac.h"
#include "recurring/RecurringEntering.h"

namespace {

using namespace kzm;

constexpr int kTemplates = 50;
const TDayNumber kFirst = EncodeDate(1997, 1, 1);
const TDayNumber kToday = EncodeDate(2026, 12, 31);

// 30 monthly entries on different days (some on 月末, every other one shifted), 10 weekly,
// 5 yearly and 5 every 14 days.
TSchedule ScheduleOf(int i) {
  TSchedule s;
  s.first = kFirst;
  s.shift = static_cast<TBusinessShift>(i % 3);
  if (i < 30) {
    s.repeat = TRepeat::rpMonthly;
    s.day = i == 29 ? kMonthEnd : i + 1;
  } else if (i < 40) {
    s.repeat = TRepeat::rpWeekly;
    s.day = i % 7 + 1;
  } else if (i < 45) {
    s.repeat = TRepeat::rpYearly;
    s.day = (i - 39) * 100 + 15;
  } else {
    s.repeat = TRepeat::rpDays;
    s.interval = 14;
  }
  return s;
}

TRecurringStore SampleStore() {
  TRecurringStore store;
  TBusinessDays days(Almanac().Rules());
  for (int i = 0; i < kTemplates; ++i) {
    TRecurringTemplate t;
    t.category = "食費";
    t.account = "銀行";
    t.item = "定期" + std::to_string(i);
    t.amount = 1000 + i;
    t.schedule = ScheduleOf(i);
    const int id = store.Add(t);
    for (const TOccurrence& o : OccurrencesBetween(*store.Find(id), kFirst - 31, kToday - 31, days)) {
      store.MarkHandled(id, o.scheduled, {THandling::hEntered, o.date, t.amount});
    }
  }
  return store;
}

void BM_DueOfFiftyTemplatesOverThirtyYears(benchmark::State& state) {
  const TRecurringStore store = SampleStore();
  TBusinessDays days(Almanac().Rules());
  size_t due = 0;
  for (auto _ : state) {
    due = DueOccurrences(store, kToday, days).size();
    benchmark::DoNotOptimize(due);
  }
  state.counters["due"] = static_cast<double>(due);
}
BENCHMARK(BM_DueOfFiftyTemplatesOverThirtyYears)->Unit(benchmark::kMillisecond);

// The same with the holidays of the 30 years worked out afresh, as on the first check after
// the program starts.
void BM_DueWithFreshHolidays(benchmark::State& state) {
  const TRecurringStore store = SampleStore();
  size_t due = 0;
  for (auto _ : state) {
    TBusinessDays days(Almanac().Rules());
    due = DueOccurrences(store, kToday, days).size();
    benchmark::DoNotOptimize(due);
  }
  state.counters["due"] = static_cast<double>(due);
}
BENCHMARK(BM_DueWithFreshHolidays)->Unit(benchmark::kMillisecond);

}  // namespace
