#include "calendar/HolidayYear.h"

#include <cmath>

#include "calendar/SunLongitude.h"
#include "foundation/Dates.h"

namespace kzm {
namespace {

constexpr int kSunday = 7;
constexpr int kNationalHolidayLawYear = 1988;
constexpr int kCurrentLawYear = 2007;

int YearOf(TDayNumber dayNumber) { return DecodeDate(dayNumber).year; }

bool IsInRuleYears(const TSpecialDays& rule, int year) {
  return YearOf(rule.start) <= year && year <= YearOf(rule.end);
}

void AddFixedDate(const TSpecialDays& rule, int year, TNamedDays& days) {
  if (rule.month <= 0 || rule.day <= 0) return;
  if (!IsValidDate(year, rule.month, rule.day)) return;
  days.AddValue(rule.name, EncodeDate(year, rule.month, rule.day));
}

void AddNthWeekday(const TSpecialDays& rule, int year, TNamedDays& days) {
  // No month has a sixth of any weekday; weekday numbers outside 1..7 match no day.
  if (rule.month < 1 || rule.month > 12 || rule.times < 1 || rule.times > 5) return;
  if (rule.dayoftheweek < 1 || rule.dayoftheweek > 7) return;
  const TDayNumber first = EncodeDate(year, rule.month, 1);
  const TDayNumber firstMatch = first + (rule.dayoftheweek - IsoDayOfWeek(first) + 7) % 7;
  const TDayNumber day = firstMatch + 7 * (rule.times - 1);
  if (DecodeDate(day).month != rule.month) return;
  days.AddValue(rule.name, day);
}

void AddSolarDate(const TSpecialDays& rule, int year, TNamedDays& days) {
  if (rule.ecliptic < 0) return;
  // Longitude 0 falls about 79 days into the year.
  const int degreesIntoYear = (rule.ecliptic % 360 + 79) % 360;
  const double guess = EncodeDate(year, 1, 1) + degreesIntoYear * 365.0 / 360.0;
  const auto guessDay = static_cast<TDayNumber>(std::floor(guess));
  const double crossing = CrossingDay(rule.ecliptic, guessDay);
  days.AddValue(rule.name, static_cast<TDayNumber>(std::floor(crossing)));
}

bool HasDay(const TNamedDays& days, TDayNumber dayNumber) { return days.IndexOfValue(dayNumber) >= 0; }

// The law until 2006: the Monday after a Sunday holiday, and a weekday other than Sunday
// between two holidays.
void AddDaysOffBefore2007(int year, TNamedDays& days) {
  const TDayNumber substituteLawStart = EncodeDate(1973, 4, 12);
  const int ruleDays = days.Count();
  for (int i = 0; i < ruleDays; ++i) {
    const TDayNumber day = days.ValueAt(i);
    if (day >= substituteLawStart && IsoDayOfWeek(day) == kSunday) {
      days.AddValue(kSubstituteHolidayName, day + 1);
    }
  }
  if (year < kNationalHolidayLawYear) return;
  days.SortByValue(true);
  const int sorted = days.Count();
  for (int i = 0; i + 1 < sorted; ++i) {
    const TDayNumber between = days.ValueAt(i) + 1;
    if (days.ValueAt(i + 1) == between + 1 && IsoDayOfWeek(between) != kSunday) {
      days.AddValue(kNationalHolidayName, between);
    }
  }
}

// The law from 2007: a Sunday holiday gives the first following day that is no holiday, and
// any day that is no holiday but lies between two holidays is a day off.
void AddDaysOffFrom2007(TNamedDays& days) {
  days.SortByValue(true);
  const TNamedDays ruleDays = days;
  for (int i = 0; i < ruleDays.Count(); ++i) {
    const TDayNumber holiday = ruleDays.ValueAt(i);
    if (IsoDayOfWeek(holiday) != kSunday) continue;
    TDayNumber substitute = holiday + 1;
    while (HasDay(ruleDays, substitute)) ++substitute;
    if (!HasDay(days, substitute)) days.AddValue(kSubstituteHolidayName, substitute);
  }
  days.SortByValue(true);
  for (int i = 0; i < ruleDays.Count(); ++i) {
    const TDayNumber between = ruleDays.ValueAt(i) + 1;
    if (HasDay(ruleDays, between + 1) && !HasDay(days, between)) {
      days.AddValue(kNationalHolidayName, between);
    }
  }
}

}  // namespace

TNamedDays HolidaysOfYear(const std::vector<TSpecialDays>& rules, int year) {
  TNamedDays days;
  for (const TSpecialDays& rule : rules) {
    if (rule.kind != "holiday" || !IsInRuleYears(rule, year)) continue;
    AddFixedDate(rule, year, days);
    AddNthWeekday(rule, year, days);
    AddSolarDate(rule, year, days);
  }
  if (year < kCurrentLawYear) {
    AddDaysOffBefore2007(year, days);
  } else {
    AddDaysOffFrom2007(days);
  }
  return days;
}

}  // namespace kzm
