// Any bytes decode, and encode back to bytes that decode to the same text, of the same
// length (only duplicate codes may change, to their twin). Any bytes taken as UTF-8 either
// encode or are refused, never crash.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "foundation/Codec.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::string text = kzm::DecodeCp932(bytes);
  std::string back;
  if (!kzm::EncodeCp932(text, back)) std::abort();
  if (back.size() != bytes.size() || kzm::DecodeCp932(back) != text) std::abort();
  std::string out;
  std::string bad;
  if (!kzm::EncodeCp932(bytes, out, &bad) && bad.empty()) std::abort();
  return 0;
}
