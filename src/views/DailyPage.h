#pragma once

// What the daily window does with the month data around its grids: the categories it shows
// for a day, and the work after the grids have stored a day.

#include <string>
#include <vector>

#include "foundation/Dates.h"
#include "passbook/MonthEntry.h"
#include "views/DailyRows.h"

namespace kzm {

class THeadList;

// Makes list the categories a daily window shows for day: the payment, asset and receipt
// categories of passbook in passbook order, the single day as the period, then every category
// that an entry of that day names (as category or account) and the list lacks, placed after
// the categories of its kind. So an entry whose category was deleted from the passbook still
// shows under a band of its own. Selects day in the month data.
void BuildDayCategories(THeadList& list, const THeadList& passbook, TDayNumber day);

// After the day's entries have been stored: writes the month data through to its file,
// rebuilds the summary of the accounting month holding day (which rewrites its settlement
// file) and sends every window the data-changed notice for day. False when the month file or
// the settlement could not be written; the user has been told and the entries stay in memory,
// marked modified, for a later save.
bool FinishDaySave(TDayNumber day);

// Saves a day as the daily window holds it: the day's entries are replaced by the entry rows
// of each grid in turn (the day sorted after each), then the memo is added (text with CR LF
// line ends; keptNote, the memo entry's note the window does not show), then FinishDaySave.
// False as FinishDaySave.
bool SaveDailyPage(TDayNumber day, const std::vector<TDailyRows>& grids, const std::string& memo,
                   const std::string& keptNote);

// The entries of day as the month data holds them, its memo included, in order.
[[nodiscard]] std::vector<TkzmEntry> DayEntriesOf(TDayNumber day);
// Whether two lists hold the same entries (every field but the sequence), in the same order.
[[nodiscard]] bool SameDayEntries(const std::vector<TkzmEntry>& a, const std::vector<TkzmEntry>& b);
// The entries of theirs that base lacks, counted: an entry twice in theirs and once in base
// is given once. What another PC added to a day while a window held it.
[[nodiscard]] std::vector<TkzmEntry> EntriesAddedTo(const std::vector<TkzmEntry>& base,
                                                    const std::vector<TkzmEntry>& theirs);
// Adds entries to day, after its others, then saves as FinishDaySave does. Nothing (true)
// without entries.
bool AddToDay(TDayNumber day, const std::vector<TkzmEntry>& entries);

}  // namespace kzm
