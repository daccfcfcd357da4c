#include "calendar/Almanac.h"

#include <cmath>

#include "calendar/HolidayRules.h"
#include "calendar/HolidayYear.h"
#include "calendar/SeasonalDays.h"
#include "foundation/Dates.h"
#include "foundation/EmbeddedResources.h"
#include "foundation/XmlList.h"

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

bool Talmanac::IsHoliday() { return FindDay(Holidays()) >= 0; }

std::string Talmanac::HolidayName() {
  const TNamedDays& days = Holidays();
  const int index = FindDay(days);
  return index >= 0 ? days.Strings(index) : std::string();
}

std::string Talmanac::SeasonName() {
  const TNamedDays& days = SeasonalDays();
  const int index = FindDay(days);
  return index >= 0 ? days.Strings(index) : std::string();
}

bool Talmanac::LoadRules(std::string_view document) {
  std::vector<TSpecialDays> rules;
  bool readable = true;
  try {
    rules = ReadHolidayRules(document);
  } catch (const ExmlParseError&) {
    readable = false;
  }
  SetRules(std::move(rules));
  return readable;
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
    m_seasonalDays.Clear();
    m_holidays.Clear();
    return;
  }
  m_seasonalDays = SeasonalDaysOfYear(year);
  m_holidays = HolidaysOfYear(m_rules, year);
}

int Talmanac::FindDay(const TNamedDays& days) const {
  const std::optional<TDayNumber> day = DayNumberOfDate(m_date);
  return day ? days.IndexOfValue(*day) : -1;
}

Talmanac& Almanac() {
  static Talmanac almanac = [] {
    Talmanac made;
    const std::optional<std::string_view> rules = FindEmbeddedResource("HOLIDAYS");
    if (rules && !rules->empty()) made.LoadRules(*rules);
    return made;
  }();
  return almanac;
}

}  // namespace kzm
