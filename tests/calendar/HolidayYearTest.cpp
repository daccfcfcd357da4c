#include "calendar/HolidayYear.h"

#include <gtest/gtest.h>

#include <string>

#include "foundation/Dates.h"

namespace kzm {
namespace {


TSpecialDays Fixed(const char* name, int month, int day, int from = 1948, int to = 2999) {
  TSpecialDays rule;
  rule.name = name;
  rule.kind = "holiday";
  rule.start = EncodeDate(from, 1, 1);
  rule.end = EncodeDate(to, 12, 31);
  rule.month = month;
  rule.day = day;
  return rule;
}

TSpecialDays NthWeekday(const char* name, int month, int weekday, int times) {
  TSpecialDays rule = Fixed(name, month, -1);
  rule.dayoftheweek = weekday;
  rule.times = times;
  return rule;
}

TSpecialDays Equinox(const char* name, int ecliptic) {
  TSpecialDays rule = Fixed(name, -1, -1);
  rule.ecliptic = ecliptic;
  return rule;
}

// "m/d name" lines of the entries by day; entries of one day in list order.
std::string Describe(TNamedDays days) {
  days.SortByValue(true);
  std::string text;
  for (int i = 0; i < days.Count(); ++i) {
    const TYmd date = DecodeDate(days.ValueAt(i));
    text += std::to_string(date.month) + "/" + std::to_string(date.day) + " " + days.Strings(i) + "\n";
  }
  return text;
}

TEST(HolidayYear, RuleKinds) {
  struct Case {
    const char* label;
    TSpecialDays rule;
    int year;
    const char* expected;
  };
  TSpecialDays notAHoliday = Fixed("記念日", 6, 1);
  notAHoliday.kind = "memorial";
  const Case cases[] = {
      {"fixed", Fixed("a", 11, 23), 2004, "11/23 a\n"},
      {"before its years", Fixed("a", 2, 11, 1967), 1966, ""},
      {"after its years", Fixed("a", 4, 29, 1948, 1988), 1989, ""},
      {"no such date", Fixed("a", 2, 30), 2004, ""},
      {"second Monday", NthWeekday("a", 1, 1, 2), 2004, "1/12 a\n"},
      {"third Monday", NthWeekday("a", 7, 1, 3), 2004, "7/19 a\n"},
      {"fifth Friday of a month with four", NthWeekday("a", 2, 5, 5), 2005, ""},
      {"fifth Thursday", NthWeekday("a", 1, 4, 5), 2004, "1/29 a\n"},
      {"zeroth", NthWeekday("a", 1, 1, 0), 2004, ""},
      {"no weekday", NthWeekday("a", 1, -1, 2), 2004, ""},
      {"spring equinox", Equinox("a", 0), 2004, "3/20 a\n"},
      {"autumn equinox", Equinox("a", 180), 2004, "9/23 a\n"},
      {"first spring equinox", Equinox("a", 0), 1948, "3/21 a\n"},
      {"autumn equinox on the 24th", Equinox("a", 180), 1959, "9/24 a\n"},
      {"autumn equinox on the 22nd", Equinox("a", 180), 2012, "9/22 a\n"},
      {"other kinds add nothing", notAHoliday, 2004, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label);
    EXPECT_EQ(Describe(HolidaysOfYear({c.rule}, c.year)), c.expected);
  }
}

TEST(HolidayYear, SubstituteHolidaysBefore2007) {
  const std::vector<TSpecialDays> rules = {Fixed("元日", 1, 1), Fixed("建国記念の日", 2, 11),
                                           Fixed("天皇誕生日", 4, 29)};
  // The law began on 12 April 1973: 11 February 1973 was a Sunday without substitute.
  EXPECT_EQ(Describe(HolidaysOfYear(rules, 1973)),
            "1/1 元日\n2/11 建国記念の日\n4/29 天皇誕生日\n4/30 振替休日\n");
  EXPECT_EQ(Describe(HolidaysOfYear(rules, 1972)), "1/1 元日\n2/11 建国記念の日\n4/29 天皇誕生日\n");
  EXPECT_EQ(Describe(HolidaysOfYear(rules, 2006)),
            "1/1 元日\n1/2 振替休日\n2/11 建国記念の日\n4/29 天皇誕生日\n");
}

TEST(HolidayYear, DaysBetweenHolidaysBefore2007) {
  const std::vector<TSpecialDays> goldenWeek = {Fixed("憲法記念日", 5, 3), Fixed("こどもの日", 5, 5)};
  EXPECT_EQ(Describe(HolidaysOfYear(goldenWeek, 1987)), "5/3 憲法記念日\n5/4 振替休日\n5/5 こどもの日\n");
  EXPECT_EQ(Describe(HolidaysOfYear(goldenWeek, 1988)), "5/3 憲法記念日\n5/4 国民の休日\n5/5 こどもの日\n");
  EXPECT_EQ(Describe(HolidaysOfYear(goldenWeek, 1998)), "5/3 憲法記念日\n5/4 振替休日\n5/5 こどもの日\n");
  // Until 2006 a Sunday between two holidays stayed an ordinary Sunday (2 April 2000).
  const std::vector<TSpecialDays> aroundSunday = {Fixed("a", 4, 1), Fixed("b", 4, 3)};
  EXPECT_EQ(Describe(HolidaysOfYear(aroundSunday, 2000)), "4/1 a\n4/3 b\n");
}

TEST(HolidayYear, DaysOffFrom2007) {
  const std::vector<TSpecialDays> rules = {
      Fixed("昭和の日", 4, 29),   Fixed("憲法記念日", 5, 3),       Fixed("みどりの日", 5, 4),
      Fixed("こどもの日", 5, 5),  NthWeekday("敬老の日", 9, 1, 3), Equinox("秋分の日", 180),
  };
  // 3 May 2009 was a Sunday: the substitute moves past 4 and 5 May.
  EXPECT_EQ(Describe(HolidaysOfYear(rules, 2009)),
            "4/29 昭和の日\n5/3 憲法記念日\n5/4 みどりの日\n5/5 こどもの日\n5/6 振替休日\n"
            "9/21 敬老の日\n9/22 国民の休日\n9/23 秋分の日\n");
  // Any day between two holidays is a day off from 2007, a Sunday as well.
  const std::vector<TSpecialDays> aroundSunday = {Fixed("a", 1, 5), Fixed("b", 1, 7)};
  EXPECT_EQ(Describe(HolidaysOfYear(aroundSunday, 2008)), "1/5 a\n1/6 国民の休日\n1/7 b\n");
  // Two entries on one Sunday give one substitute.
  const std::vector<TSpecialDays> doubled = {Fixed("文化の日", 11, 3), Fixed("文化の日", 11, 3)};
  EXPECT_EQ(Describe(HolidaysOfYear(doubled, 2024)), "11/3 文化の日\n11/3 文化の日\n11/4 振替休日\n");
  EXPECT_EQ(Describe(HolidaysOfYear(doubled, 2004)), "11/3 文化の日\n11/3 文化の日\n");
}

}  // namespace
}  // namespace kzm
