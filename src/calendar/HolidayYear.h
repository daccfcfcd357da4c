#pragma once

#include <vector>

#include "calendar/DayList.h"

namespace kzm {

inline constexpr const char* kSubstituteHolidayName = "振替休日";
inline constexpr const char* kNationalHolidayName = "国民の休日";

// The holidays of a year: first the dates of the rules in rule order, then the substitute
// holidays, then the days off between two holidays. Before the substitute law took effect on
// 12 April 1973 there are no substitute holidays, before 1988 no days off between holidays.
// Up to 2006 a Sunday holiday moves to the Monday after it and a weekday between two
// holidays is a day off; from 2007 the substitute is the first following day that is no
// holiday, and any day between two holidays is a day off whatever its weekday.
// Entries are sorted by day, except the days between holidays, which come last.
[[nodiscard]] TNamedDays HolidaysOfYear(const std::vector<TSpecialDays>& rules, int year);

}  // namespace kzm
