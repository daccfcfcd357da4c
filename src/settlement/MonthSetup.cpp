#include "settlement/MonthSetup.h"


#include "foundation/Errors.h"
#include "foundation/Files.h"
#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "passbook/SettlementBatch.h"
#include "settlement/BalanceCarry.h"

namespace kzm {

namespace {

TDayNumber FirstOfMonth(TMonthKey key) {
  const TMonthKey normal = NormaliseMonthKey(key);
  return EncodeDate(KeyYear(normal), KeyMonth(normal), 1);
}

}  // namespace

TSetupLimits MonthSetupLimits(TMonthKey key) {
  return {FirstOfMonth(key - 1), FirstOfMonth(key + 2) - 1};
}

std::string CheckMonthPeriod(TMonthKey key, TDayNumber first, TDayNumber last) {
  const TSetupLimits limits = MonthSetupLimits(key);
  if (first < limits.earliestFirst) return kPeriodBeyondLimits;
  if (last < first) return kPeriodInvalid;
  if (last > limits.latestLast) return kPeriodBeyondLimits;
  // The neighbours keep at least their first (last) day, or a day would count in two months.
  THeadList neighbour;
  LoadMonthPeriod(PrevMonthKey(key), neighbour);
  if (first <= neighbour.First()) return kPeriodSwallowsPrevious;
  LoadMonthPeriod(NextMonthKey(key), neighbour);
  if (last >= neighbour.Last()) return kPeriodSwallowsNext;
  return {};
}

int64_t PreviousMonthBalance(TMonthKey key, TDayNumber first, const std::string& account) {
  THeadList previous;
  LoadMonthPeriod(PrevMonthKey(key), previous);
  const int index = previous.IndexOfKey(account);
  int64_t balance = index >= 0 ? previous.Items(index).balance : 0;
  TkzmDataUnit& data = CurrentMonthData();
  for (TDayNumber day = previous.First(); day < first; ++day) {
    data.SelectDay(day);
    for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
      const TkzmEntry& entry = data.Entry(i);
      if (KeyKind(entry.categoryKey) == kKindMemo) continue;
      if (entry.categoryKey == account) balance += entry.amount;
      if (entry.accountKey != account) continue;
      const bool received = KeyKind(entry.categoryKey) == kKindReceipt;
      balance += received ? entry.amount : -static_cast<int64_t>(entry.amount);
    }
  }
  return balance;
}

TSettlementChanges::TPending& TSettlementChanges::Pending(TMonthKey key) {
  auto found = m_months.find(key);
  if (found != m_months.end()) return found->second;
  TPending pending;
  pending.existed = ReadSettlement(key, pending.list);
  return m_months.emplace(key, std::move(pending)).first->second;
}

THeadList* TSettlementChanges::Settled(TMonthKey key) {
  TPending& pending = Pending(key);
  return pending.existed || pending.changed ? &pending.list : nullptr;
}

void TSettlementChanges::Put(TMonthKey key, const THeadList& list) {
  TPending& pending = Pending(key);
  pending.list.Assign(list);
  pending.changed = true;
}

void TSettlementChanges::Touch(TMonthKey key) { Pending(key).changed = true; }

bool TSettlementChanges::Commit() {
  std::vector<std::pair<TMonthKey, const THeadList*>> lists;
  for (const auto& [key, pending] : m_months) {
    if (pending.changed) lists.emplace_back(key, &pending.list);
  }
  if (!StoreSettlements(lists)) return false;
  for (auto& [key, pending] : m_months) pending.changed = false;
  return true;
}

void MoveMonthStart(TSettlementChanges& changes, TMonthKey key, TDayNumber day) {
  const TMonthKey previousKey = PrevMonthKey(key);
  if (THeadList* previous = changes.Settled(previousKey); previous && previous->Last() != day - 1) {
    previous->SetLast(day - 1);
    changes.Touch(previousKey);
  }
  if (THeadList* own = changes.Settled(key); own && own->First() != day) {
    own->SetFirst(day);
    changes.Touch(key);
  }
}

bool MoveMonthStart(TMonthKey key, TDayNumber day) {
  TSettlementChanges changes;
  try {
    MoveMonthStart(changes, key, day);
  } catch (const EkzmError& error) {
    WindowSystem().Notify(error.what());
    return false;
  }
  return changes.Commit();
}

bool StoreMonthSetup(TMonthKey key, const THeadList& monthList, const std::vector<int64_t>& balances,
                     TDayNumber first, TDayNumber last) {
  THeadList month;
  month.Assign(monthList);
  size_t n = 0;
  for (int c = 0; c < month.Count() && n < balances.size(); ++c) {
    if (month.KindOf(c) != kKindAsset) continue;
    THeadData& asset = month.Items(c);
    // The closing balance moves with the opening one, so a month without entries still
    // carries the new balance into the next.
    asset.total += balances[n] - asset.balance;
    asset.balance = balances[n++];
  }
  TSettlementChanges changes;
  try {
    // The later months carry the new closing balances on, as they carry a new entry's.
    THeadList stored;
    if (!ReadSettlement(key, stored)) stored.Assign(monthList);
    CarryForward(changes, key, ClosingChanges(stored, month));
    changes.Put(key, month);
    MoveMonthStart(changes, key, first);
    MoveMonthStart(changes, NextMonthKey(key), last + 1);
  } catch (const EkzmError& error) {
    WindowSystem().Notify(error.what());
    return false;
  }
  return changes.Commit();
}

}  // namespace kzm
