#pragma once

#include <array>
#include <cstdint>

#include "calendar/DayList.h"

namespace kzm {

// One row of the seasonal-day table: a day named after the sun's longitude.
struct Tsekki {
  const char* name;
  int32_t longitude;  // whole degrees
  int32_t date;       // approximate date as month * 100 + day, the starting point of the search
};

// The 24 solar terms from 立春, the four starts of 土用, 入梅 and 半夏生.
extern const std::array<Tsekki, 30> kSekkiTable;

// The seasonal days of a year: one entry per table row in table order, then 節分, 八十八夜,
// 二百十日 and the starts and ends of both 彼岸 weeks, counted from their solar terms.
[[nodiscard]] TNamedDays SeasonalDaysOfYear(int year);

}  // namespace kzm
