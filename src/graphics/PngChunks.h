#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "graphics/Stream.h"

namespace kzm::png {

// The parts of a PNG file the decoder uses, gathered from its chunks.
struct THeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int bitDepth = 0;
  int colorType = 0;
  int compression = 0;
  int filter = 0;
  int interlace = 0;
};

struct TPalette {
  // Blue, green, red per entry; entries the file does not define stay black.
  std::array<std::array<std::uint8_t, 3>, 256> bgr{};
};

// Checks the signature (throws EPngError) and reads chunks up to and including IHDR.
// False when the stream ends before an IHDR chunk.
[[nodiscard]] bool ReadHeader(TStream& stream, THeader& header);

// Reads the chunks after IHDR: PLTE into palette, every consecutive IDAT from the first one
// appended to data (reading stops after the last of them); everything else is skipped.
void ReadImageData(TStream& stream, TPalette& palette, std::string& data);

}  // namespace kzm::png
