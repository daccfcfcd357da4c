#pragma once

#include <cstdint>

namespace kzm::calendar_detail {

// Day numbers count whole days since 1899-12-30 on the proleptic Gregorian calendar.
// FIXME: replace with the shared date functions once they exist.

struct TCivilDate {
  int year;
  int month;
  int day;
};

[[nodiscard]] int32_t DayNumberOf(int year, int month, int day);
[[nodiscard]] TCivilDate CivilDateOf(int32_t dayNumber);
[[nodiscard]] bool IsValidCivilDate(int year, int month, int day);
// 1 = Monday ... 7 = Sunday.
[[nodiscard]] int IsoWeekday(int32_t dayNumber);

}  // namespace kzm::calendar_detail
