#include "passbook/AmountExpression.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "foundation/Text.h"

namespace kzm {

namespace {

// An operand as a number: empty or malformed text counts as 0.
double OperandValue(std::string_view digits) {
  double value = 0;
  const char* end = digits.data() + digits.size();
  auto [ptr, ec] = std::from_chars(digits.data(), end, value);
  if (ec != std::errc() || ptr != end) return 0;
  return value;
}

std::optional<double> Combine(double left, char op, double right) {
  switch (op) {
    case '*': return left * right;
    case '/': return right == 0 ? 0 : left / right;
    case '+': return left + right;
    case '-': return left - right;
  }
  return std::nullopt;
}

// The truncated result as text, or nothing when it does not fit a 32-bit amount.
std::optional<std::string> ResultText(double value) {
  const double truncated = std::trunc(value);
  if (!(truncated >= std::numeric_limits<int32_t>::min() &&
        truncated <= std::numeric_limits<int32_t>::max())) {
    return std::nullopt;  // also catches NaN and infinities
  }
  return std::to_string(static_cast<int32_t>(truncated));
}

size_t RunStart(const std::string& text, size_t end) {
  size_t start = end;
  while (start > 0 && IsNumberChar(text[start - 1])) --start;
  return start;
}

size_t RunEnd(const std::string& text, size_t start) {
  size_t end = start;
  while (end < text.size() && IsNumberChar(text[end])) ++end;
  return end;
}

// Position of the next occurrence of op that acts as an operator, from pos on. A minus with
// no number before it is a sign: taking it as an operator would rebuild the same text forever.
size_t FindOperator(const std::string& text, char op, size_t pos) {
  for (size_t p = text.find(op, pos); p != std::string::npos; p = text.find(op, p + 1)) {
    if (op != '-' || (p > 0 && IsNumberChar(text[p - 1]))) return p;
  }
  return std::string::npos;
}

// Replaces every occurrence of op ('*', '/', '+' or '-') with the result of the operands
// around it. An operand is the run of number characters next to the operator; an empty or
// malformed one ("1.2.3") counts as 0, and x/0 gives 0. In the "-" pass a minus with no
// number before it is a sign, never an operator; the number right after such a sign is read
// as negative when it is the left operand (so -1-3 gives -4). Empty optional when a result
// does not fit a 32-bit amount.
std::optional<std::string> ApplyOperator(std::string text, char op) {
  for (size_t p = FindOperator(text, op, 0); p != std::string::npos;
       p = FindOperator(text, op, 0)) {
    size_t leftStart = RunStart(text, p);
    const size_t rightEnd = RunEnd(text, p + 1);
    double left = OperandValue(std::string_view(text).substr(leftStart, p - leftStart));
    const double right = OperandValue(std::string_view(text).substr(p + 1, rightEnd - p - 1));
    // A sign in front of the left operand (left by an earlier subtraction: 1-2-3 is -1-3).
    if (op == '-' && leftStart > 0 && text[leftStart - 1] == '-' &&
        (leftStart == 1 || !IsNumberChar(text[leftStart - 2]))) {
      --leftStart;
      left = -left;
    }
    auto result = Combine(left, op, right);
    if (!result) return std::nullopt;
    auto replacement = ResultText(*result);
    if (!replacement) return std::nullopt;
    text.replace(leftStart, rightEnd - leftStart, *replacement);
  }
  return text;
}

}  // namespace

bool IsNumberChar(char c) { return (c >= '0' && c <= '9') || c == '.'; }

std::string EvaluateAmount(std::string_view text) {
  std::optional<std::string> current{std::string(text)};
  for (char op : {'*', '/', '+', '-'}) {
    current = ApplyOperator(std::move(*current), op);
    if (!current) return {};
  }
  return std::move(*current);
}

std::optional<int32_t> ReadTypedAmount(std::string_view text) {
  std::string plain(Trim(text));
  // A backslash is the yen mark of Shift-JIS text.
  for (const std::string_view drop : {",", "\\", "¥", "￥"}) plain = ReplaceAll(plain, drop, "");
  int32_t value = 0;
  if (plain.empty() || !TryParseInt(EvaluateAmount(plain), value)) return std::nullopt;
  return value;
}

std::string BadAmountMessage(std::string_view typed) {
  return "金額「" + std::string(Trim(typed)) + "」が読めません。数字か、1000+200 のような式で入れてください。";
}

}  // namespace kzm
