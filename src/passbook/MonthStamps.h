#pragma once

// What this PC last knew of each month file of a passbook, so that a month file another PC
// changed (brought by the sync engine) is noticed: its settlement and the later months are
// derived from it and must be built again. A month file's stamp is its size, modification
// time and inode (a sync engine, like this program, puts a new file in place by renaming, so
// the inode alone tells most changes).
//
// Kept outside the synced folder, in this PC's state folder: "<state>/<passbook id>/
// MonthStamps.csv" (the id from PassbookId.ini; a passbook without one by a hash of its path).
// One line per month file, "yyyymm,size,mtime-ns,inode" (ASCII, CR LF), and first the line of
// the Daily folder itself (month 0), once a full look found nothing changed: while the folder
// keeps that stamp nothing was put in, renamed or taken out, so a look costs one stat (sync
// engines, like this program, put files down by renaming; a file edited in place by hand is
// not seen until the folder changes). The record is a cache: written without syncing the
// disk, and losing it costs one rebuild of what it named.

#include <set>
#include <string>

#include "passbook/MonthKeys.h"

namespace kzm {

[[nodiscard]] std::string MonthStampsPath(const std::string& passbookFolder);

// The calendar months whose files differ from the record: changed, new or gone. When there is
// no record yet (the first open on this PC, or since this version), none: the files are taken
// as they are, and recorded.
[[nodiscard]] std::set<TMonthKey> MonthFilesChangedElsewhere(const std::string& passbookFolder);

// Whether the file of the calendar month key differs from the record (false without a record).
[[nodiscard]] bool MonthFileChangedElsewhere(const std::string& passbookFolder, TMonthKey key);

// Records the month files of months as they are now; with no months, every month file.
void RecordMonthStamps(const std::string& passbookFolder, const std::set<TMonthKey>& months = {});

}  // namespace kzm
