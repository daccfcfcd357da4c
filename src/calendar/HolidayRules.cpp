#include "calendar/HolidayRules.h"

#include <array>
#include <optional>
#include <string>

#include "foundation/Text.h"
#include "foundation/XmlList.h"

namespace kzm {
namespace {

constexpr std::array<std::string_view, 7> kWeekdayNames = {
    "monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday"};

int32_t ReadInteger(const TxmlList& date, std::string_view name) {
  return ParseInt(date.Attribute(name), -1);
}

int32_t ReadWeekday(const TxmlList& date) {
  const std::string name = LowerCase(date.Attribute("dayoftheweek"));
  for (std::size_t i = 0; i < kWeekdayNames.size(); ++i) {
    if (name == kWeekdayNames[i]) return static_cast<int32_t>(i) + 1;
  }
  return -1;
}

// A year text with "mmdd" appended, read as yyyymmdd; nothing when that is no date.
std::optional<TDayNumber> ReadYearDate(std::string_view year, std::string_view monthDay) {
  const std::string text = std::string(year) + std::string(monthDay);
  TDayNumber day = 0;
  if (!TryEncodeDate(ParseInt(CopyRange(text, 1, 4), 0), ParseInt(CopyRange(text, 5, 6), 0),
                     ParseInt(CopyRange(text, 7, 8), 0), day)) {
    return std::nullopt;
  }
  return day;
}

// The years of validity; false when a year given does not make a date.
bool ReadYears(const TxmlList& date, TSpecialDays& rule) {
  std::string start = date.Attribute("start");
  std::string end = date.Attribute("end");
  const std::string year = date.Attribute("year");
  if (!year.empty()) start = end = year;
  const std::optional<TDayNumber> first = start.empty() ? EncodeDate(1, 1, 1) : ReadYearDate(start, "0101");
  const std::optional<TDayNumber> last = end.empty() ? EncodeDate(2999, 12, 31) : ReadYearDate(end, "1231");
  if (!first || !last) return false;
  rule.start = *first;
  rule.end = *last;
  return true;
}

void ReadNamedDay(const TxmlList& namedDay, std::vector<TSpecialDays>& rules) {
  TSpecialDays rule;
  rule.name = namedDay.Text();
  rule.mean = namedDay.Attribute("mean");
  rule.kind = namedDay.TagName();
  for (int i = 0; i < namedDay.Count(); ++i) {
    const TxmlList& date = namedDay.Items(i);
    if (date.TagName() != "date") continue;
    if (!ReadYears(date, rule)) continue;
    rule.ecliptic = ReadInteger(date, "ecliptic");
    rule.dayoftheweek = ReadWeekday(date);
    rule.times = ReadInteger(date, "times");
    rule.month = ReadInteger(date, "month");
    rule.day = ReadInteger(date, "day");
    rules.push_back(rule);
  }
}

}  // namespace

std::vector<TSpecialDays> ReadHolidayRules(std::string_view document) {
  TxmlList root;
  root.ParseText(document);
  std::vector<TSpecialDays> rules;
  if (root.TagName() != "specialday") return rules;
  for (int i = 0; i < root.Count(); ++i) {
    const TxmlList& namedDay = root.Items(i);
    if (!namedDay.IsTextNode()) ReadNamedDay(namedDay, rules);
  }
  return rules;
}

}  // namespace kzm
