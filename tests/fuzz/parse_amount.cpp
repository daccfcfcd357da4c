// Any text gives an amount (0 when it is none); an amount formatted with separators reads
// back as itself.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "foundation/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int32_t amount = kzm::ParseAmount(text);
  if (kzm::ParseAmount(kzm::FormatThousands(amount)) != amount) std::abort();
  return 0;
}
