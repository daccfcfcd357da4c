// Any text as a solid-picture description.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "foundation/Errors.h"
#include "graphics/GraphicSource.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    (void)kzm::TGraphicSource::CreateSolidImage(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const kzm::EkzmError&) {
  }
  return 0;
}
