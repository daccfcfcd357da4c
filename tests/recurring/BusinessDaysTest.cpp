#include "calendar/BusinessDays.h"

#include <gtest/gtest.h>

#include "calendar/Almanac.h"

namespace kzm {
namespace {

TDayNumber D(int y, int m, int d) { return EncodeDate(y, m, d); }

TEST(BusinessDaysTest, ClosedDaysAndWhy) {
  TBusinessDays days(Almanac().Rules());
  const struct {
    TDayNumber day;
    const char* reason;  // empty: banks open
  } cases[] = {
      {D(2027, 5, 6), ""},
      {D(2027, 5, 3), "憲法記念日"},
      {D(2027, 5, 1), "土曜日"},
      {D(2027, 5, 2), "日曜日"},
      {D(2027, 3, 22), "振替休日"},
      {D(2026, 9, 22), "国民の休日"},
      {D(2027, 12, 31), "年末年始"},
      {D(2027, 1, 1), "元日"},
      {D(2027, 1, 2), "年末年始"},  // a Saturday too
      {D(2026, 1, 2), "年末年始"},
      {D(2026, 1, 5), ""},
      {D(2027, 12, 30), ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(FormatDateSlashed(c.day));
    EXPECT_EQ(days.IsBusinessDay(c.day), std::string(c.reason).empty());
    EXPECT_EQ(days.ClosedReason(c.day), c.reason);
  }
  EXPECT_EQ(IsBusinessDay(D(2027, 3, 22)), false);
  EXPECT_EQ(IsBusinessDay(D(2027, 3, 23)), true);
}

TEST(BusinessDaysTest, ShiftsAcrossLongBreaks) {
  TBusinessDays days(Almanac().Rules());
  const struct {
    const char* what;
    TDayNumber day;
    TBusinessShift shift;
    TDayNumber expected;
  } cases[] = {
      {"Golden Week, after", D(2027, 5, 3), TBusinessShift::bsAfter, D(2027, 5, 6)},
      {"Golden Week, before", D(2027, 5, 5), TBusinessShift::bsBefore, D(2027, 4, 30)},
      {"Golden Week with a substitute day, after", D(2026, 5, 2), TBusinessShift::bsAfter, D(2026, 5, 7)},
      {"New Year, after", D(2027, 12, 31), TBusinessShift::bsAfter, D(2028, 1, 4)},
      {"New Year, before", D(2028, 1, 3), TBusinessShift::bsBefore, D(2027, 12, 30)},
      {"substitute holiday, after", D(2027, 3, 21), TBusinessShift::bsAfter, D(2027, 3, 23)},
      {"substitute holiday, before", D(2027, 3, 22), TBusinessShift::bsBefore, D(2027, 3, 19)},
      {"Saturday before a Monday holiday, after", D(2027, 1, 9), TBusinessShift::bsAfter, D(2027, 1, 12)},
      {"Saturday before a Monday holiday, before", D(2027, 1, 9), TBusinessShift::bsBefore, D(2027, 1, 8)},
      {"citizens' holiday, after", D(2026, 9, 19), TBusinessShift::bsAfter, D(2026, 9, 24)},
      {"as is stays on a Sunday", D(2027, 5, 2), TBusinessShift::bsAsIs, D(2027, 5, 2)},
      {"a business day stays", D(2027, 5, 6), TBusinessShift::bsBefore, D(2027, 5, 6)},
      {"the calendar's end", D(9999, 12, 31), TBusinessShift::bsAfter, D(9999, 12, 31)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(FormatDateSlashed(days.Shift(c.day, c.shift)), FormatDateSlashed(c.expected));
  }
}

}  // namespace
}  // namespace kzm
