#pragma once

// The date texts the windows show, with Japanese weekday names. One place for all of them so
// that every window writes a day the same way.

#include <string>

#include "foundation/Dates.h"

namespace kzm {

// "日", "月" … "土": the short Japanese weekday name of day.
[[nodiscard]] std::string JapaneseWeekdayName(TDayNumber day);
// "2024/3/5(火)": the daily window's title.
[[nodiscard]] std::string FormatDateWithWeekday(TDayNumber day);
// "5(火)": a day heading of the month table.
[[nodiscard]] std::string FormatDayWithWeekday(TDayNumber day);
// "3/5".
[[nodiscard]] std::string FormatMonthDay(TDayNumber day);
// "24/03/05": two-digit year, month and day.
[[nodiscard]] std::string FormatDateShort(TDayNumber day);
// "2024/03/05 09:07:02"; secondsOfDay from 0 to 86399.
[[nodiscard]] std::string FormatDateTime(TDayNumber day, int secondsOfDay);

}  // namespace kzm
