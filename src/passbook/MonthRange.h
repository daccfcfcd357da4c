#pragma once

// Walking a passbook month file by month file, as the search and the category replacement
// do: which files are months, and which days of a month a date range covers.

#include <string>
#include <vector>

#include "foundation/Dates.h"

namespace kzm {

struct TMonthOfFile {
  int year = 0;
  int month = 0;
};
// The months of the month files in folder, oldest first; a folder that cannot be listed
// has none.
[[nodiscard]] std::vector<TMonthOfFile> MonthFilesOf(const std::string& folder);

class TkzmDataUnit;
// The months of the data's month folder, oldest first, for a walk over all months (so that
// results come in date order and a stopped run has done every month up to where it
// stopped, none after); a folder that cannot be
// listed is reported through the data (once) and walks as empty.
[[nodiscard]] std::vector<TMonthOfFile> MonthsToWalk(TkzmDataUnit& data);

// Narrows the days of a calendar month to a range whose ends may be open (0). A range start
// after the month's last day, or a range end before its first day (or before the raised
// start), leaves nothing: false, and the month need not be loaded. Otherwise first..last are
// the month's days inside the range.
[[nodiscard]] bool MonthDaysInRange(int year, int month, TDayNumber rangeFirst, TDayNumber rangeLast,
                                    TDayNumber& first, TDayNumber& last);

}  // namespace kzm
