#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/DayList.h"

namespace kzm {

// Japanese public holidays and seasonal days for one date at a time: set Date, then ask.
// The lists of a year are computed the first time a query meets that year and kept until
// Date moves to another year.
class Talmanac {
 public:
  // Local date and time as days since 1899-12-30 (the fraction is the time of day).
  [[nodiscard]] double Date() const { return m_date; }
  void SetDate(double date) { m_date = date; }

  [[nodiscard]] bool IsHoliday();
  // The first holiday entry of the day; empty when the day is no holiday.
  [[nodiscard]] std::string HolidayName();
  // The first seasonal day of the day (a solar term, 土用入, 彼岸入 ...); empty when none.
  [[nodiscard]] std::string SeasonName();

  // Replaces the rules with those of a holiday rule document (see ReadHolidayRules). A
  // malformed document leaves no rules and gives false.
  bool LoadRules(std::string_view document);
  void SetRules(std::vector<TSpecialDays> rules);
  [[nodiscard]] const std::vector<TSpecialDays>& Rules() const { return m_rules; }

  // The entries of the year of Date, in the order the queries search them.
  [[nodiscard]] const TNamedDays& Holidays();
  [[nodiscard]] const TNamedDays& SeasonalDays();

 private:
  void Refresh();
  // Index of the first entry of the day of Date, -1 if none.
  [[nodiscard]] int FindDay(const TNamedDays& days) const;

  double m_date = 0;
  std::optional<int> m_cachedYear;
  std::vector<TSpecialDays> m_rules;
  TNamedDays m_holidays;
  TNamedDays m_seasonalDays;
};

// The program's almanac, made on first use with the holiday rules built into the program.
[[nodiscard]] Talmanac& Almanac();

}  // namespace kzm
