// Credit cards on the 30-year sample passbook (about 100,000 entries): the billing cycles of
// its card over the whole history, and a 12-month forecast with 50 recurring entries and
// three cards, as the two windows work them out.

#include <benchmark/benchmark.h>

#include <string>

#include "calendar/Almanac.h"
#include "card/CardCycles.h"
#include "card/CardSettings.h"
#include "card/Forecast.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "recurring/RecurringStore.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

const TDayNumber kToday = EncodeDate(2024, 12, 1);
const char* const kCards[] = {"カード", "カードB", "カードC"};

void BM_CardCyclesOverThirtyYears(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const TCardSettings card{"カード", 15, 10, 1, "銀行"};
  TBusinessDays days(Almanac().Rules());
  size_t cycles = 0;
  for (auto _ : state) {
    TCardMovements movements;
    (void)CollectCardMovements(CurrentMonthData(), card, 0, 0, movements);
    cycles = CardCyclesUpTo(card, movements, kToday, days).size();
    benchmark::DoNotOptimize(cycles);
  }
  state.counters["cycles"] = static_cast<double>(cycles);
}
BENCHMARK(BM_CardCyclesOverThirtyYears)->Unit(benchmark::kMillisecond);

// 30 monthly entries (salary, rent, bills; every third charged to a card), 10 weekly and 10
// every 14 days, from the bank, the cash or a card.
TRecurringStore FiftyTemplates() {
  TRecurringStore store;
  for (int i = 0; i < 50; ++i) {
    TRecurringTemplate t;
    t.kind = i == 0 ? TRecurringKind::rkReceipt : TRecurringKind::rkPayment;
    t.category = i == 0 ? "給与" : "雑費";
    t.account = i % 3 == 0 ? kCards[i / 3 % 3] : (i % 3 == 1 ? "銀行" : "現金");
    if (i == 0) t.account = "銀行";
    t.item = "定期" + std::to_string(i);
    t.amount = i == 0 ? 300000 : 1000 + 37 * i;
    TSchedule& s = t.schedule;
    s.first = EncodeDate(2024, 1, 1);
    s.shift = static_cast<TBusinessShift>(i % 3);
    if (i < 30) {
      s.day = i == 0 ? 25 : (i == 29 ? kMonthEnd : i);
    } else if (i < 40) {
      s.repeat = TRepeat::rpWeekly;
      s.day = i % 7 + 1;
    } else {
      s.repeat = TRepeat::rpDays;
      s.interval = 14;
    }
    store.Add(t);
  }
  return store;
}

void BM_ForecastTwelveMonths(benchmark::State& state) {
  bench::OpenSamplePassbook();
  THeadList& categories = CurrentProfile().Categories();
  for (const char* name : kCards) categories.AddKey(MakeKey(name, kKindAsset));
  const TRecurringStore recurring = FiftyTemplates();
  TCardStore cards;
  cards.Set({"カード", 15, 10, 1, "銀行"});
  cards.Set({"カードB", kCardMonthEnd, 27, 1, "銀行"});
  cards.Set({"カードC", 20, 4, 2, "銀行"});
  TBusinessDays days(Almanac().Rules());
  size_t points = 0;
  for (auto _ : state) {
    const TForecast forecast = PassbookForecast(recurring, cards, kToday, 12, days);
    points = 0;
    for (const TAccountForecast& a : forecast.accounts) points += a.days.size();
    benchmark::DoNotOptimize(points);
  }
  state.counters["days"] = static_cast<double>(points);
}
BENCHMARK(BM_ForecastTwelveMonths)->Unit(benchmark::kMillisecond);

}  // namespace
