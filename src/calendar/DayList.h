#pragma once

#include <cstdint>
#include <string>

#include "foundation/Dates.h"
#include "foundation/ValueStringList.h"

namespace kzm {

// One rule of the holiday text: a fixed date, the n-th weekday of a month or the day the
// sun reaches a longitude, valid over a range of years. -1 marks a field that is not used.
struct TSpecialDays {
  std::string name;
  std::string mean;  // what the day celebrates; kept for the reader of the rule text
  std::string kind;  // "holiday" for public holidays; other kinds add no dates
  TDayNumber start = 0;  // only its year counts
  TDayNumber end = 0;    // only its year counts
  int32_t ecliptic = -1;
  int32_t dayoftheweek = -1;  // 1 = Monday ... 7 = Sunday
  int32_t times = -1;
  int32_t month = -1;
  int32_t day = -1;
};

// The named days of a year: each string is a day's name, its value the day number.
using TNamedDays = TiStringList;

}  // namespace kzm
