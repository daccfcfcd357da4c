#include "calendar/Almanac.h"

#include <gtest/gtest.h>

#include <limits>

#include "foundation/Dates.h"

namespace kzm {
namespace {


TSpecialDays Rule(const char* name, int month, int day, int ecliptic = -1) {
  TSpecialDays rule;
  rule.name = name;
  rule.kind = "holiday";
  rule.start = EncodeDate(1948, 1, 1);
  rule.end = EncodeDate(2999, 12, 31);
  rule.month = month;
  rule.day = day;
  rule.ecliptic = ecliptic;
  return rule;
}

TEST(Almanac, AnswersForTheWholeDayOfDate) {
  Talmanac almanac;
  almanac.SetRules({Rule("春分の日", -1, -1, 0), Rule("文化の日", 11, 3), Rule("文化の日", 11, 3)});
  struct Case {
    double date;
    const char* holiday;
    const char* season;
  };
  const int32_t equinox = EncodeDate(2004, 3, 20);
  const Case cases[] = {
      {equinox + 0.0, "春分の日", "春分"},
      {equinox + 0.999, "春分の日", "春分"},  // late evening is the same day
      {equinox + 1.0, "", ""},  // 20 March 2004 was a Saturday: no substitute
      {EncodeDate(2004, 11, 3) + 0.5, "文化の日", ""},
      {EncodeDate(2004, 11, 4) + 0.5, "", ""},
      {EncodeDate(2004, 2, 3) + 0.0, "", "節分"},
      {EncodeDate(1947, 3, 21) + 0.0, "", "春分"},  // the calendar had no holidays yet
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.date);
    almanac.SetDate(c.date);
    EXPECT_EQ(almanac.HolidayName(), c.holiday);
    EXPECT_EQ(almanac.IsHoliday(), *c.holiday != '\0');
    EXPECT_EQ(almanac.SeasonName(), c.season);
  }
}

TEST(Almanac, FollowsTheYearOfDate) {
  Talmanac almanac;
  almanac.SetRules({Rule("元日", 1, 1)});
  const char* expected[] = {"振替休日", "", "", "", "", "", "振替休日"};  // 2006 ... 2012
  for (int year = 2006; year <= 2012; ++year) {
    SCOPED_TRACE(year);
    almanac.SetDate(EncodeDate(year, 1, 2));
    EXPECT_EQ(almanac.HolidayName(), expected[year - 2006]);
    almanac.SetDate(EncodeDate(year, 1, 1));
    EXPECT_EQ(almanac.HolidayName(), "元日");
  }
  // New rules take effect for the year already cached.
  almanac.SetRules({});
  EXPECT_FALSE(almanac.IsHoliday());
}

TEST(Almanac, EveryStartOfDoyoIsNamed) {
  Talmanac almanac;
  const int dates[][2] = {{1, 18}, {4, 17}, {7, 19}, {10, 20}};
  for (const auto& date : dates) {
    almanac.SetDate(EncodeDate(2004, date[0], date[1]));
    EXPECT_EQ(almanac.SeasonName(), "土用入") << date[0] << "/" << date[1];
  }
}

TEST(Almanac, DatesOutsideTheCalendarNameNothing) {
  Talmanac almanac;
  almanac.SetRules({Rule("元日", 1, 1)});
  const double dates[] = {1e12, -1e12, std::numeric_limits<double>::quiet_NaN(),
                          std::numeric_limits<double>::infinity()};
  for (double date : dates) {
    SCOPED_TRACE(date);
    almanac.SetDate(date);
    EXPECT_FALSE(almanac.IsHoliday());
    EXPECT_EQ(almanac.SeasonName(), "");
  }
  almanac.SetDate(EncodeDate(1, 1, 1));
  EXPECT_FALSE(almanac.IsHoliday());
  EXPECT_EQ(almanac.SeasonalDays().Count(), 37);
  almanac.SetDate(EncodeDate(9999, 12, 31));
  EXPECT_EQ(almanac.SeasonalDays().Count(), 37);
}

}  // namespace
}  // namespace kzm
