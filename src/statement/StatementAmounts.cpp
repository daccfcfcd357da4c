#include "statement/StatementAmounts.h"

#include <cstdint>
#include <string>

#include "statement/WidthFold.h"

namespace kzm {

namespace {

bool TakePrefix(std::string_view& text, std::string_view prefix) {
  if (!text.starts_with(prefix)) return false;
  text.remove_prefix(prefix.size());
  return true;
}

bool TakeSuffix(std::string_view& text, std::string_view suffix) {
  if (!text.ends_with(suffix)) return false;
  text.remove_suffix(suffix.size());
  return true;
}

bool TakeMinus(std::string_view& text) {
  for (const std::string_view minus : {"-", "−", "▲", "△"}) {
    if (TakePrefix(text, minus)) return true;
  }
  return false;
}

// Digits with commas only between digits, then an optional fraction of zeros.
bool ReadDigits(std::string_view text, int64_t& value) {
  const size_t point = text.find('.');
  if (point != std::string_view::npos) {
    const std::string_view fraction = text.substr(point + 1);
    if (fraction.empty() || fraction.find_first_not_of('0') != std::string_view::npos) return false;
    text = text.substr(0, point);
  }
  if (text.empty() || text.front() == ',' || text.back() == ',') return false;
  value = 0;
  char previous = 0;
  for (const char c : text) {
    if (c == ',') {
      if (previous == ',') return false;
    } else if (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');
      if (value > INT32_MAX) return false;
    } else {
      return false;
    }
    previous = c;
  }
  return true;
}

}  // namespace

TAmountRead ReadStatementAmount(std::string_view raw, int32_t& value) {
  std::string folded = FoldWidth(raw);
  std::string compact;
  for (const char c : folded) {
    if (c != ' ' && c != '\t') compact += c;
  }
  std::string_view text = compact;
  if (text.empty() || text == "-") return TAmountRead::arEmpty;
  bool negative = TakeMinus(text);
  if (!negative) TakePrefix(text, "+");
  if (!TakePrefix(text, "¥")) TakePrefix(text, "\\");
  if (!negative) negative = TakeMinus(text);  // "¥-1,000"
  TakeSuffix(text, "円");
  if (!negative && TakeSuffix(text, "-")) negative = true;  // "1,000-" as some card files print it
  int64_t number = 0;
  if (!ReadDigits(text, number)) return TAmountRead::arBad;
  value = static_cast<int32_t>(negative ? -number : number);
  return TAmountRead::arValue;
}

}  // namespace kzm
