#include "calendar/SeasonalDays.h"

#include <cmath>

#include "calendar/SunLongitude.h"
#include "foundation/Dates.h"

namespace kzm {

const std::array<Tsekki, 30> kSekkiTable{{
    {"立春", 315, 204},  {"雨水", 330, 219},  {"啓蟄", 345, 305},  {"春分", 0, 320},
    {"清明", 15, 405},   {"穀雨", 30, 420},   {"立夏", 45, 505},   {"小満", 60, 521},
    {"芒種", 75, 605},   {"夏至", 90, 621},   {"小暑", 105, 707},  {"大暑", 120, 723},
    {"立秋", 135, 807},  {"処暑", 150, 823},  {"白露", 165, 907},  {"秋分", 180, 923},
    {"寒露", 195, 1008}, {"霜降", 210, 1023}, {"立冬", 225, 1107}, {"小雪", 240, 1122},
    {"大雪", 255, 1207}, {"冬至", 270, 1222}, {"小寒", 285, 105},  {"大寒", 300, 120},
    {"土用入", 297, 117}, {"土用入", 27, 417}, {"土用入", 117, 720}, {"土用入", 207, 1020},
    {"入梅", 80, 611},   {"半夏生", 100, 702},
}};

namespace {

struct TCountedDay {
  const char* name;
  const char* fromTerm;
  int offset;
};

// Days counted from a solar term rather than found from the sun.
constexpr std::array<TCountedDay, 7> kCountedDays{{
    {"節分", "立春", -1},
    {"八十八夜", "立春", 87},
    {"二百十日", "立春", 209},
    {"彼岸入", "春分", -3},
    {"彼岸明", "春分", 3},
    {"秋彼岸入", "秋分", -3},
    {"秋彼岸明", "秋分", 3},
}};

}  // namespace

TNamedDays SeasonalDaysOfYear(int year) {
  TNamedDays days;
  for (const Tsekki& row : kSekkiTable) {
    const TDayNumber guess = EncodeDate(year, row.date / 100, row.date % 100);
    const auto day = static_cast<TDayNumber>(std::floor(CrossingDay(row.longitude, guess)));
    days.AddValue(row.name, day);
  }
  for (const TCountedDay& counted : kCountedDays) {
    const int term = days.IndexOf(counted.fromTerm);
    days.AddValue(counted.name, days.ValueAt(term) + counted.offset);
  }
  return days;
}

}  // namespace kzm
