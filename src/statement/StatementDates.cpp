#include "statement/StatementDates.h"

#include <cctype>
#include <cstdlib>
#include <string>
#include <vector>

#include "statement/WidthFold.h"

namespace kzm {

namespace {

struct TEra {
  std::string_view name;
  char letter;
  int firstYear;
};

constexpr TEra kEras[] = {
    {"令和", 'R', 2019}, {"平成", 'H', 1989}, {"昭和", 'S', 1926}, {"大正", 'T', 1912}, {"明治", 'M', 1868},
};

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Takes an era name or letter off the front; the first year of the era, 0 when none.
int TakeEra(std::string_view& text) {
  for (const TEra& era : kEras) {
    if (text.starts_with(era.name)) {
      text.remove_prefix(era.name.size());
      return era.firstYear;
    }
    if (!text.empty() && (text[0] == era.letter || text[0] == era.letter + ('a' - 'A')) && text.size() > 1 &&
        (IsDigit(text[1]) || text.substr(1).starts_with("元"))) {
      text.remove_prefix(1);
      return era.firstYear;
    }
  }
  return 0;
}

bool IsSeparator(std::string_view text, size_t& length) {
  for (const std::string_view separator : {"/", "-", ".", "年", "月", "日"}) {
    if (text.starts_with(separator)) {
      length = separator.size();
      return true;
    }
  }
  return false;
}

// The digit groups of a date, with their digit counts; false for anything but digits and
// single separators (a trailing 日 allowed).
bool SplitGroups(std::string_view text, std::vector<int>& numbers, std::vector<size_t>& widths) {
  while (!text.empty()) {
    if (text.starts_with("元")) {  // the first year of an era
      numbers.push_back(1);
      widths.push_back(1);
      text.remove_prefix(std::string_view("元").size());
    } else {
      size_t digits = 0;
      while (digits < text.size() && IsDigit(text[digits])) ++digits;
      if (digits == 0 || digits > 8) return false;
      numbers.push_back(std::atoi(std::string(text.substr(0, digits)).c_str()));
      widths.push_back(digits);
      text.remove_prefix(digits);
    }
    size_t length = 0;
    if (text.empty()) break;
    if (!IsSeparator(text, length)) return false;
    text.remove_prefix(length);
  }
  return !numbers.empty();
}

int FullYear(int year, size_t width, int eraFirst) {
  if (eraFirst != 0) return eraFirst + year - 1;
  return width <= 2 ? WindowYear(year) : year;
}

// No statement reaches before 1900 or far into the future; such a year is a typo, and a day
// number below 1900 would not be one the rest of the program expects from a statement.
constexpr int kFirstYear = 1900;
constexpr int kLastYear = 2199;

TStatementDate FromParts(int year, int month, int dayOfMonth) {
  TStatementDate date;
  if (year < kFirstYear || year > kLastYear || !TryEncodeDate(year, month, dayOfMonth, date.day)) date.day = 0;
  date.month = month;
  date.dayOfMonth = dayOfMonth;
  return date;
}

}  // namespace

TStatementDate ReadStatementDate(std::string_view raw) {
  const std::string folded = NormaliseStatementText(raw);
  std::string_view text = folded;
  const size_t space = text.find_first_of(" T");
  if (space != std::string_view::npos && space > 0) text = text.substr(0, space);
  const int eraFirst = TakeEra(text);
  std::vector<int> numbers;
  std::vector<size_t> widths;
  if (!SplitGroups(text, numbers, widths)) return {};
  if (numbers.size() == 1 && eraFirst == 0 && (widths[0] == 8 || widths[0] == 6)) {
    const int n = numbers[0];
    const int year = widths[0] == 8 ? n / 10000 : FullYear(n / 10000, 2, 0);
    return FromParts(year, n / 100 % 100, n % 100);
  }
  if (numbers.size() == 3) return FromParts(FullYear(numbers[0], widths[0], eraFirst), numbers[1], numbers[2]);
  if (numbers.size() == 2 && eraFirst == 0 && widths[0] <= 2 && widths[1] <= 2) {
    TStatementDate date;
    if (!IsValidDate(2000, numbers[0], numbers[1])) return {};  // 2000 was a leap year: 2/29 passes
    date.yearMissing = true;
    date.month = numbers[0];
    date.dayOfMonth = numbers[1];
    return date;
  }
  return {};
}

TDayNumber NearestDate(int month, int dayOfMonth, TDayNumber reference) {
  const int year = DecodeDate(reference).year;
  TDayNumber best = 0;
  for (const int candidate : {year, year - 1, year + 1}) {
    TDayNumber day = 0;
    if (candidate < kFirstYear || candidate > kLastYear || !TryEncodeDate(candidate, month, dayOfMonth, day)) continue;
    if (best == 0 || std::abs(day - reference) < std::abs(best - reference)) best = day;
  }
  return best;
}

TDayNumber LatestDateNotAfter(int month, int dayOfMonth, TDayNumber notAfter) {
  const int year = DecodeDate(notAfter).year;
  for (const int candidate : {year, year - 1}) {
    TDayNumber day = 0;
    if (candidate < kFirstYear || candidate > kLastYear || !TryEncodeDate(candidate, month, dayOfMonth, day)) continue;
    if (day <= notAfter) return day;
  }
  // 29 February of a year that has none: the leap year before, within four years.
  for (int candidate = year - 2; candidate >= year - 4 && candidate >= kFirstYear; --candidate) {
    TDayNumber day = 0;
    if (TryEncodeDate(candidate, month, dayOfMonth, day)) return day;
  }
  return 0;
}

TDayNumber DateNamedInText(std::string_view raw) {
  const std::string folded = NormaliseStatementText(raw);
  std::string_view text = folded;
  for (size_t pos = 0; pos < text.size(); ++pos) {
    // A number or era letter inside a word ("No.12026", "AR5") names no year.
    if (pos > 0 && std::isalnum(static_cast<unsigned char>(text[pos - 1]))) continue;
    std::string_view rest = text.substr(pos);
    const int eraFirst = TakeEra(rest);
    size_t digits = 0;
    while (digits < rest.size() && IsDigit(rest[digits])) ++digits;
    if (digits == 0 || (eraFirst == 0 && digits != 4)) continue;
    if (eraFirst != 0 && digits > 2) continue;
    const int number = std::atoi(std::string(rest.substr(0, digits)).c_str());
    const int year = eraFirst != 0 ? eraFirst + number - 1 : number;
    if (year < kFirstYear || year > kLastYear) continue;
    rest.remove_prefix(digits);
    size_t length = 0;
    int month = 1;
    if (IsSeparator(rest, length)) {
      rest.remove_prefix(length);
      size_t monthDigits = 0;
      while (monthDigits < rest.size() && monthDigits < 2 && IsDigit(rest[monthDigits])) ++monthDigits;
      const int named = monthDigits > 0 ? std::atoi(std::string(rest.substr(0, monthDigits)).c_str()) : 0;
      if (named >= 1 && named <= 12) month = named;
    }
    return EncodeDate(year, month, 1);
  }
  return 0;
}

}  // namespace kzm
