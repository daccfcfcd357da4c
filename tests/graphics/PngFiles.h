#pragma once

// Test helpers: PNG files made by hand (for malformed and edge cases) and by libpng, and
// libpng's decoding of a file converted to the bitmap layout the decoder promises.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "graphics/Bitmap.h"

namespace kzm::test {

// A PNG chunk with its length and a (correct) CRC.
std::string PngChunk(const std::string& type, const std::string& data);
// Signature + IHDR + optional chunks before the data + one IDAT of the zlib-compressed
// scanlines (each row with its filter byte) + IEND.
std::string HandMadePng(std::uint32_t width, std::uint32_t height, int depth, int colorType,
                        const std::string& scanlines, const std::string& beforeData = {}, int interlace = 0,
                        int compression = 0);

// An image for libpng to write: rows of packed samples as PNG stores them (no filter byte).
struct TPngPicture {
  int width = 0;
  int height = 0;
  int depth = 8;
  int colorType = 2;
  std::vector<std::string> rows;
  std::string palette;  // RGB triples for colour type 3
  std::string trns;     // a tRNS chunk's content, if any
};
// Encodes with libpng using only the given filter (PNG_FILTER_* mask).
std::string EncodeWithLibpng(const TPngPicture& picture, int filterMask, int compressionLevel = 6);
// A picture of pseudo-random samples of that kind.
TPngPicture RandomPicture(int width, int height, int depth, int colorType, unsigned seed);

// libpng's decoding converted the way our decoder converts: 24-bit blue, green, red for
// colour types 0, 2, 3 (transparency ignored), 32-bit blue, green, red, alpha for 4 and 6.
// Empty when libpng refuses the file.
std::optional<TBitmap> DecodeWithLibpng(const std::string& bytes);

// Header fields read by libpng: {bit depth, colour type, interlace}; empty if unreadable.
std::optional<std::vector<int>> LibpngHeader(const std::string& bytes);

}  // namespace kzm::test
