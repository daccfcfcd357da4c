#pragma once

#include <array>
#include <cstdint>

#include "graphics/Bitmap.h"

namespace kzm::test {

using TPixel = std::array<int, 4>;  // blue, green, red, alpha

inline TBitmap Filled32(int w, int h, TPixel p) {
  TBitmap b(w, h, 32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      for (int c = 0; c < 4; ++c) b.Row(y)[4 * x + c] = static_cast<std::uint8_t>(p[c]);
  return b;
}

inline TPixel At(const TBitmap& b, int x, int y) {
  const std::uint8_t* p = b.Row(y) + 4 * x;
  return {p[0], p[1], p[2], p[3]};
}

inline void Put(TBitmap& b, int x, int y, TPixel p) {
  for (int c = 0; c < 4; ++c) b.Row(y)[4 * x + c] = static_cast<std::uint8_t>(p[c]);
}

}  // namespace kzm::test
