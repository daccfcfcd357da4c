#pragma once

// The entries that touch one account over a range of days, read from every month file
// without loading the months, so that a walk over years leaves the day the windows work on
// where it is.

#include <functional>
#include <string>

#include "foundation/Dates.h"
#include "passbook/MonthEntry.h"

namespace kzm {

class TkzmDataUnit;

// Gives take each entry dated first..last (0: open end) whose account is accountKey, or,
// for an asset, whose category is accountKey (money moved into it). Months come in the order
// the folder lists them; within a month in file order. A month held in memory is read from
// memory. False when a month file could not be read (the data has told the user).
bool ForEachAccountEntry(TkzmDataUnit& data, const std::string& accountKey, TDayNumber first, TDayNumber last,
                         const std::function<void(const TkzmEntry&)>& take);

}  // namespace kzm
