#include "recurring/RecurringSchedule.h"

#include <algorithm>
#include <cstdint>

namespace kzm {

namespace {

constexpr TDayNumber kLastDay = 2958465;  // 9999-12-31
// A shift moves a date by at most this many days: the longest run of closed days (Golden Week
// with its weekends) is far shorter.
constexpr int kShiftMargin = 20;

int MonthIndex(int year, int month) { return year * 12 + (month - 1); }

// The day of a monthly schedule in the month of index: a day the month lacks is its last day.
TDayNumber MonthlyDate(int monthIndex, int day) {
  const int year = monthIndex / 12;
  const int month = monthIndex % 12 + 1;
  if (year < 1 || year > 9999) return 0;
  const int last = DaysInMonth(year, month);
  return EncodeDate(year, month, day == kMonthEnd ? last : std::min(day, last));
}

TDayNumber YearlyDate(int year, int monthDay) {
  if (year < 1 || year > 9999) return 0;
  const int month = monthDay / 100;
  return EncodeDate(year, month, std::min(monthDay % 100, DaysInMonth(year, month)));
}

// The month of the first monthly occurrence: the first date's month, or the next when the
// day has already passed in it.
int FirstMonthIndex(const TSchedule& s) {
  const TYmd first = DecodeDate(s.first);
  const int index = MonthIndex(first.year, first.month);
  return MonthlyDate(index, s.day) < s.first ? index + 1 : index;
}

int FirstYear(const TSchedule& s) {
  const int year = DecodeDate(s.first).year;
  return YearlyDate(year, s.day) < s.first ? year + 1 : year;
}

TDayNumber FirstWeekday(const TSchedule& s) { return s.first + (s.day - IsoDayOfWeek(s.first) + 7) % 7; }

// The ranges ScheduleProblem checks, without making its message: this is asked for every date.
bool Usable(const TSchedule& s) {
  if (s.interval < 1 || s.interval > kMaxInterval || s.first < EncodeDate(1, 1, 1) || s.first > kLastDay) return false;
  switch (s.repeat) {
    case TRepeat::rpMonthly: return s.day >= kMonthEnd && s.day <= 31;
    case TRepeat::rpWeekly: return s.day >= 1 && s.day <= 7;
    case TRepeat::rpYearly: return IsValidDate(2000, s.day / 100, s.day % 100);
    case TRepeat::rpDays: return true;
  }
  return false;
}

// The dates of a usable schedule, with where it starts worked out once.
class TScheduleSteps {
 public:
  explicit TScheduleSteps(const TSchedule& s) : m_s(s) {
    switch (s.repeat) {
      case TRepeat::rpMonthly: m_start = FirstMonthIndex(s); break;
      case TRepeat::rpWeekly: m_start = FirstWeekday(s); break;
      case TRepeat::rpYearly: m_start = FirstYear(s); break;
      case TRepeat::rpDays: m_start = s.first; break;
    }
  }

  // The n-th scheduled date (n from 0), ignoring the schedule's end; 0 past 9999-12-31.
  [[nodiscard]] TDayNumber Nth(int n) const {
    const int64_t step = static_cast<int64_t>(n) * m_s.interval;
    switch (m_s.repeat) {
      case TRepeat::rpMonthly: {
        const int64_t index = m_start + step;
        return index > MonthIndex(9999, 12) ? 0 : MonthlyDate(static_cast<int>(index), m_s.day);
      }
      case TRepeat::rpWeekly: return DayOrNone(m_start + step * 7);
      case TRepeat::rpYearly: {
        const int64_t year = m_start + step;
        return year > 9999 ? 0 : YearlyDate(static_cast<int>(year), m_s.day);
      }
      case TRepeat::rpDays: return DayOrNone(m_start + step);
    }
    return 0;
  }

  // A guess of the index of the first occurrence scheduled on or after day, never above it.
  [[nodiscard]] int64_t IndexGuess(TDayNumber day) const {
    if (day <= m_s.first) return 0;
    switch (m_s.repeat) {
      case TRepeat::rpMonthly: {
        const TYmd ymd = DecodeDate(day);
        return (MonthIndex(ymd.year, ymd.month) - m_start) / m_s.interval - 1;
      }
      case TRepeat::rpWeekly: return (day - m_start) / (7 * m_s.interval) - 1;
      case TRepeat::rpYearly: return (DecodeDate(day).year - m_start) / m_s.interval - 1;
      case TRepeat::rpDays: return (day - m_start) / m_s.interval - 1;
    }
    return 0;
  }

 private:
  static TDayNumber DayOrNone(int64_t day) { return day > kLastDay ? 0 : static_cast<TDayNumber>(day); }

  const TSchedule& m_s;
  int64_t m_start = 0;  // month index, day or year of the first occurrence
};

// The index of the first occurrence scheduled on or after day; -1 when there is none.
int FirstIndexFrom(const TScheduleSteps& steps, TDayNumber day) {
  int64_t n = std::max<int64_t>(0, steps.IndexGuess(day));
  while (n > 0 && steps.Nth(static_cast<int>(n - 1)) >= day) --n;
  for (;; ++n) {
    if (n > INT32_MAX) return -1;
    const TDayNumber scheduled = steps.Nth(static_cast<int>(n));
    if (scheduled == 0) return -1;
    if (scheduled >= day) return static_cast<int>(n);
  }
}

// Calls take(occurrence) for the occurrences scheduled from index start on, in order, until
// the schedule ends or take returns false.
// The walk starts at the first occurrence whose shift may bring it to from or later.
template <typename TTake>
void WalkOccurrences(const TRecurringTemplate& t, TDayNumber from, TBusinessDays& businessDays, TTake take) {
  const TSchedule& s = t.schedule;
  const TScheduleSteps steps(s);
  const int start = FirstIndexFrom(steps, from - kShiftMargin);
  for (int n = start; n >= 0; ++n) {
    if (s.count > 0 && n >= s.count) return;
    const TDayNumber scheduled = steps.Nth(n);
    if (scheduled == 0 || (s.until != 0 && scheduled > s.until)) return;
    if (!take(TOccurrence{t.id, scheduled, businessDays.Shift(scheduled, s.shift)})) return;
  }
}

}  // namespace

std::vector<TOccurrence> OccurrencesBetween(const TRecurringTemplate& t, TDayNumber from, TDayNumber to,
                                            TBusinessDays& businessDays) {
  std::vector<TOccurrence> found;
  if (to < from || !Usable(t.schedule)) return found;
  WalkOccurrences(t, from, businessDays, [&](const TOccurrence& o) {
    if (o.scheduled > to + kShiftMargin) return false;
    if (o.date >= from && o.date <= to) found.push_back(o);
    return true;
  });
  return found;
}

std::vector<TOccurrence> NextOccurrences(const TRecurringTemplate& t, TDayNumber from, int count,
                                         TBusinessDays& businessDays) {
  std::vector<TOccurrence> found;
  if (count <= 0 || !Usable(t.schedule)) return found;
  WalkOccurrences(t, from, businessDays, [&](const TOccurrence& o) {
    if (o.date >= from) found.push_back(o);
    return static_cast<int>(found.size()) < count;
  });
  return found;
}

}  // namespace kzm
