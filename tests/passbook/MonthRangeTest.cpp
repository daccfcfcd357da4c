#include "passbook/MonthRange.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/TempFolder.h"

namespace kzm {
namespace {

TEST(MonthRangeTest, DaysOfMarchInARange) {
  const TDayNumber mar1 = EncodeDate(2024, 3, 1);
  const TDayNumber mar31 = EncodeDate(2024, 3, 31);
  struct Case {
    const char* what;
    TDayNumber rangeFirst, rangeLast;
    bool any;
    TDayNumber first, last;
  };
  const Case cases[] = {
      {"open range", 0, 0, true, mar1, mar31},
      {"start inside raises the first day", mar1 + 9, 0, true, mar1 + 9, mar31},
      {"end inside lowers the last day", 0, mar1 + 4, true, mar1, mar1 + 4},
      {"start on the last day", mar31, 0, true, mar31, mar31},
      {"start after the month", mar31 + 1, 0, false, 0, 0},
      {"end before the month", 0, mar1 - 1, false, 0, 0},
      {"end before the raised start", mar1 + 19, mar1 + 9, false, 0, 0},
      {"range around the month", mar1 - 40, mar31 + 40, true, mar1, mar31},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TDayNumber first = 0;
    TDayNumber last = 0;
    ASSERT_EQ(MonthDaysInRange(2024, 3, c.rangeFirst, c.rangeLast, first, last), c.any);
    if (c.any) {
      EXPECT_EQ(first, c.first);
      EXPECT_EQ(last, c.last);
    }
  }
}

// Only month files are listed, and oldest first whatever order the file system keeps.
TEST(MonthRangeTest, OnlyMonthFilesAreListedOldestFirst) {
  test::TTempFolder temp;
  for (const char* name : {"202403.kzm", "199912.kzm", "abcdef.kzm", "202413.kzm", "000005.kzm", "202401.txt",
                           "201509.kzm", "202202.kzm", "201610.kzm", "200401.kzm", "202312.kzm", "202301.kzm"})
    test::WriteBytes(temp.File(name), "");
  // Something that is no file under a month's name is a month, to be read and found unreadable.
  std::filesystem::create_directory(temp.File("202405.kzm"));
  std::filesystem::create_directory(temp.File("folder"));
  std::vector<std::pair<int, int>> months;
  for (const TMonthOfFile& m : MonthFilesOf(temp.Path())) months.emplace_back(m.year, m.month);
  EXPECT_EQ(months, (std::vector<std::pair<int, int>>{{1999, 12},
                                                      {2004, 1},
                                                      {2015, 9},
                                                      {2016, 10},
                                                      {2022, 2},
                                                      {2023, 1},
                                                      {2023, 12},
                                                      {2024, 3},
                                                      {2024, 5}}));
  EXPECT_TRUE(MonthFilesOf("").empty());
}

}  // namespace
}  // namespace kzm
