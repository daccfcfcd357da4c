#include "calendar/BusinessDays.h"

#include "calendar/Almanac.h"
#include "calendar/HolidayYear.h"

namespace kzm {

namespace {

constexpr TDayNumber kFirstDay = -693593;  // 0001-01-01
constexpr TDayNumber kLastDay = 2958465;   // 9999-12-31
constexpr int kLongestSearch = 366;

bool IsBankNewYear(const TYmd& ymd) {
  return (ymd.month == 12 && ymd.day == 31) || (ymd.month == 1 && (ymd.day == 2 || ymd.day == 3));
}

}  // namespace

TBusinessDays::TBusinessDays(std::vector<TSpecialDays> rules) : m_rules(std::move(rules)) {}

const std::vector<std::string>& TBusinessDays::HolidaysOf(int year) {
  if (m_last && m_lastYear == year) return *m_last;
  auto found = m_years.find(year);
  if (found == m_years.end()) {
    std::vector<std::string> names(366);
    const TDayNumber first = EncodeDate(year, 1, 1);
    const TNamedDays holidays = HolidaysOfYear(m_rules, year);
    for (int i = 0; i < holidays.Count(); ++i) {
      const int offset = holidays.ValueAt(i) - first;
      // The first name of a day wins, as the calendar shows it.
      if (offset >= 0 && offset < 366 && names[static_cast<size_t>(offset)].empty()) {
        names[static_cast<size_t>(offset)] = holidays.Strings(i);
      }
    }
    found = m_years.emplace(year, std::move(names)).first;
  }
  m_lastYear = year;
  m_last = &found->second;
  return *m_last;
}

bool TBusinessDays::IsBusinessDay(TDayNumber day) {
  const int weekday = DayOfWeek(day);
  if (weekday == 0 || weekday == 6) return false;
  const TYmd ymd = DecodeDate(day);
  if (IsBankNewYear(ymd)) return false;
  return HolidaysOf(ymd.year)[static_cast<size_t>(day - EncodeDate(ymd.year, 1, 1))].empty();
}

std::string TBusinessDays::ClosedReason(TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  const std::string& holiday = HolidaysOf(ymd.year)[static_cast<size_t>(day - EncodeDate(ymd.year, 1, 1))];
  if (!holiday.empty()) return holiday;
  if (IsBankNewYear(ymd)) return "年末年始";
  const int weekday = DayOfWeek(day);
  if (weekday == 0) return "日曜日";
  if (weekday == 6) return "土曜日";
  return {};
}

TDayNumber TBusinessDays::Shift(TDayNumber day, TBusinessShift shift) {
  if (shift == TBusinessShift::bsAsIs) return day;
  const int step = shift == TBusinessShift::bsBefore ? -1 : 1;
  TDayNumber candidate = day;
  for (int i = 0; i < kLongestSearch; ++i) {
    if (candidate < kFirstDay || candidate > kLastDay) break;
    if (IsBusinessDay(candidate)) return candidate;
    candidate += step;
  }
  return day;
}

TBusinessDays& ProgramBusinessDays() {
  static TBusinessDays days(Almanac().Rules());
  return days;
}

bool IsBusinessDay(TDayNumber day) { return ProgramBusinessDays().IsBusinessDay(day); }

}  // namespace kzm
