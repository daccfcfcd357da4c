#pragma once

// The calendar months whose entries changed and whose balances have not been carried into
// the later months yet. A month is noted before its month file is written and forgotten only
// once its balances are carried, so a run stopped in between (a kill, a full disk, a crash)
// is carried at the next open instead of leaving every later month wrong.
//
// File: "CarryJournal.pc-<id>.csv" in the passbook folder, under this PC's name (PcOwnPath: one
// an earlier version left as "CarryJournal.csv" is finished first), one month "yyyymm" a line
// (CP932, CR LF).

#include <set>
#include <string>

#include "passbook/MonthKeys.h"

namespace kzm {

inline constexpr const char* kCarryJournalFileName = "CarryJournal.csv";

// Adds months to the journal of the passbook at folder; the file is written only when one of
// them is new to it. False, with error, when it could not be written.
bool NoteMonthsToCarry(const std::string& passbookFolder, const std::set<TMonthKey>& months, std::string& error);
// The months noted. A line that names no month is passed over.
[[nodiscard]] std::set<TMonthKey> MonthsToCarry(const std::string& passbookFolder);
// Takes months out of the journal (the file goes when none is left). False when it could not
// be written; the months are then carried again next time, which changes nothing.
bool ForgetCarriedMonths(const std::string& passbookFolder, const std::set<TMonthKey>& months);

}  // namespace kzm
