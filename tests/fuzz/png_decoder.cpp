// Any bytes through the PNG decoder: an error is fine, a crash or a huge allocation is not.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/Errors.h"
#include "graphics/PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  kzm::TMemoryStream stream(std::string_view(reinterpret_cast<const char*>(data), size));
  kzm::TBitmap bitmap;
  try {
    kzm::LoadPngStream(bitmap, stream);
  } catch (const kzm::EkzmError&) {
  }
  return 0;
}
