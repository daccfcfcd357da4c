#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "archive/Stream.h"

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
  bool found = false;  // the file has a PLTE chunk
};

// Checks the signature (throws EPngError) and reads chunks up to and including IHDR.
// False when the stream ends before an IHDR chunk; an IHDR cut short throws.
[[nodiscard]] bool ReadHeader(TStream& stream, THeader& header);

// Reads the chunks after IHDR up to the first IDAT: PLTE into palette, everything else
// skipped. True when an IDAT was found; the stream is then at its data.
[[nodiscard]] bool FindImageData(TStream& stream, TPalette& palette, std::uint32_t& firstLength);

// The data of consecutive IDAT chunks read as one stream; it ends at the first chunk of
// another type (or the end of the file). Read piecemeal, so a lying chunk length never
// turns into an allocation.
class TImageDataReader {
 public:
  TImageDataReader(TStream& stream, std::uint32_t firstLength) : m_stream(stream), m_left(firstLength) {}
  [[nodiscard]] std::int64_t Read(std::uint8_t* buffer, std::int64_t count);

 private:
  bool NextChunk();

  TStream& m_stream;
  std::int64_t m_left;
  bool m_ended = false;
};

}  // namespace kzm::png
