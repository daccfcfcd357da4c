#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <map>
#include <string>

#include "calendar/Almanac.h"
#include "calendar/AlmanacLines.h"
#include "foundation/Dates.h"
#include "common/TestPaths.h"

namespace kzm {
namespace {

// "yyyy/mm/dd<TAB>name" lines of Japan's public holidays as published, one name per day.
std::map<TDayNumber, std::string> PublishedHolidays() {
  std::ifstream file(test::SourceDir() + "/tests/data/calendar/holidays-1955-2027.txt");
  std::map<TDayNumber, std::string> holidays;
  std::string line;
  while (std::getline(file, line)) {
    const TDayNumber day = ParseDate(line.substr(0, 10));
    holidays[day] = line.substr(11);
  }
  return holidays;
}

TEST(ShippedHolidays, EveryDayFrom1955To2027MatchesThePublishedList) {
  const std::map<TDayNumber, std::string> published = PublishedHolidays();
  ASSERT_GT(published.size(), 1000u);
  Talmanac& almanac = Almanac();
  std::string differences;
  for (TDayNumber day = EncodeDate(1955, 1, 1); day <= EncodeDate(2027, 12, 31); ++day) {
    almanac.SetDate(day);
    const auto found = published.find(day);
    const std::string expected = found == published.end() ? "" : found->second;
    if (almanac.HolidayName() != expected || almanac.IsHoliday() != !expected.empty()) {
      differences += FormatDate8(day) + " " + almanac.HolidayName() + " / " + expected + "\n";
    }
  }
  EXPECT_EQ(differences, "");
}

// Years outside the published list.
TEST(ShippedHolidays, YearsBeforeAndAfterThePublishedList) {
  struct Case {
    int year, month, day;
    const char* name;
  };
  const Case cases[] = {
      {1947, 1, 1, ""},           {1948, 3, 21, "春分の日"},      {1948, 4, 29, "天皇誕生日"},
      {2030, 2, 23, "天皇誕生日"}, {2030, 7, 15, "海の日"},        {2030, 10, 14, "スポーツの日"},
      {2030, 12, 23, ""},         {2032, 9, 21, "国民の休日"},
  };
  Talmanac& almanac = Almanac();
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "/" << c.month << "/" << c.day);
    almanac.SetDate(EncodeDate(c.year, c.month, c.day));
    EXPECT_EQ(almanac.HolidayName(), c.name);
  }
}

TEST(ShippedHolidays, Listings) {
  Talmanac& almanac = Almanac();
  const std::vector<std::string> holidays = HolidayLines(almanac, 2009, 2009);
  const std::vector<std::string> expected = {
      "2009/01/01\t元日",       "2009/01/12\t成人の日",     "2009/02/11\t建国記念の日",
      "2009/03/20\t春分の日",   "2009/04/29\t昭和の日",     "2009/05/03\t憲法記念日",
      "2009/05/04\tみどりの日", "2009/05/05\tこどもの日",   "2009/05/06\t振替休日",
      "2009/07/20\t海の日",     "2009/09/21\t敬老の日",     "2009/09/22\t国民の休日",
      "2009/09/23\t秋分の日",   "2009/10/12\t体育の日",     "2009/11/03\t文化の日",
      "2009/11/23\t勤労感謝の日", "2009/12/23\t天皇誕生日",
  };
  EXPECT_EQ(holidays, expected);
  EXPECT_EQ(HolidayLines(almanac, 2005, 2004).size(), HolidayLines(almanac, 2004, 2005).size());
  const std::vector<std::string> seasons = SeasonLines(almanac, 2026, 2027);
  ASSERT_EQ(seasons.size(), 74u);
  EXPECT_EQ(seasons.front(), "2026/01/05\t小寒");
  EXPECT_EQ(seasons[36], "2026/12/22\t冬至");
  EXPECT_TRUE(std::is_sorted(seasons.begin(), seasons.end()));
}

TEST(ShippedHolidays, YearArguments) {
  EXPECT_EQ(ParseYearArgument("2026"), 2026);
  EXPECT_EQ(ParseYearArgument("1"), 1);
  EXPECT_EQ(ParseYearArgument("9999"), 9999);
  for (const char* bad : {"", "0", "10000", "-5", "+5", "20x6", "２０２６", "99999999999"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParseYearArgument(bad).has_value());
  }
}

}  // namespace
}  // namespace kzm
