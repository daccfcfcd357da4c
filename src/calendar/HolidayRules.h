#pragma once

#include <string_view>
#include <vector>

#include "calendar/DayList.h"

namespace kzm {

// The rules of a holiday rule document, given as the bytes stored on disk (CP932 unless its
// declaration names another encoding).
//
// The root element is <specialday>; each child is one named day: its tag is the kind
// ("holiday"), its text the name, its attribute mean what the day celebrates. Each <date>
// child of a named day is one rule, with the attributes month, day, dayoftheweek (an English
// weekday name), times, ecliptic, start and end (years), or year for a single year.
// Missing, empty or non-numeric numbers count as absent (-1); an unknown weekday name is -1;
// start defaults to the year 1 and end to 2999. A rule whose years do not make a date is
// left out. Another root gives no rules. Throws ExmlParseError when the document is
// malformed.
[[nodiscard]] std::vector<TSpecialDays> ReadHolidayRules(std::string_view document);

}  // namespace kzm
