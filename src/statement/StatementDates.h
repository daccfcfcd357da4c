#pragma once

// The dates of statement files, in the forms banks and card companies write them:
// "2018/1/9", "2019/01/20", "2018-01-20", "2026.07.28", "20180720", "2026年7月3日", the
// Japanese eras ("H30.01.15", "R6/1/5", "令和6年1月5日", "令和元年5月1日"), two-digit years
// ("18/01/09") and dates without a year ("4月30日", "04/30"). Full-width digits are read as
// digits; a time after the date ("2018/01/09 12:34") is ignored.

#include <string_view>

#include "foundation/Dates.h"

namespace kzm {

struct TStatementDate {
  TDayNumber day = 0;  // 0 when the text is no date (or one outside 1900 to 2199), or has no year
  bool yearMissing = false;  // month and day only; the year is to be inferred
  int month = 0;
  int dayOfMonth = 0;
};

[[nodiscard]] TStatementDate ReadStatementDate(std::string_view text);

// The date month/day nearest to reference, in reference's year or the one before or after,
// so that December rows of a January statement fall in the year before. 0 when month/day is
// no date in any of those years (29 February in none of them).
[[nodiscard]] TDayNumber NearestDate(int month, int dayOfMonth, TDayNumber reference);

// The latest date month/day not after notAfter (this year's or last year's), so that a
// statement never holds a day still to come; 0 when it is no date in either year (29
// February) or falls outside the years the program keeps.
[[nodiscard]] TDayNumber LatestDateNotAfter(int month, int dayOfMonth, TDayNumber notAfter);

// A year named in a preamble line ("2026年4月分", "ご請求年月 2026/04", "R8年4月"): the first
// day of the month it names, or of the year when it names no month; 0 when it names none.
[[nodiscard]] TDayNumber DateNamedInText(std::string_view text);

}  // namespace kzm
