#include "settlement/BalanceCarry.h"

#include <algorithm>
#include <vector>

#include "foundation/Errors.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "settlement/MonthSetup.h"

namespace kzm {

std::map<std::string, int64_t> ClosingChanges(const THeadList& before, const THeadList& after) {
  std::map<std::string, int64_t> shifts;
  for (int c = 0; c < after.Count(); ++c) {
    if (after.KindOf(c) != kKindAsset) continue;
    const THeadData& now = after.Items(c);
    const int old = before.IndexOfKey(now.key);
    // An account the month did not hold yet closed as it opened.
    const int64_t closedAt = old >= 0 ? before.Items(old).total : now.balance;
    if (now.total != closedAt) shifts[now.key] = now.total - closedAt;
  }
  return shifts;
}

void CarryForward(TSettlementChanges& changes, TMonthKey key, const std::map<std::string, int64_t>& shifts) {
  if (shifts.empty()) return;
  const std::vector<TMonthKey> settled = SettledMonthKeys();
  for (auto later = std::upper_bound(settled.begin(), settled.end(), key); later != settled.end(); ++later) {
    THeadList* month = changes.Settled(*later);
    if (!month) continue;  // damaged: left for the user
    bool moved = false;
    for (const auto& [account, shift] : shifts) {
      const int c = month->IndexOfKey(account);
      if (c < 0) continue;
      month->Items(c).balance += shift;
      month->Items(c).total += shift;
      moved = true;
    }
    if (moved) changes.Touch(*later);
  }
}

namespace {

// What the later months took as an unsettled month's closing: the opening balances of the
// next settled month (an empty month passed its opening on; one whose settlement was removed
// had passed on its closing). False when no later month is settled.
bool OpeningOfNextSettled(TMonthKey key, THeadList& opening) {
  const std::vector<TMonthKey> settled = SettledMonthKeys();
  for (auto later = std::upper_bound(settled.begin(), settled.end(), key); later != settled.end(); ++later) {
    if (!ReadSettlement(*later, opening)) continue;
    for (int c = 0; c < opening.Count(); ++c) opening.Items(c).total = opening.Items(c).balance;
    return true;
  }
  return false;
}

// Whether a month before key is settled.
bool SettledBefore(TMonthKey key) {
  const std::vector<TMonthKey> settled = SettledMonthKeys();
  return !settled.empty() && settled.front() < key;
}

}  // namespace

bool StoreSummarySettlement(TMonthKey key, const THeadList& period, bool settled, const THeadList& summary) {
  THeadList nextOpening;
  // A month before the first settled one opens at nothing; the first settled month's opening
  // balances are the person's own, so entries booked further back never move them.
  const bool carried = settled || (SettledBefore(key) && OpeningOfNextSettled(key, nextOpening));
  const std::map<std::string, int64_t> shifts =
      carried ? ClosingChanges(settled ? period : nextOpening, summary) : std::map<std::string, int64_t>{};
  if (shifts.empty() || SettlementDamaged(key)) return UpdateSettlement(key, summary);
  TSettlementChanges changes;
  try {
    changes.Put(key, summary);
    CarryForward(changes, key, shifts);
  } catch (const EkzmError& error) {
    WindowSystem().Notify(error.what());
    return false;
  }
  return changes.Commit();
}

}  // namespace kzm
