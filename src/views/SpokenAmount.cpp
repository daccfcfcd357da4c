#include "views/SpokenAmount.h"

#include "foundation/Text.h"

namespace kzm {

std::string SpokenAmount(int64_t yen) {
  std::string digits = FormatThousands(yen);
  if (yen < 0) return "マイナス " + digits.substr(1) + "円";
  return digits + "円";
}

std::string SpokenAmountText(std::string_view shown) {
  std::string digits(shown);
  std::erase(digits, ',');
  int64_t yen = 0;
  if (digits.empty() || !TryParseInt(digits, yen)) return std::string(shown);
  return SpokenAmount(yen);
}

}  // namespace kzm
