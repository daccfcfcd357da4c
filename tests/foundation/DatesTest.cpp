#include "foundation/Dates.h"

#include <gtest/gtest.h>

namespace kzm {
namespace {

TEST(Dates, DayNumbersMatchTheCalendar) {
  EXPECT_EQ(EncodeDate(1899, 12, 30), 0);
  EXPECT_EQ(EncodeDate(1900, 1, 1), 2);
  EXPECT_EQ(EncodeDate(2000, 1, 1), 36526);
  EXPECT_EQ(EncodeDate(2024, 3, 5), 45356);
  EXPECT_EQ(EncodeDate(1, 1, 1), -693593);
  EXPECT_EQ(EncodeDate(9999, 12, 31), 2958465);
  for (TDayNumber d = -700000; d < 3000000; d += 997) {
    const TYmd ymd = DecodeDate(d);
    ASSERT_EQ(EncodeDate(ymd.year, ymd.month, ymd.day), d);
  }
  EXPECT_EQ(DecodeDate(45356), (TYmd{2024, 3, 5}));
  EXPECT_EQ(DayOfWeek(0), 6);                           // a Saturday
  EXPECT_EQ(DayOfWeek(EncodeDate(2024, 3, 5)), 2);      // a Tuesday
  EXPECT_EQ(IsoDayOfWeek(EncodeDate(2024, 3, 10)), 7);  // a Sunday
  EXPECT_EQ(DayOfWeek(-1), 5);
}

TEST(Dates, MonthLengthsAndValidity) {
  EXPECT_EQ(DaysInMonth(2024, 2), 29);
  EXPECT_EQ(DaysInMonth(2023, 2), 28);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2024, 4), 30);
  EXPECT_EQ(DaysInMonth(2024, 13), 0);
  EXPECT_FALSE(IsValidDate(2024, 2, 30));
  EXPECT_FALSE(IsValidDate(0, 1, 1));
  EXPECT_FALSE(IsValidDate(10000, 1, 1));
}

TEST(Dates, ParseDate) {
  const TDayNumber day = EncodeDate(2024, 3, 5);
  const std::vector<std::pair<std::string, TDayNumber>> cases = {
      {"2024年3月5日", day},
      {" 2024/3/5 ", day},
      {"2024/03/05", day},
      {"24/3/5", day},
      {"240305", day},
      {"20240305", day},
      {"71/1/1", EncodeDate(1971, 1, 1)},
      {"70/1/1", EncodeDate(2070, 1, 1)},
      {"000101", EncodeDate(2000, 1, 1)},
      {"2024/2/30", 0},
      {"20240230", 0},
      {"2024/3", 0},
      {"2024年3月", 0},
      {"2024年", 0},
      {"年月日", 0},
      {"2024-03-05", 0},
      {"2403051", 0},
      {"24a305", 0},
      {"", 0},
      {"/", 0},
      {"/3/5", 0},
      {"x年3月5日", 0},
      {"-5/1/1", 0},
      {"99999/1/1", 0},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    EXPECT_EQ(ParseDate(text), expected);
  }
}

TEST(Dates, FormatDate8) {
  EXPECT_EQ(FormatDate8(EncodeDate(2024, 3, 5)), "20240305");
  EXPECT_EQ(FormatDate8(EncodeDate(987, 12, 31)), "09871231");
  EXPECT_EQ(ParseDate(FormatDate8(45000)), 45000);
}

// The files' and the command line's yyyymmdd: eight digits and nothing else, no year window.
TEST(Dates, TryParseDate8) {
  TDayNumber day = 0;
  ASSERT_TRUE(TryParseDate8("20240229", day));
  EXPECT_EQ(day, EncodeDate(2024, 2, 29));
  ASSERT_TRUE(TryParseDate8("00010101", day));
  EXPECT_EQ(day, EncodeDate(1, 1, 1));
  for (const char* text : {"", "2024030", "240305", "202403051", "20230229", "20241301", "00000101", "+0010101",
                           " 0010101", "0010101 ", "-0010101", "2024-3-5", "２０２４０３０５"}) {
    SCOPED_TRACE(text);
    day = 7;
    EXPECT_FALSE(TryParseDate8(text, day));
    EXPECT_EQ(day, 7);
  }
}

// The slashed date of the search grid and export, across the whole calendar and past its ends.
TEST(Dates, FormatDateSlashed) {
  const struct {
    TDayNumber day;
    const char* text;
  } cases[] = {
      {EncodeDate(2024, 3, 5), "2024/03/05"},  {EncodeDate(987, 12, 31), "0987/12/31"},
      {EncodeDate(1, 1, 1), "0001/01/01"},     {EncodeDate(9999, 12, 31), "9999/12/31"},
      {EncodeDate(1, 1, 1) - 1, "0000/12/31"}, {EncodeDate(9999, 12, 31) + 1, "10000/01/01"},
      {EncodeDate(1, 1, 1) - 400, "-001/11/28"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(FormatDateSlashed(c.day), c.text);
  }
  // Years below 100 read back as two-digit years.
  for (TDayNumber d = EncodeDate(100, 1, 1); d <= EncodeDate(9999, 12, 31); d += 997) {
    ASSERT_EQ(ParseDate(FormatDateSlashed(d)), d) << FormatDateSlashed(d);
  }
}

TEST(Dates, TodayCanBeFixed) {
  SetTodayForTest(45356);
  EXPECT_EQ(Today(), 45356);
  SetTodayForTest(0);
  EXPECT_GT(Today(), EncodeDate(2020, 1, 1));
}

}  // namespace
}  // namespace kzm
