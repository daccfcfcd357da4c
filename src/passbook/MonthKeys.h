#pragma once

// Month keys and the periods of accounting months. A month is named by a key, year * 100 +
// month; with a closing day of 25 the month 3 runs from 26 February to 25 March.

#include <cstdint>

#include "foundation/Dates.h"

namespace kzm {

using TMonthKey = int32_t;

// The canonical key: month 1 to 12. A key whose last two digits are above 50 was shifted
// below month 1 of its year (202401 - 2 = 202399 is November 2023).
[[nodiscard]] TMonthKey NormaliseMonthKey(TMonthKey key);
[[nodiscard]] TMonthKey NextMonthKey(TMonthKey key);
[[nodiscard]] TMonthKey PrevMonthKey(TMonthKey key);
[[nodiscard]] inline int KeyYear(TMonthKey key) { return key / 100; }
[[nodiscard]] inline int KeyMonth(TMonthKey key) { return key % 100; }

// The day number of a date, moving an impossible day to a possible one: a day past the end
// of the month steps back to the month's last day (31 gives the last day of every month),
// a day of 0 or less goes to the previous month, 32 or more to the 1st of the next. -1 when
// no date is found (a year outside 1 to 9999).
[[nodiscard]] TDayNumber DayOfMonth(int year, int month, int day);

// A period of days, first to last.
struct TPeriod {
  TDayNumber first = 0;
  TDayNumber last = 0;
};

// The period a closing day gives the month key: from the day after the closing day of the
// month before to the closing day (both a month later when the period ends next month).
[[nodiscard]] TPeriod PeriodFromClosingDay(TMonthKey key, int closingDay, bool endsNextMonth);

}  // namespace kzm
