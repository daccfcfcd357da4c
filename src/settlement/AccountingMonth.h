#pragma once

// Accounting months of the open passbook. A month is named by a key, year * 100 + month,
// and covers a period of days that need not be the calendar month: with a closing day of 25
// the month 3 runs from 26 February to 25 March. A month's settlement file fixes its period
// and the balances its asset accounts open with; it is written whenever a month with entries
// is summarised, so balances carry from month to month.
//
// Settlement file: Monthly/yyyymm.mif in the passbook folder, a category file (see THeadList)
// with "first" and "last": the period, and per category of the passbook its balance (an
// asset's balance at the start of the period), total (at its end) and visibility.
//
// Every function here works on CurrentProfile() and CurrentMonthData(). A settlement file that
// exists but cannot be read or parsed is reported once and the month counts as unsettled;
// such a file is never written over by a summary.

#include <cstdint>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "foundation/Dates.h"
#include "passbook/MonthKeys.h"
#include "passbook/SettlementBatch.h"

namespace kzm {

class THeadList;

// Fills list with the month's period and opening balances: from its settlement file when it
// has one (the result is then true), else the default period, opened by a settled previous
// month (the day after its last day) and closed by a settled next month (the day before its
// first day), with the categories and closing balances of the last settled month before it
// (months without entries between carry them unchanged). The period is at least one day.
bool LoadMonthPeriod(TMonthKey key, THeadList& list);

// Writes the month's settlement file from list, leaving out categories the passbook no longer
// has. False when it could not be written; the user has been told.
bool SaveSettlement(TMonthKey key, const THeadList& list);
// Writes the months' settlements together (see WriteSettlementsTogether), or holds them in
// memory while a carry run is on or the passbook is only read. False when they could not be
// written (told).
bool StoreSettlements(const std::vector<std::pair<TMonthKey, const THeadList*>>& lists);
// The bytes SaveSettlement writes for list. Throws EkzmError for a name Shift-JIS cannot hold.
[[nodiscard]] std::string SettlementBytes(const THeadList& list);
// The month's settlement file into list; false (list empty) when the month has none or it
// is damaged (the user has been told). A file that names no period, or only one end of it,
// keeps the one its closing day gives.
bool ReadSettlement(TMonthKey key, THeadList& list);
// SaveSettlement, except that a file that already holds exactly those bytes is left alone:
// summaries are rebuilt far more often than their balances change. A damaged file is left
// alone too (true).
bool UpdateSettlement(TMonthKey key, const THeadList& list);
// Whether the month has a settlement file that cannot be read or parsed. Such a month counts
// as unsettled; the user is told once per version of the file, with DamagedSettlementMessage.
[[nodiscard]] bool SettlementDamaged(TMonthKey key);
// The keys of the months that have a settlement file, in order.
[[nodiscard]] std::vector<TMonthKey> SettledMonthKeys();

// The monthly summary: the passbook's categories (and any category the period's entries use
// that the passbook lacks, placed after the others of its kind) with their totals, the day
// amounts (asset columns hold each day's closing balance), the day memos, and the period.
// When the period has an entry the settlement file is rewritten, unless a month file of the
// period could not be read (the user has been told; its balances would be wrong). False when the settlement
// or a month of entries could not be written; the user has been told and the summary is
// complete all the same.
bool BuildMonth(TMonthKey key, THeadList& summary);

// What a run says when its entries are all written but the balances of the later months could
// not be: the journal keeps them for the next open.
inline constexpr const char* kCarryNotWritten =
    "記入した内容はすべて保存しましたが、後の月の残高の繰り越しを書き込めませんでした。次に通帳を開いたときに、もう一度繰り越します。";

// Builds again the summaries (and settlements) of the accounting months holding days, so
// balances follow entries added or removed there, then tells every window the data changed.
// Nothing when days is empty. False when a settlement could not be written.
bool ResummariseDays(const std::set<TDayNumber>& days);

// The accounting month a day belongs to. A day claimed by two periods belongs to the earlier
// month; a day claimed by none to its calendar month.
[[nodiscard]] TMonthKey MonthOfDay(TDayNumber day);

}  // namespace kzm
