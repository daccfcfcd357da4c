#pragma once

#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"

namespace kzm {

// Samples a 32-bit source drawn at another size, in fixed point with 8 fraction bits:
// the weighted average of the covered area when drawn narrower than the source, otherwise
// bilinear interpolation between the four nearest pixels.
class TScaledSampler {
 public:
  TScaledSampler(const TBitmap& source, int placedWidth, int placedHeight, bool mirror);

  // The four bytes of the pixel at offset (x, y) from the placement's top-left.
  void Sample(int x, int y, std::uint8_t out[4]) const;

 private:
  void AreaAverage(int x, int y, std::uint8_t out[4]) const;
  void Bilinear(int x, int y, std::uint8_t out[4]) const;
  [[nodiscard]] const std::uint8_t* Pixel(int column, int row) const { return m_rows[row] + 4 * column; }

  std::vector<const std::uint8_t*> m_rows;  // row addresses of the source, made once
  std::int64_t m_ws, m_hs, m_wp, m_hp;
  bool m_mirror;
  bool m_average;
};

}  // namespace kzm
