#include "calendar/SeasonalDays.h"

#include <gtest/gtest.h>

#include "foundation/Dates.h"

namespace kzm {
namespace {


struct TExpectedDay {
  const char* name;
  int month;
  int day;
};

bool Contains(const TNamedDays& days, const TExpectedDay& expected, int year) {
  const int32_t dayNumber = EncodeDate(year, expected.month, expected.day);
  for (int i = 0; i < days.Count(); ++i) {
    if (days.Strings(i) == expected.name && days.ValueAt(i) == dayNumber) return true;
  }
  return false;
}

TEST(SeasonalDays, Year2004) {
  const TNamedDays days = SeasonalDaysOfYear(2004);
  EXPECT_EQ(days.Count(), 37);
  const TExpectedDay expected[] = {
      {"立春", 2, 4},     {"節分", 2, 3},     {"春分", 3, 20},    {"彼岸入", 3, 17},
      {"彼岸明", 3, 23},  {"八十八夜", 5, 1}, {"入梅", 6, 10},    {"半夏生", 7, 1},
      {"二百十日", 8, 31}, {"秋分", 9, 23},   {"秋彼岸入", 9, 20}, {"秋彼岸明", 9, 26},
      {"立冬", 11, 7},    {"大雪", 12, 7},    {"冬至", 12, 21},   {"小寒", 1, 6},
      {"大寒", 1, 21},    {"土用入", 1, 18},  {"土用入", 4, 17},  {"土用入", 7, 19},
      {"土用入", 10, 20},
  };
  for (const TExpectedDay& day : expected) {
    SCOPED_TRACE(day.name);
    EXPECT_TRUE(Contains(days, day, 2004)) << day.month << "/" << day.day;
  }
}

TEST(SeasonalDays, CountedDaysFollowTheirTerm) {
  const TNamedDays days = SeasonalDaysOfYear(2026);
  EXPECT_TRUE(Contains(days, {"八十八夜", 5, 2}, 2026));
  EXPECT_TRUE(Contains(days, {"二百十日", 9, 1}, 2026));
  // Every row of the table gives exactly one day of its own year.
  for (int i = 0; i < static_cast<int>(kSekkiTable.size()); ++i) {
    const Tsekki& row = kSekkiTable[static_cast<size_t>(i)];
    SCOPED_TRACE(row.name);
    EXPECT_EQ(days.Strings(i), row.name);
    const int approximate = EncodeDate(2026, row.date / 100, row.date % 100);
    EXPECT_LE(std::abs(days.ValueAt(i) - approximate), 2);
  }
}

}  // namespace
}  // namespace kzm
