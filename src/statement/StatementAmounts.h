#pragma once

// Amounts as statement files write them: "1,234" (quoted in the file), "-1,234", "＋１２３４",
// "¥1,234", "￥1,234", "1,234円", "▲1,234" and "△1,234" (minus, as banks mark it), and
// "1234.00". Full-width digits and signs are read as their ASCII forms.

#include <cstdint>
#include <string_view>

namespace kzm {

enum class TAmountRead : uint8_t {
  arEmpty,  // blank (or a lone "-", as some banks write for nothing): no amount in the column
  arValue,  // value holds the amount
  arBad,    // something is there that is no amount, or one beyond ±2,147,483,647
};

[[nodiscard]] TAmountRead ReadStatementAmount(std::string_view text, int32_t& value);

}  // namespace kzm
