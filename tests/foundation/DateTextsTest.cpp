#include "foundation/DateTexts.h"

#include <gtest/gtest.h>

namespace kzm {
namespace {

TEST(DateTextsTest, EveryFormOfADay) {
  const TDayNumber tuesday = EncodeDate(2024, 3, 5);
  EXPECT_EQ(FormatDateWithWeekday(tuesday), "2024/3/5(火)");
  EXPECT_EQ(FormatDayWithWeekday(tuesday), "5(火)");
  EXPECT_EQ(FormatMonthDay(tuesday), "3/5");
  EXPECT_EQ(FormatDateShort(tuesday), "24/03/05");
  EXPECT_EQ(FormatDateTime(tuesday, 9 * 3600 + 7 * 60 + 2), "2024/03/05 09:07:02");
  EXPECT_EQ(FormatDateShort(EncodeDate(2000, 12, 31)), "00/12/31");
}

TEST(DateTextsTest, WeekdayNamesRunSundayToSaturday) {
  const TDayNumber sunday = EncodeDate(2026, 12, 6);
  const char* names[] = {"日", "月", "火", "水", "木", "金", "土"};
  for (int i = 0; i < 7; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(JapaneseWeekdayName(sunday + i), names[i]);
  }
}

}  // namespace
}  // namespace kzm
