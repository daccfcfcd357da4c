// BuildMonth: the monthly summary that the monthly view, the daily window and the command-line
// companion show.

#include <string>
#include <unordered_map>
#include <vector>

#include "passbook/Categories.h"
#include "passbook/CategoryOrder.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"
#include "settlement/BalanceCarry.h"

namespace kzm {

namespace {

// One entry of the period, copied out of the month data: selecting the next day may load
// another calendar month and free the entries of this one.
struct TBooked {
  int dayIndex = 0;
  int32_t amount = 0;
  std::string categoryKey;
  std::string accountKey;
  std::string itemText;
};

// Reads the entries of the period, adding the categories they use to the summary. complete
// is cleared when a month of the period could not be read.
bool CollectEntries(THeadList& summary, std::vector<TBooked>& booked, bool& complete) {
  TkzmDataUnit& data = CurrentMonthData();
  bool saved = true;
  for (int d = 0; d < summary.DayCount(); ++d) {
    if (!data.SelectDay(summary.First() + d)) saved = false;
    if (data.MonthUnreadable()) complete = false;
    for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
      const TkzmEntry& entry = data.Entry(i);
      AddKeyAfterKind(summary, entry.categoryKey);
      AddKeyAfterKind(summary, entry.accountKey);
      booked.push_back({d, entry.amount, entry.categoryKey, entry.accountKey, entry.itemText});
    }
  }
  return saved;
}

// Fills the day tables and the totals from the entries.
void FillDays(THeadList& summary, const std::vector<TBooked>& booked) {
  const int days = summary.DayCount();
  const int count = summary.Count();
  std::unordered_map<std::string, int> indexOf;
  for (int c = count - 1; c >= 0; --c) indexOf[summary.Items(c).key] = c;
  auto& amounts = summary.DayAmounts();
  amounts.assign(static_cast<size_t>(days), std::vector<int64_t>(static_cast<size_t>(count), 0));
  summary.DayMemos().assign(static_cast<size_t>(days), std::string());
  std::vector<int64_t> receipts(static_cast<size_t>(days), 0);
  std::vector<int64_t> payments(static_cast<size_t>(days), 0);
  for (const TBooked& entry : booked) {
    const int kind = KeyKind(entry.categoryKey);
    std::vector<int64_t>& day = amounts[static_cast<size_t>(entry.dayIndex)];
    if (kind == kKindMemo) {
      summary.DayMemos()[static_cast<size_t>(entry.dayIndex)] = entry.itemText;
      continue;
    }
    day[static_cast<size_t>(indexOf.at(entry.categoryKey))] += entry.amount;
    int64_t& account = day[static_cast<size_t>(indexOf.at(entry.accountKey))];
    if (kind == kKindReceipt) account += entry.amount;
    else account -= entry.amount;
    if (kind == kKindReceipt) receipts[static_cast<size_t>(entry.dayIndex)] += entry.amount;
    if (kind == kKindPayment) payments[static_cast<size_t>(entry.dayIndex)] += entry.amount;
  }
  for (int d = 0; d < days; ++d) {
    std::vector<int64_t>& day = amounts[static_cast<size_t>(d)];
    for (int c = 0; c < count; ++c) {
      if (summary.KindOf(c) == kKindReceiptTotal) day[static_cast<size_t>(c)] = receipts[static_cast<size_t>(d)];
      if (summary.KindOf(c) == kKindPaymentTotal) day[static_cast<size_t>(c)] = payments[static_cast<size_t>(d)];
      summary.Items(c).total += day[static_cast<size_t>(c)];
    }
  }
}

// Asset columns become the balance at the end of each day, starting from the opening balance.
void RunBalances(THeadList& summary) {
  auto& amounts = summary.DayAmounts();
  for (int c = 0; c < summary.Count(); ++c) {
    if (summary.KindOf(c) != kKindAsset) continue;
    const auto column = static_cast<size_t>(c);
    int64_t running = summary.Items(c).balance;
    for (std::vector<int64_t>& day : amounts) {
      running += day[column];
      day[column] = running;
    }
    summary.Items(c).total = running;
  }
}

}  // namespace

bool BuildMonth(TMonthKey key, THeadList& summary) {
  summary.Clear();
  summary.Merge(CurrentProfile().Categories());
  // The totals are sums over this period, whatever the passbook's list happens to hold.
  for (int c = 0; c < summary.Count(); ++c) summary.Items(c).total = 0;
  THeadList period;
  const bool settled = LoadMonthPeriod(key, period);
  summary.SetFirst(period.First());
  summary.SetLast(period.Last());

  std::vector<TBooked> booked;
  bool complete = true;
  bool saved = CollectEntries(summary, booked, complete);
  for (int i = 0; i < period.Count(); ++i) {
    if (period.KindOf(i) != kKindAsset) continue;
    const int c = summary.IndexOfKey(period.Items(i).key);
    if (c >= 0) summary.Items(c).balance = period.Items(i).balance;
  }
  FillDays(summary, booked);
  RunBalances(summary);
  // Balances worked out without a month that could not be read would carry on wrong. A month
  // whose last entry was removed is settled again too, or it would keep closing with it.
  if (complete && (!booked.empty() || settled) && !StoreSummarySettlement(key, period, settled, summary)) saved = false;
  return saved;
}

}  // namespace kzm
