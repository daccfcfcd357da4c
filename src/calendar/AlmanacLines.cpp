#include "calendar/AlmanacLines.h"

#include <algorithm>
#include <cstdio>
#include <utility>

#include "foundation/Dates.h"
#include "foundation/Text.h"

namespace kzm {
namespace {

using TYearList = const TNamedDays& (Talmanac::*)();

std::vector<std::string> YearLines(Talmanac& almanac, int firstYear, int lastYear, TYearList list) {
  if (firstYear > lastYear) std::swap(firstYear, lastYear);
  std::vector<std::string> lines;
  for (int year = firstYear; year <= lastYear; ++year) {
    almanac.SetDate(EncodeDate(year, 1, 1));
    TNamedDays days = (almanac.*list)();
    days.SortByValue(true);
    for (int i = 0; i < days.Count(); ++i) {
      const TYmd date = DecodeDate(days.ValueAt(i));
      char prefix[16];
      std::snprintf(prefix, sizeof prefix, "%04d/%02d/%02d\t", date.year, date.month, date.day);
      std::string line = prefix + days.Strings(i);
      // The rules name 文化の日 twice; a listing shows each holiday once.
      if (!lines.empty() && lines.back() == line) continue;
      lines.push_back(std::move(line));
    }
  }
  return lines;
}

}  // namespace

std::vector<std::string> HolidayLines(Talmanac& almanac, int firstYear, int lastYear) {
  return YearLines(almanac, firstYear, lastYear, &Talmanac::Holidays);
}

std::vector<std::string> SeasonLines(Talmanac& almanac, int firstYear, int lastYear) {
  return YearLines(almanac, firstYear, lastYear, &Talmanac::SeasonalDays);
}

std::optional<int> ParseYearArgument(std::string_view text) {
  const std::string_view trimmed = Trim(text);
  if (trimmed.empty() || !std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  const int32_t year = ParseInt(trimmed, 0);
  if (year < 1 || year > 9999) return std::nullopt;
  return year;
}

}  // namespace kzm
