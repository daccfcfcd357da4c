#pragma once

// A settled month keeps the opening balances it stored when it was first built. So when a
// month's closing balances change (a forgotten entry typed in, a statement imported into the
// past) every later settled month must open, and close, by the same difference, or the
// balances of all the months after it stay short. A person's own carried-balance adjustment
// (the gap between a month's opening and the previous closing) stays as it was: only the
// difference moves.

#include <map>
#include <string>

#include "settlement/AccountingMonth.h"

namespace kzm {

class THeadList;
class TSettlementChanges;

// Asset key to how far its closing balance moved from before (the month as it was stored, or
// as it opened when it was not) to after (the month as now summarised). Accounts that did not
// move are left out.
[[nodiscard]] std::map<std::string, int64_t> ClosingChanges(const THeadList& before, const THeadList& after);

// Moves the opening and closing balances of every settled month after key by shifts. Throws
// as TSettlementChanges::Settled.
void CarryForward(TSettlementChanges& changes, TMonthKey key, const std::map<std::string, int64_t>& shifts);

// Writes the month's settlement from summary, and carries a change of its closing balances
// into the later settled months, all in one batch. period is the month's period as
// LoadMonthPeriod gave it, settled what it answered. False when it could not be written (told).
bool StoreSummarySettlement(TMonthKey key, const THeadList& period, bool settled, const THeadList& summary);

}  // namespace kzm
