#include "passbook/MonthKeys.h"

namespace kzm {

namespace {

// Year and month shifted by any number of months back to month 1..12.
void NormaliseYearMonth(int64_t& year, int64_t& month) {
  if (month > 50) {
    year += 1;
    month -= 100;
  }
  if (month <= 0) {
    const int64_t back = (-month) / 12 + 1;
    month += 12 * back;
    year -= back;
  }
  if (month > 12) {
    const int64_t ahead = (month - 1) / 12;
    month -= 12 * ahead;
    year += ahead;
  }
}

}  // namespace

TMonthKey NormaliseMonthKey(TMonthKey key) {
  int64_t year = key / 100;
  int64_t month = key % 100;
  NormaliseYearMonth(year, month);
  return static_cast<TMonthKey>(year * 100 + month);
}

TMonthKey NextMonthKey(TMonthKey key) { return NormaliseMonthKey(key + 1); }

TMonthKey PrevMonthKey(TMonthKey key) { return NormaliseMonthKey(key - 1); }

TDayNumber DayOfMonth(int year, int month, int day) {
  int64_t y = year;
  int64_t m = month;
  int64_t d = day;
  NormaliseYearMonth(y, m);
  for (int tries = 0; tries < 11; ++tries) {
    TDayNumber result = 0;
    if (y >= 1 && y <= 9999 && d >= 1 && d <= 31 &&
        TryEncodeDate(static_cast<int>(y), static_cast<int>(m), static_cast<int>(d), result)) {
      return result;
    }
    if (d <= 0) {
      d = 31;
      m -= 1;
    } else if (d < 32) {
      d -= 1;
    } else {
      d = 1;
      m += 1;
    }
    NormaliseYearMonth(y, m);
  }
  return -1;
}

TPeriod PeriodFromClosingDay(TMonthKey key, int closingDay, bool endsNextMonth) {
  const int year = KeyYear(key);
  const int month = KeyMonth(key) + (endsNextMonth ? 1 : 0);
  return {DayOfMonth(year, month - 1, closingDay) + 1, DayOfMonth(year, month, closingDay)};
}

}  // namespace kzm
