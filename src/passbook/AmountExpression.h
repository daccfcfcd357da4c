#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kzm {

// The small arithmetic typed into an amount cell ("298*3", "1000/3+50"). The evaluator works
// on the text by repeated substitution: no parentheses, and the operators are taken in passes
// ("*" first, then "/", "+", "-"), each pass left to right, every intermediate result truncated
// towards zero. So 8/2*2 is 2 and 10-3+2 is 5. The caller removes "," before evaluating.

// True for "0" to "9" and ".".
[[nodiscard]] bool IsNumberChar(char c);

// All four passes. The text of a whole number when the expression is well formed; other
// text (blanks, letters, "1.5") is left in place for the caller to reject. Empty when a
// result does not fit a 32-bit amount, so the cell shows nothing rather than a wrapped value.
[[nodiscard]] std::string EvaluateAmount(std::string_view text);

// An amount as it is typed anywhere in the program, the daily grid's way: thousands commas
// and yen marks are dropped, then the arithmetic above is done ("¥1,000", "1000+200").
// Empty for blank text, text that is no amount ("abc", "1.5") or a result beyond 32 bits.
[[nodiscard]] std::optional<int32_t> ReadTypedAmount(std::string_view text);
// What a window says when typed is no amount.
[[nodiscard]] std::string BadAmountMessage(std::string_view typed);

}  // namespace kzm
