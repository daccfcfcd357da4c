#pragma once

// Setting an accounting month's period and the balances its accounts open with by hand.
// Months never overlap their settled neighbours, so moving a boundary changes the settlement
// files on both sides of it. The files a change touches are written together: when one of
// them cannot be written the others are put back, and the user is told.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "settlement/AccountingMonth.h"

namespace kzm {

// The outermost days a month's period may take: from the 1st of the calendar month before
// the key's month to the last day of the calendar month after it (202401: 2023/12/01 to
// 2024/02/29).
struct TSetupLimits {
  TDayNumber earliestFirst = 0;
  TDayNumber latestLast = 0;
};
[[nodiscard]] TSetupLimits MonthSetupLimits(TMonthKey key);

inline constexpr const char* kPeriodBeyondLimits = "設定できる期間を超えています";
inline constexpr const char* kPeriodInvalid = "月の設定期間が無効です";
inline constexpr const char* kPeriodSwallowsPrevious = "開始の日は前の月の開始の日より後にしてください";
inline constexpr const char* kPeriodSwallowsNext = "終了の日は次の月の終了の日より前にしてください";

// Why the period first..last cannot be set for the month: the message, or empty when it can.
// Beyond the limits, the period may not reach the first day of the month before nor the
// last day of the month after (as their periods stand now).
[[nodiscard]] std::string CheckMonthPeriod(TMonthKey key, TDayNumber first, TDayNumber last);

// The balance account held at the end of the day before first, as the previous month counts
// it: its opening balance there plus the money that came in minus the money that left, from
// that month's first day on. 0 when the previous month neither opens nor moves the account.
[[nodiscard]] int64_t PreviousMonthBalance(TMonthKey key, TDayNumber first, const std::string& account);

// Settlement files read once, changed in memory and written together.
class TSettlementChanges {
 public:
  // The month's settlement as it will be written; nullptr when it has none. Throws as
  // ReadSettlement for a file that cannot be read.
  THeadList* Settled(TMonthKey key);
  // Replaces (or creates) the month's settlement.
  void Put(TMonthKey key, const THeadList& list);
  // Marks a list returned by Settled as changed.
  void Touch(TMonthKey key);
  // Writes every changed settlement, all or none (see WriteSettlementsTogether). False when
  // they could not be written; the user has been told.
  bool Commit();

 private:
  struct TPending {
    bool existed = false;
    bool changed = false;
    THeadList list;
  };
  TPending& Pending(TMonthKey key);

  std::map<TMonthKey, TPending> m_months;
};

// The month starts on day: a settled previous month ends the day before, a settled month
// itself starts on day. Balances stay. Throws as Settled.
void MoveMonthStart(TSettlementChanges& changes, TMonthKey key, TDayNumber day);
// The same, written at once. False when a file could not be read or written (told; nothing
// changed).
bool MoveMonthStart(TMonthKey key, TDayNumber day);

// Stores what the period setup confirmed: the month's asset categories (in list order) open
// with balances, and the month runs from first to last, its settled neighbours moved to meet
// it. monthList is the month as summarised; its closing balances move with the opening
// ones. False when nothing was stored (the user has been told).
bool StoreMonthSetup(TMonthKey key, const THeadList& monthList, const std::vector<int64_t>& balances,
                     TDayNumber first, TDayNumber last);

}  // namespace kzm
