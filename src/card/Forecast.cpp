#include "card/Forecast.h"

#include <algorithm>
#include <cmath>

#include "card/CardCycles.h"
#include "card/CardSettings.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"
#include "settlement/AccountingMonth.h"
#include "settlement/MonthSetup.h"

namespace kzm {

namespace {

// Cycles closed this long before today may still be unpaid (翌々月 payment, a late bill).
constexpr int kCycleMonthsBack = 3;
// An unpaid bill due this many days before today is named; older ones are history.
constexpr int kOverdueReach = 31;

// What an entry does to the balances of its accounts.
void AddEntryChanges(const TkzmEntry& entry, std::vector<TForecastChange>& changes) {
  const int kind = KeyKind(entry.categoryKey);
  if (kind == kKindMemo || kind == kKindNone) return;
  if (kind == kKindAsset) changes.push_back({entry.date, entry.categoryKey, entry.amount});
  changes.push_back(
      {entry.date, entry.accountKey, kind == kKindReceipt ? int64_t{entry.amount} : -int64_t{entry.amount}});
}

std::vector<std::string> AssetKeys(const THeadList& categories) {
  std::vector<std::string> keys;
  for (int i = 0; i < categories.Count(); ++i) {
    if (categories.KindOf(i) == kKindAsset) keys.push_back(categories.Items(i).key);
  }
  return keys;
}

// The balances at the end of today, as the statement check counts them. Before the first
// accounting month nothing has carried the opening balances yet: they are the first month's,
// less what the days between today and its start move.
std::map<std::string, int64_t> StartBalances(TkzmDataUnit& data, const std::vector<std::string>& keys,
                                             TDayNumber today) {
  std::map<std::string, int64_t> start;
  const std::vector<TMonthKey> settled = SettledMonthKeys();
  const TMonthKey month = MonthOfDay(today);
  if (settled.empty() || month >= settled.front()) {
    for (const std::string& key : keys) start[key] = PreviousMonthBalance(NextMonthKey(month), today + 1, key);
    return start;
  }
  THeadList first;
  (void)LoadMonthPeriod(settled.front(), first);
  for (const std::string& key : keys) {
    const int index = first.IndexOfKey(key);
    start[key] = index >= 0 ? first.Items(index).balance : 0;
  }
  std::vector<TForecastChange> between;
  for (TDayNumber day = today + 1; day < first.First(); ++day) {
    (void)data.SelectDay(day);
    for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) AddEntryChanges(data.Entry(i), between);
  }
  for (const TForecastChange& change : between) {
    if (const auto found = start.find(change.accountKey); found != start.end()) found->second -= change.amount;
  }
  return start;
}

// Entries already typed in for the days after today.
bool LaterEntries(TkzmDataUnit& data, TDayNumber today, TDayNumber last, std::vector<TForecastChange>& changes) {
  bool complete = true;
  for (TDayNumber day = today + 1; day <= last; ++day) {
    (void)data.SelectDay(day);
    if (data.MonthUnreadable()) complete = false;
    for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) AddEntryChanges(data.Entry(i), changes);
  }
  return complete;
}

// The recurring entries still to come, and their share of each card's bills.
void RecurringChanges(const TRecurringStore& store, TDayNumber today, TDayNumber last, TBusinessDays& businessDays,
                      const std::vector<const TCardSettings*>& cards, std::map<std::string, TCardMovements>& movements,
                      std::vector<TForecastChange>& changes, std::vector<std::string>& problems) {
  const THeadList& categories = CurrentProfile().Categories();
  for (const TDueOccurrence& due : OpenOccurrences(store, today, last, businessDays)) {
    const std::string problem = TemplateProblem(due.source, categories);
    if (!problem.empty()) {
      problems.push_back("定期的な記入「" + due.source.item + "」(" + FormatDateSlashed(due.occurrence.date) +
                         "): " + problem + "見込みに入れていません。");
      continue;
    }
    const TkzmEntry entry = EntryOfOccurrence(due, due.source.amount);
    AddEntryChanges(entry, changes);
    for (const TCardSettings* card : cards) AddCardEntry(*card, entry, movements[card->card]);
  }
}

// What a template left overdue: its oldest and latest open dates within reach, how many.
struct TOverdue {
  int id = 0;
  std::string item;
  int64_t amount = 0;
  TDayNumber first = 0, last = 0;
  int count = 0;
};

// Occurrences due in the weeks before today and not entered are named, as unpaid card bills
// are, and left out: they may have been paid without being entered.
void OverdueRecurring(const TRecurringStore& store, TDayNumber today, TBusinessDays& businessDays,
                      std::vector<std::string>& problems) {
  std::vector<TOverdue> overdue;  // in the order their first occurrence comes
  for (const TDueOccurrence& due : OpenOccurrences(store, today - kOverdueReach, today - 1, businessDays)) {
    auto found = std::find_if(overdue.begin(), overdue.end(), [&](const TOverdue& o) { return o.id == due.source.id; });
    if (found == overdue.end()) {
      overdue.push_back({due.source.id, due.source.item, due.source.amount, due.occurrence.date, 0, 0});
      found = overdue.end() - 1;
    }
    found->last = due.occurrence.date;
    ++found->count;
  }
  for (const TOverdue& o : overdue) {
    const std::string when = o.count == 1 ? FormatDateSlashed(o.first) + "の分 " + FormatThousands(o.amount) + "円"
                                          : FormatDateSlashed(o.first) + "～" + FormatDateSlashed(o.last) + "の" +
                                                std::to_string(o.count) + "回分";
    problems.push_back("定期的な記入「" + o.item + "」の" + when + "が記入されていません。見込みに入れていません。");
  }
}

void CardBills(const TCardSettings& card, const TCardMovements& movements, TDayNumber today, TDayNumber last,
               TBusinessDays& businessDays, std::vector<TForecastChange>& changes, std::vector<std::string>& problems) {
  TMonthKey from = CycleMonthOfDay(card, today);
  for (int i = 0; i < kCycleMonthsBack; ++i) from = PrevMonthKey(from);
  const std::string cardKey = MakeKey(card.card, kKindAsset);
  const std::string bankKey = MakeKey(card.fromAccount, kKindAsset);
  for (const TCardCycle& cycle : CardCycles(card, movements, from, CycleMonthOfDay(card, last), businessDays)) {
    if (cycle.entered || cycle.paymentDate > last) continue;
    if (cycle.paymentDate < today) {
      if (cycle.paymentDate >= today - kOverdueReach) {
        problems.push_back("カード「" + card.card + "」の" + FormatDateSlashed(cycle.paymentDate) + "の支払 " +
                           FormatThousands(cycle.billed) + "円が記入されていません。見込みに入れていません。");
      }
      continue;
    }
    changes.push_back({cycle.paymentDate, bankKey, -cycle.billed});
    changes.push_back({cycle.paymentDate, cardKey, cycle.billed});
  }
}

// The day months months after today (the same day of the month, or that month's last day).
TDayNumber ForecastEnd(TDayNumber today, int months) {
  const TYmd ymd = DecodeDate(today);
  TMonthKey month = ymd.year * 100 + ymd.month;
  for (int i = 0; i < months; ++i) month = NextMonthKey(month);
  return EncodeDate(KeyYear(month), KeyMonth(month), std::min(ymd.day, DaysInMonth(KeyYear(month), KeyMonth(month))));
}

// The balances of accounts from start through the changes dated today..last; changes on
// other days or accounts are ignored.
std::vector<TAccountForecast> RunForecast(const std::vector<std::string>& accountKeys,
                                          const std::map<std::string, int64_t>& start,
                                          const std::vector<TForecastChange>& changes, TDayNumber today,
                                          TDayNumber last) {
  std::vector<TAccountForecast> result;
  for (const std::string& key : accountKeys) {
    TAccountForecast account;
    account.accountKey = key;
    const auto opening = start.find(key);
    account.start = opening == start.end() ? 0 : opening->second;
    std::map<TDayNumber, int64_t> byDay;
    for (const TForecastChange& c : changes) {
      if (c.accountKey == key && c.date >= today && c.date <= last) byDay[c.date] += c.amount;
    }
    int64_t balance = account.start;
    account.lowest = balance;
    account.lowestDate = today;
    if (balance < 0) account.shortDate = today;
    for (const auto& [date, amount] : byDay) {
      if (amount == 0) continue;
      balance += amount;
      account.days.push_back({date, balance});
      if (balance < 0 && account.shortDate == 0) account.shortDate = date;
      if (balance < account.lowest) {
        account.lowest = balance;
        account.lowestDate = date;
      }
    }
    result.push_back(std::move(account));
  }
  return result;
}

}  // namespace

TForecast PassbookForecast(const TRecurringStore& recurring, const TCardStore& cardStore, TDayNumber today, int months,
                           TBusinessDays& businessDays) {
  TForecast forecast;
  forecast.today = today;
  forecast.last = ForecastEnd(today, months);
  TkzmDataUnit& data = CurrentMonthData();
  const int32_t kept = data.CurrentDay();
  const THeadList& categories = CurrentProfile().Categories();
  const std::vector<std::string> keys = AssetKeys(categories);

  std::vector<const TCardSettings*> cards;
  std::map<std::string, TCardMovements> movements;
  for (const TCardSettings& card : cardStore.Cards()) {
    const std::string problem = CardProblem(card, categories);
    if (!problem.empty()) {
      forecast.problems.push_back(problem + "このカードの支払は見込みに入れていません。");
      continue;
    }
    TMonthKey from = CycleMonthOfDay(card, today);
    for (int i = 0; i <= kCycleMonthsBack; ++i) from = PrevMonthKey(from);
    TCardMovements& own = movements[card.card];
    if (!CollectCardMovements(data, card, ClosingDate(card, from) + 1, forecast.last, own)) forecast.complete = false;
    cards.push_back(&card);
  }

  std::vector<TForecastChange> changes;
  if (!LaterEntries(data, today, forecast.last, changes)) forecast.complete = false;
  OverdueRecurring(recurring, today, businessDays, forecast.problems);
  RecurringChanges(recurring, today, forecast.last, businessDays, cards, movements, changes, forecast.problems);
  for (const TCardSettings* card : cards) {
    CardBills(*card, movements[card->card], today, forecast.last, businessDays, changes, forecast.problems);
  }
  const std::map<std::string, int64_t> start = StartBalances(data, keys, today);
  if (kept != 0) (void)data.SelectDay(kept);
  forecast.accounts = RunForecast(keys, start, changes, today, forecast.last);
  for (TAccountForecast& account : forecast.accounts) {
    if (KeyKind(account.accountKey) != kKindAsset || !cardStore.Find(KeyName(account.accountKey))) continue;
    account.card = true;
    account.shortDate = 0;
  }
  return forecast;
}

TBalanceAxis BalanceAxis(int64_t low, int64_t high) {
  if (high <= low) high = low + 1000;
  const double raw = std::max(static_cast<double>(high - low) / 5.0, 1.0);
  const double power = std::pow(10.0, std::floor(std::log10(raw)));
  TBalanceAxis axis;
  axis.step = 10.0 * power;
  for (const double f : {1.0, 2.0, 5.0}) {
    if (raw <= f * power) {
      axis.step = f * power;
      break;
    }
  }
  axis.bottom = std::floor(static_cast<double>(low) / axis.step) * axis.step;
  if (low < 0 && axis.bottom == static_cast<double>(low)) axis.bottom -= axis.step;
  axis.top = std::ceil(static_cast<double>(high) / axis.step) * axis.step;
  if (axis.top == static_cast<double>(high)) axis.top += axis.step;
  return axis;
}

}  // namespace kzm
