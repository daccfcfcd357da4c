#pragma once

#include <string>
#include <string_view>

#include "graphics/Bitmap.h"

namespace kzm {

// Decodes a JPEG picture (baseline or progressive, colour or grey) into a 24-bit bitmap.
// Throws EkzmError when the data cannot be decoded.
void LoadJpegBytes(TBitmap& bitmap, std::string_view bytes);

// Scrambles or unscrambles (the same operation) the bytes of a ".jpx" picture: byte i is
// XOR-ed with k(i), k(0) = kJpxStartKey, k(i+1) = (k(i) + n - i) mod 256, n the length.
inline constexpr unsigned char kJpxStartKey = 0xA7;
void ScrambleJpx(std::string& bytes);

}  // namespace kzm
