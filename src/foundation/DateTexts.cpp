#include "foundation/DateTexts.h"

#include <array>
#include <cstdio>

namespace kzm {

namespace {
constexpr std::array<const char*, 7> kWeekdays = {"日", "月", "火", "水", "木", "金", "土"};

template <typename... Args>
std::string Format(const char* pattern, Args... args) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, args...);
  return buffer;
}
}  // namespace

std::string JapaneseWeekdayName(TDayNumber day) { return kWeekdays[static_cast<size_t>(DayOfWeek(day))]; }

std::string FormatDateWithWeekday(TDayNumber day) {
  const TYmd d = DecodeDate(day);
  return Format("%d/%d/%d(", d.year, d.month, d.day) + JapaneseWeekdayName(day) + ")";
}

std::string FormatDayWithWeekday(TDayNumber day) {
  return Format("%d(", DecodeDate(day).day) + JapaneseWeekdayName(day) + ")";
}

std::string FormatMonthDay(TDayNumber day) {
  const TYmd d = DecodeDate(day);
  return Format("%d/%d", d.month, d.day);
}

std::string FormatDateShort(TDayNumber day) {
  const TYmd d = DecodeDate(day);
  return Format("%02d/%02d/%02d", d.year % 100, d.month, d.day);
}

std::string FormatDateTime(TDayNumber day, int secondsOfDay) {
  const TYmd d = DecodeDate(day);
  return Format("%04d/%02d/%02d %02d:%02d:%02d", d.year, d.month, d.day, secondsOfDay / 3600,
                secondsOfDay / 60 % 60, secondsOfDay % 60);
}

}  // namespace kzm
