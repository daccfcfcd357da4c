#include "recurring/RecurringSchedule.h"

#include <gtest/gtest.h>

#include "calendar/Almanac.h"

namespace kzm {
namespace {

TDayNumber D(int y, int m, int d) { return EncodeDate(y, m, d); }

TRecurringTemplate Template(TRepeat repeat, int day, TDayNumber first, int interval = 1,
                            TBusinessShift shift = TBusinessShift::bsAsIs) {
  TRecurringTemplate t;
  t.id = 7;
  t.schedule.repeat = repeat;
  t.schedule.day = day;
  t.schedule.first = first;
  t.schedule.interval = interval;
  t.schedule.shift = shift;
  return t;
}

// "yyyy/mm/dd" of each occurrence's date, "<-yyyy/mm/dd" added where it was moved.
std::vector<std::string> Dates(const std::vector<TOccurrence>& occurrences) {
  std::vector<std::string> texts;
  for (const TOccurrence& o : occurrences) {
    std::string text = FormatDateSlashed(o.date);
    if (o.date != o.scheduled) text += "<-" + FormatDateSlashed(o.scheduled);
    texts.push_back(text);
  }
  return texts;
}

using TList = std::vector<std::string>;

TEST(RecurringScheduleTest, SchedulesWithoutShift) {
  TBusinessDays days(Almanac().Rules());
  const struct {
    const char* what;
    TRecurringTemplate t;
    TDayNumber from, to;
    TList expected;
  } cases[] = {
      {"the 31st in February and April", Template(TRepeat::rpMonthly, 31, D(2027, 1, 1)), D(2027, 1, 1),
       D(2027, 4, 30), {"2027/01/31", "2027/02/28", "2027/03/31", "2027/04/30"}},
      {"the 29th in a leap February", Template(TRepeat::rpMonthly, 29, D(2028, 2, 1)), D(2028, 1, 1),
       D(2028, 3, 31), {"2028/02/29", "2028/03/29"}},
      {"month end", Template(TRepeat::rpMonthly, kMonthEnd, D(2027, 1, 15)), D(2027, 1, 1), D(2027, 4, 30),
       {"2027/01/31", "2027/02/28", "2027/03/31", "2027/04/30"}},
      {"every 2 months from a 31st", Template(TRepeat::rpMonthly, 31, D(2027, 7, 31), 2), D(2027, 1, 1),
       D(2028, 3, 31), {"2027/07/31", "2027/09/30", "2027/11/30", "2028/01/31", "2028/03/31"}},
      {"a day already past in the first month", Template(TRepeat::rpMonthly, 10, D(2027, 1, 11)), D(2027, 1, 1),
       D(2027, 2, 28), {"2027/02/10"}},
      {"a window in the middle", Template(TRepeat::rpMonthly, 5, D(2000, 1, 1), 3), D(2027, 5, 1), D(2027, 9, 30),
       {"2027/07/05"}},
      {"weekly across a year end", Template(TRepeat::rpWeekly, 5, D(2027, 12, 1)), D(2027, 12, 15), D(2028, 1, 10),
       {"2027/12/17", "2027/12/24", "2027/12/31", "2028/01/07"}},
      {"every 2 weeks on Monday", Template(TRepeat::rpWeekly, 1, D(2027, 1, 1), 2), D(2027, 1, 1), D(2027, 2, 1),
       {"2027/01/04", "2027/01/18", "2027/02/01"}},
      {"yearly on 2/29", Template(TRepeat::rpYearly, 229, D(2027, 1, 1)), D(2027, 1, 1), D(2029, 12, 31),
       {"2027/02/28", "2028/02/29", "2029/02/28"}},
      {"yearly, passed in the first year", Template(TRepeat::rpYearly, 315, D(2027, 4, 1)), D(2027, 1, 1),
       D(2028, 12, 31), {"2028/03/15"}},
      {"every 10 days", Template(TRepeat::rpDays, 0, D(2027, 1, 25), 10), D(2027, 1, 1), D(2027, 2, 28),
       {"2027/01/25", "2027/02/04", "2027/02/14", "2027/02/24"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Dates(OccurrencesBetween(c.t, c.from, c.to, days)), c.expected);
  }
}

TEST(RecurringScheduleTest, CountAndEndDateStopTheSchedule) {
  TBusinessDays days(Almanac().Rules());
  TRecurringTemplate counted = Template(TRepeat::rpMonthly, 27, D(2027, 1, 1));
  counted.schedule.count = 3;
  EXPECT_EQ(Dates(OccurrencesBetween(counted, D(2027, 1, 1), D(2027, 12, 31), days)),
            (TList{"2027/01/27", "2027/02/27", "2027/03/27"}));
  // Counting starts at the first occurrence, not at the window.
  EXPECT_EQ(Dates(OccurrencesBetween(counted, D(2027, 3, 1), D(2027, 12, 31), days)), (TList{"2027/03/27"}));

  TRecurringTemplate ended = Template(TRepeat::rpMonthly, 27, D(2027, 1, 1));
  ended.schedule.until = D(2027, 3, 27);
  EXPECT_EQ(Dates(OccurrencesBetween(ended, D(2027, 1, 1), D(2027, 12, 31), days)),
            (TList{"2027/01/27", "2027/02/27", "2027/03/27"}));
  // The end is on the scheduled date: a shift past it still counts.
  ended.schedule.shift = TBusinessShift::bsAfter;
  EXPECT_EQ(Dates(OccurrencesBetween(ended, D(2027, 3, 2), D(2027, 12, 31), days)),
            (TList{"2027/03/29<-2027/03/27"}));
  EXPECT_EQ(Dates(NextOccurrences(ended, D(2027, 2, 1), 12, days)), (TList{"2027/03/01<-2027/02/27", "2027/03/29<-2027/03/27"}));
}

TEST(RecurringScheduleTest, ShiftedDatesMayLeaveTheirMonthAndTheWindow) {
  TBusinessDays days(Almanac().Rules());
  // 2027/08/01 is a Sunday: moved before, it is entered on Friday 7/30.
  const TRecurringTemplate first = Template(TRepeat::rpMonthly, 1, D(2027, 7, 1), 1, TBusinessShift::bsBefore);
  EXPECT_EQ(Dates(OccurrencesBetween(first, D(2027, 7, 1), D(2027, 7, 31), days)),
            (TList{"2027/07/01", "2027/07/30<-2027/08/01"}));
  EXPECT_EQ(Dates(OccurrencesBetween(first, D(2027, 8, 1), D(2027, 8, 31), days)), TList{});
  // Salary on the 25th, paid before: 2027/12/25 is a Saturday.
  const TRecurringTemplate pay = Template(TRepeat::rpMonthly, 25, D(2027, 12, 1), 1, TBusinessShift::bsBefore);
  EXPECT_EQ(Dates(NextOccurrences(pay, D(2027, 12, 1), 2, days)), (TList{"2027/12/24<-2027/12/25", "2028/01/25"}));
  // A debit on 12/31 moves into the next year.
  const TRecurringTemplate debit = Template(TRepeat::rpYearly, 1231, D(2027, 1, 1), 1, TBusinessShift::bsAfter);
  EXPECT_EQ(Dates(OccurrencesBetween(debit, D(2028, 1, 1), D(2028, 1, 31), days)), (TList{"2028/01/04<-2027/12/31"}));
}

TEST(RecurringScheduleTest, UnusableSchedulesGiveNothing) {
  TBusinessDays days(Almanac().Rules());
  const TRecurringTemplate cases[] = {
      Template(TRepeat::rpMonthly, 32, D(2027, 1, 1)), Template(TRepeat::rpWeekly, 0, D(2027, 1, 1)),
      Template(TRepeat::rpYearly, 1332, D(2027, 1, 1)), Template(TRepeat::rpDays, 0, D(2027, 1, 1), 0),
      Template(TRepeat::rpMonthly, 1, D(2027, 1, 1), 1000)};
  for (const TRecurringTemplate& t : cases) {
    EXPECT_FALSE(ScheduleProblem(t.schedule).empty());
    EXPECT_TRUE(OccurrencesBetween(t, D(2027, 1, 1), D(2027, 12, 31), days).empty());
  }
  // The schedule runs out at the calendar's end.
  const TRecurringTemplate late = Template(TRepeat::rpYearly, 1231, D(9998, 1, 1));
  EXPECT_EQ(NextOccurrences(late, D(9998, 1, 1), 5, days).size(), 2u);
}

}  // namespace
}  // namespace kzm
