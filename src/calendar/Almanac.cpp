#include "calendar/Almanac.h"

#include <cmath>

#include "calendar/HolidayYear.h"
#include "calendar/SeasonalDays.h"
#include "foundation/Dates.h"

namespace kzm {
namespace {

// Day numbers of 0001-01-01 and 9999-12-31: the calendar knows no years beyond.
constexpr double kFirstDay = -693593;
constexpr double kLastDay = 2958465;

std::optional<TDayNumber> DayNumberOfDate(double date) {
  const double day = std::floor(date);
  if (!(day >= kFirstDay && day <= kLastDay)) return std::nullopt;
  return static_cast<TDayNumber>(day);
}

}  // namespace

bool Talmanac::IsHoliday() { return FindDay(Holidays()) != nullptr; }

std::string Talmanac::HolidayName() {
  const TNamedDay* entry = FindDay(Holidays());
  return entry ? entry->name : std::string();
}

std::string Talmanac::SeasonName() {
  const TNamedDay* entry = FindDay(SeasonalDays());
  return entry ? entry->name : std::string();
}

void Talmanac::SetRules(std::vector<TSpecialDays> rules) {
  m_rules = std::move(rules);
  m_cachedYear.reset();
  Refresh();
}

const TNamedDays& Talmanac::Holidays() {
  Refresh();
  return m_holidays;
}

const TNamedDays& Talmanac::SeasonalDays() {
  Refresh();
  return m_seasonalDays;
}

void Talmanac::Refresh() {
  const std::optional<TDayNumber> day = DayNumberOfDate(m_date);
  const int year = day ? DecodeDate(*day).year : 0;
  if (m_cachedYear == year) return;
  m_cachedYear = year;
  if (!day) {
    m_seasonalDays.clear();
    m_holidays.clear();
    return;
  }
  m_seasonalDays = SeasonalDaysOfYear(year);
  m_holidays = HolidaysOfYear(m_rules, year);
}

const TNamedDay* Talmanac::FindDay(const TNamedDays& days) const {
  const std::optional<TDayNumber> day = DayNumberOfDate(m_date);
  if (!day) return nullptr;
  for (const TNamedDay& entry : days) {
    if (entry.dayNumber == *day) return &entry;
  }
  return nullptr;
}

}  // namespace kzm
