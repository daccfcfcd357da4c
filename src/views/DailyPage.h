#pragma once

// What the daily window does with the month data around its grids: the categories it shows
// for a day, and the work after the grids have stored a day.

#include <string>
#include <vector>

#include "foundation/Dates.h"
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

}  // namespace kzm
