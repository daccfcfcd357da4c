#include "calendar/CalendarDate.h"

namespace kzm::calendar_detail {
namespace {

// Days from 0000-03-01 (a year starting in March puts the leap day last) to 1899-12-30.
constexpr int32_t kEpochShift = 693899;

int FloorDiv(int a, int b) { return (a >= 0 ? a : a - b + 1) / b; }

}  // namespace

int32_t DayNumberOf(int year, int month, int day) {
  const int y = month <= 2 ? year - 1 : year;
  const int era = FloorDiv(y, 400);
  const int yearOfEra = y - era * 400;
  const int shiftedMonth = (month + 9) % 12;  // March = 0
  const int dayOfYear = (153 * shiftedMonth + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - kEpochShift;
}

TCivilDate CivilDateOf(int32_t dayNumber) {
  const int z = dayNumber + kEpochShift;
  const int era = FloorDiv(z, 146097);
  const int dayOfEra = z - era * 146097;
  const int yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const int dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const int shiftedMonth = (5 * dayOfYear + 2) / 153;
  const int day = dayOfYear - (153 * shiftedMonth + 2) / 5 + 1;
  const int month = shiftedMonth < 10 ? shiftedMonth + 3 : shiftedMonth - 9;
  const int year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
  return {year, month, day};
}

bool IsValidCivilDate(int year, int month, int day) {
  if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1) return false;
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  const int last = kDays[month - 1] + (month == 2 && leap ? 1 : 0);
  return day <= last;
}

int IsoWeekday(int32_t dayNumber) {
  // Day 0 was a Saturday.
  const int shifted = (dayNumber + 5) % 7;
  return (shifted < 0 ? shifted + 7 : shifted) + 1;
}

}  // namespace kzm::calendar_detail
