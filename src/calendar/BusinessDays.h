#pragma once

// The days banks open, and moving a date onto one. Banks in Japan close on Saturdays, Sundays,
// public holidays (substitute holidays and the days off between two holidays included) and
// on 12/31, 1/2 and 1/3; 1/1 is a public holiday anyway. Scheduled payments and debits that
// fall on a closed day move to the business day before or after, as the contract says.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "calendar/DayList.h"
#include "foundation/Dates.h"

namespace kzm {

// Where a date that is no business day goes.
enum class TBusinessShift : uint8_t {
  bsAsIs,    // it stays where it is
  bsBefore,  // the last business day before it
  bsAfter,   // the first business day after it
};

// Answers for any day from 0001-01-01 to 9999-12-31. The holidays of a year are worked out
// the first time a question meets that year and kept, so asking about thousands of dates
// over a few decades costs little. Not safe to share between threads.
class TBusinessDays {
 public:
  // rules are the holiday rules of the calendar (Talmanac::Rules).
  explicit TBusinessDays(std::vector<TSpecialDays> rules);

  [[nodiscard]] bool IsBusinessDay(TDayNumber day);
  // Why banks close on day: the holiday's name, 土曜日, 日曜日 or 年末年始; empty on a business day.
  [[nodiscard]] std::string ClosedReason(TDayNumber day);
  // day itself when it is a business day or shift is bsAsIs; else the nearest business day in
  // the direction of shift. A calendar with no business day within a year of day (no real
  // rules make one) leaves day as it is.
  [[nodiscard]] TDayNumber Shift(TDayNumber day, TBusinessShift shift);

 private:
  // The holiday names of a year, one per day from 1 January (empty: no holiday).
  const std::vector<std::string>& HolidaysOf(int year);

  std::vector<TSpecialDays> m_rules;
  std::map<int, std::vector<std::string>> m_years;
  int m_lastYear = 0;
  const std::vector<std::string>* m_last = nullptr;
};

// The program's business days, over the holiday rules of the program's almanac.
[[nodiscard]] TBusinessDays& ProgramBusinessDays();
// Whether banks open on day, by the program's calendar.
[[nodiscard]] bool IsBusinessDay(TDayNumber day);

}  // namespace kzm
