#include "foundation/Dates.h"

#include "foundation/Text.h"

#include <cstdio>
#include <ctime>

namespace kzm {

namespace {

// Days from 1970-01-01 of a proleptic Gregorian date (H. Hinnant's days_from_civil).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

// Day 0 of the day numbers, counted from 1970-01-01.
constexpr int64_t kEpochShift = -25569;

TDayNumber g_todayForTest = 0;

bool AllDigits(std::string_view text) {
  for (const char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// The three parts of "y年m月d日"; a part whose markers are missing reads as 0.
void SplitKanjiDate(std::string_view text, std::string_view& y, std::string_view& m, std::string_view& d) {
  const size_t yearMark = text.find("年");
  y = text.substr(0, yearMark);
  const size_t monthStart = yearMark + std::string_view("年").size();
  const size_t monthMark = text.find("月", monthStart);
  if (monthMark == std::string_view::npos) return;
  m = text.substr(monthStart, monthMark - monthStart);
  const size_t dayStart = monthMark + std::string_view("月").size();
  const size_t dayMark = text.find("日", dayStart);
  if (dayMark == std::string_view::npos) return;
  d = text.substr(dayStart, dayMark - dayStart);
}

void SplitSlashDate(std::string_view text, std::string_view& y, std::string_view& m, std::string_view& d) {
  const size_t first = text.find('/');
  y = text.substr(0, first);
  const size_t second = text.find('/', first + 1);
  if (second == std::string_view::npos) return;
  m = text.substr(first + 1, second - first - 1);
  d = text.substr(second + 1);
}

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

}  // namespace

int DaysInMonth(int year, int month) {
  static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

bool IsValidDate(int year, int month, int day) {
  return year >= 1 && year <= 9999 && day >= 1 && day <= DaysInMonth(year, month);
}

TDayNumber EncodeDate(int year, int month, int day) {
  return static_cast<TDayNumber>(DaysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) -
                                 kEpochShift);
}

bool TryEncodeDate(int year, int month, int day, TDayNumber& result) {
  if (!IsValidDate(year, month, day)) return false;
  result = EncodeDate(year, month, day);
  return true;
}

TYmd DecodeDate(TDayNumber day) {
  // H. Hinnant's civil_from_days.
  int64_t z = static_cast<int64_t>(day) + kEpochShift + 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  const int64_t y = static_cast<int64_t>(yoe) + era * 400 + (m <= 2);
  return TYmd{static_cast<int>(y), static_cast<int>(m), static_cast<int>(d)};
}

int DayOfWeek(TDayNumber day) {
  // Day 0 was a Saturday.
  const int r = static_cast<int>((static_cast<int64_t>(day) + 6) % 7);
  return r < 0 ? r + 7 : r;
}

int IsoDayOfWeek(TDayNumber day) {
  const int w = DayOfWeek(day);
  return w == 0 ? 7 : w;
}

int WindowYear(int year) {
  if (year >= 0 && year <= 70) return year + 2000;
  if (year >= 71 && year <= 99) return year + 1900;
  return year;
}

TDayNumber ParseDate(std::string_view text) {
  text = Trim(text);
  TDayNumber result = 0;
  // Digits only first, read without the general number parsing: every line of a month file
  // starts with such a date.
  if ((text.size() == 6 || text.size() == 8) && AllDigits(text)) {
    auto number = [](std::string_view digits) {
      int n = 0;
      for (const char c : digits) n = n * 10 + (c - '0');
      return n;
    };
    const size_t yearLen = text.size() - 4;
    const int year = WindowYear(number(text.substr(0, yearLen)));
    const int month = number(text.substr(yearLen, 2));
    return TryEncodeDate(year, month, number(text.substr(yearLen + 2, 2)), result) ? result : 0;
  }
  std::string_view y, m, d;
  if (text.find("年") != std::string_view::npos) {
    SplitKanjiDate(text, y, m, d);
  } else if (text.find('/') != std::string_view::npos) {
    SplitSlashDate(text, y, m, d);
  } else {
    return 0;
  }
  // A year that is no number would otherwise count as year 0, that is 2000.
  const int year = ParseInt(y, -1);
  if (year < 0 || !TryEncodeDate(WindowYear(year), ParseInt(m), ParseInt(d), result)) return 0;
  return result;
}

std::string FormatDate8(TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d%02d%02d", ymd.year, ymd.month, ymd.day);
  return buffer;
}

bool TryParseDate8(std::string_view text, TDayNumber& day) {
  if (text.size() != 8 || !AllDigits(text)) return false;
  int value = 0;
  for (const char c : text) value = value * 10 + (c - '0');
  return TryEncodeDate(value / 10000, value / 100 % 100, value % 100, day);
}

std::string FormatDateSlashed(TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  // Written digit by digit for years of four digits: a search export writes one per line, and
  // snprintf took as long as the rest of the line.
  if (ymd.year >= 0 && ymd.year <= 9999) {
    auto digit = [](int n) { return static_cast<char>('0' + n % 10); };
    return {digit(ymd.year / 1000), digit(ymd.year / 100), digit(ymd.year / 10), digit(ymd.year), '/',
            digit(ymd.month / 10),  digit(ymd.month),      '/',
            digit(ymd.day / 10),    digit(ymd.day)};
  }
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d/%02d/%02d", ymd.year, ymd.month, ymd.day);
  return buffer;
}

TDayNumber Today() {
  if (g_todayForTest != 0) return g_todayForTest;
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

void SetTodayForTest(TDayNumber day) { g_todayForTest = day; }

}  // namespace kzm
