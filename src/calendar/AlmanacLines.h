#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/Almanac.h"

namespace kzm {

// Listings of the command-line companion: for each year from first to last, one line
// "yyyy/mm/dd<TAB>name" per entry, in date order; entries of one day keep the order in
// which the almanac looks them up. The years are taken in ascending order whichever is
// given first. The almanac's Date is left on the last year listed.
[[nodiscard]] std::vector<std::string> HolidayLines(Talmanac& almanac, int firstYear, int lastYear);
[[nodiscard]] std::vector<std::string> SeasonLines(Talmanac& almanac, int firstYear, int lastYear);

// A year argument: a decimal number from 1 to 9999; nothing for anything else.
[[nodiscard]] std::optional<int> ParseYearArgument(std::string_view text);

}  // namespace kzm
