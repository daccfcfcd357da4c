#include "card/CardCycles.h"

#include <algorithm>
#include <cstdlib>

#include "passbook/AccountEntries.h"
#include "passbook/Categories.h"
#include "passbook/MonthEntry.h"

namespace kzm {

namespace {

bool ByDate(const TCardMoney& a, const TCardMoney& b) { return a.date < b.date; }

// Marks the cycle paid by the free move nearest its payment date within reach, for its
// amount exactly, made after the cycle closed.
void MatchPayment(TCardCycle& cycle, const std::vector<TCardMoney>& paid, std::vector<bool>& taken) {
  const TDayNumber earliest = std::max(cycle.paymentDate - kPaymentNearDays, cycle.last + 1);
  const auto from = std::lower_bound(paid.begin(), paid.end(), TCardMoney{earliest, 0}, ByDate);
  size_t best = SIZE_MAX;
  for (auto it = from; it != paid.end() && it->date <= cycle.paymentDate + kPaymentNearDays; ++it) {
    const size_t i = static_cast<size_t>(it - paid.begin());
    if (taken[i] || it->amount != cycle.billed) continue;
    if (best == SIZE_MAX || std::abs(it->date - cycle.paymentDate) < std::abs(paid[best].date - cycle.paymentDate)) {
      best = i;
    }
  }
  if (best == SIZE_MAX) return;
  taken[best] = true;
  cycle.entered = true;
  cycle.paidOn = paid[best].date;
}

// The payment date of the cycle closing in that month, on a business day.
TDayNumber PaymentDate(const TCardSettings& card, TMonthKey closingMonth, TBusinessDays& businessDays) {
  TMonthKey month = closingMonth;
  for (int i = 0; i < card.paymentMonths; ++i) month = NextMonthKey(month);
  const int year = KeyYear(month);
  const int m = KeyMonth(month);
  const int day = card.paymentDay == kCardMonthEnd ? DaysInMonth(year, m) : card.paymentDay;
  return businessDays.Shift(EncodeDate(year, m, day), TBusinessShift::bsAfter);
}

}  // namespace

void AddCardEntry(const TCardSettings& card, const TkzmEntry& entry, TCardMovements& movements) {
  const std::string cardKey = MakeKey(card.card, kKindAsset);
  const bool into = entry.categoryKey == cardKey;
  const bool from = entry.accountKey == cardKey;
  if (into == from) return;
  if (into) {
    // Only the 引落口座's moves pay a bill; money put on the card from elsewhere lowers what
    // it owes, as a refund does.
    if (entry.accountKey == MakeKey(card.fromAccount, kKindAsset)) movements.paid.push_back({entry.date, entry.amount});
    else movements.uses.push_back({entry.date, -int64_t{entry.amount}});
    return;
  }
  switch (KeyKind(entry.categoryKey)) {
    case kKindPayment:
    case kKindAsset: movements.uses.push_back({entry.date, entry.amount}); break;
    case kKindReceipt: movements.uses.push_back({entry.date, -int64_t{entry.amount}}); break;
    default: break;
  }
}

bool CollectCardMovements(TkzmDataUnit& data, const TCardSettings& card, TDayNumber first, TDayNumber last,
                          TCardMovements& movements) {
  movements.since = first;
  return ForEachAccountEntry(data, MakeKey(card.card, kKindAsset), first, last,
                             [&](const TkzmEntry& entry) { AddCardEntry(card, entry, movements); });
}

TDayNumber ClosingDate(const TCardSettings& card, TMonthKey month) {
  const int year = KeyYear(month);
  const int m = KeyMonth(month);
  return EncodeDate(year, m, card.closingDay == kCardMonthEnd ? DaysInMonth(year, m) : card.closingDay);
}

TMonthKey CycleMonthOfDay(const TCardSettings& card, TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  const TMonthKey month = ymd.year * 100 + ymd.month;
  return day <= ClosingDate(card, month) ? month : NextMonthKey(month);
}

std::vector<TCardCycle> CardCycles(const TCardSettings& card, const TCardMovements& movements, TMonthKey from,
                                   TMonthKey to, TBusinessDays& businessDays) {
  std::vector<TCardMoney> uses = movements.uses;
  std::vector<TCardMoney> paid = movements.paid;
  std::stable_sort(uses.begin(), uses.end(), ByDate);
  std::stable_sort(paid.begin(), paid.end(), ByDate);
  // Start where the card was first used, so credit and payments fall where they belong.
  TMonthKey month = from;
  if (!uses.empty()) month = std::min(month, CycleMonthOfDay(card, uses.front().date));
  std::vector<TCardCycle> cycles;
  std::vector<bool> taken(paid.size(), false);
  // Moves up to this day may pay bills of days not gathered: they lower no bill.
  const TDayNumber unsure =
      movements.since == 0 ? 0
                           : PaymentDate(card, CycleMonthOfDay(card, movements.since - 1), businessDays) +
                                 kPaymentNearDays;
  auto use = uses.begin();
  size_t pay = 0;
  int64_t credit = 0;  // refunds not yet set against a bill, as a positive amount
  for (; month <= to; month = NextMonthKey(month)) {
    TCardCycle cycle;
    cycle.closingMonth = month;
    cycle.first = ClosingDate(card, PrevMonthKey(month)) + 1;
    cycle.last = ClosingDate(card, month);
    while (use != uses.end() && use->date < cycle.first) ++use;  // before the first cycle asked
    for (; use != uses.end() && use->date <= cycle.last; ++use) cycle.spent += use->amount;
    // A move of the period that no earlier bill took is money put on the card: the earlier
    // bills are all matched by now, and a later one takes only moves after it closes.
    while (pay < paid.size() && paid[pay].date < cycle.first) ++pay;
    for (; pay < paid.size() && paid[pay].date <= cycle.last; ++pay) {
      if (!taken[pay] && paid[pay].date > unsure) cycle.spent -= paid[pay].amount;
    }
    const int64_t owed = cycle.spent - credit;
    cycle.billed = std::max<int64_t>(owed, 0);
    credit = std::max<int64_t>(-owed, 0);
    cycle.paymentDate = PaymentDate(card, month, businessDays);
    if (cycle.billed == 0) cycle.entered = true;
    else MatchPayment(cycle, paid, taken);
    if (month >= from) cycles.push_back(cycle);
  }
  return cycles;
}

std::vector<TCardCycle> CardCyclesUpTo(const TCardSettings& card, const TCardMovements& movements, TDayNumber today,
                                       TBusinessDays& businessDays) {
  TMonthKey last = CycleMonthOfDay(card, today);
  TMonthKey first = last;
  for (const TCardMoney& use : movements.uses) {
    const TMonthKey month = CycleMonthOfDay(card, use.date);
    first = std::min(first, month);
    last = std::max(last, month);
  }
  return CardCycles(card, movements, first, last, businessDays);
}

std::string CycleStateText(const TCardCycle& cycle, TDayNumber today) {
  if (CycleOpen(cycle, today)) return "締め前";
  if (cycle.billed == 0) return "支払なし";
  if (!cycle.entered) return "未";
  return cycle.paidOn == 0 ? "済" : "済 (" + FormatDateSlashed(cycle.paidOn) + ")";
}

}  // namespace kzm
