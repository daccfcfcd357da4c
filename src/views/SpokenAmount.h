#pragma once

// An amount as a screen reader should say it. A window may show a below-zero amount only in
// red; a reader does not see colour, so the sign has to be a word.

#include <cstdint>
#include <string>
#include <string_view>

namespace kzm {

// "1,461円", "マイナス 1,461円" below zero, "0円" (UTF-8). Every int64 value, the most
// negative one included.
[[nodiscard]] std::string SpokenAmount(int64_t yen);
// An amount as a cell shows it ("-1,461") said the same way; a text that is no amount (an
// expression being typed, a memo) as it stands.
[[nodiscard]] std::string SpokenAmountText(std::string_view shown);

}  // namespace kzm
