// Any typed text must evaluate without hanging or crashing; a result is a whole number
// within 32 bits, other text, or nothing.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "passbook/AmountExpression.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  (void)kzm::EvaluateAmount(text);
  return 0;
}
