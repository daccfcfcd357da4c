#pragma once

// Dates as day numbers: whole days since 1899-12-30 (day 0), the way every file of the
// program stores them. Valid dates run from 0001-01-01 to 9999-12-31.

#include <cstdint>
#include <string>
#include <string_view>

namespace kzm {

using TDayNumber = int32_t;

struct TYmd {
  int year = 0;
  int month = 0;
  int day = 0;
  friend bool operator==(const TYmd&, const TYmd&) = default;
};

// Days of the month (28 to 31); 0 for a month outside 1 to 12.
[[nodiscard]] int DaysInMonth(int year, int month);
[[nodiscard]] bool IsValidDate(int year, int month, int day);
// Day number of a valid date. The date must be valid (check with IsValidDate or use
// TryEncodeDate).
[[nodiscard]] TDayNumber EncodeDate(int year, int month, int day);
// False (and day untouched) when the date is not valid.
[[nodiscard]] bool TryEncodeDate(int year, int month, int day, TDayNumber& result);
[[nodiscard]] TYmd DecodeDate(TDayNumber day);
// 0 = Sunday … 6 = Saturday.
[[nodiscard]] int DayOfWeek(TDayNumber day);
// 1 = Monday … 7 = Sunday.
[[nodiscard]] int IsoDayOfWeek(TDayNumber day);

// "yy" or "yyyy" as a year: a two-digit year up to 70 is 20xx, from 71 to 99 19xx; other
// years are as they are.
[[nodiscard]] int WindowYear(int year);

// Day number of a date text, 0 when it is no valid date. Accepted, after trimming:
// "2024年3月5日", "2024/3/5", "24/3/5", "240305", "20240305". A two-digit year up to 70 is
// 20xx, from 71 to 99 19xx.
[[nodiscard]] TDayNumber ParseDate(std::string_view text);
// "yyyymmdd".
[[nodiscard]] std::string FormatDate8(TDayNumber day);
// Reads FormatDate8's form back: exactly eight ASCII digits making a valid date, nothing
// around them. False (and day untouched) for anything else.
[[nodiscard]] bool TryParseDate8(std::string_view text, TDayNumber& day);
// "yyyy/mm/dd", as lists and exports show a day.
[[nodiscard]] std::string FormatDateSlashed(TDayNumber day);

// Today in local time. Tests may fix it with SetTodayForTest (0 restores the clock).
[[nodiscard]] TDayNumber Today();
void SetTodayForTest(TDayNumber day);

}  // namespace kzm
