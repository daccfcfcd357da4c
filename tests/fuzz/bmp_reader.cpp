// Any bytes through the loader as ".bmp" and as ".jpg".
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/Errors.h"
#include "graphics/GraphicLoader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  for (const char* name : {"a.bmp", "a.jpg"}) {
    kzm::TMemoryStream stream(bytes);
    kzm::TBitmap bitmap;
    try {
      kzm::LoadGraphicByExt(bitmap, name, stream);
    } catch (const kzm::EkzmError&) {
    }
  }
  return 0;
}
