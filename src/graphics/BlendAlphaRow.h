#pragma once

#include <cstddef>
#include <cstdint>

namespace kzm::blend {

// rows rows of count pixels, each row stride bytes after the one before.
struct TRows {
  std::uint8_t* dest;
  std::ptrdiff_t destStride;
  const std::uint8_t* source;
  std::ptrdiff_t sourceStride;
  int count;
  int rows;
};

// Lays the source pixels onto the destination pixels in mode dtAlpha at opacity 1..255, with
// exactly the results of Lay<dtAlpha, scaled> pixel by pixel, several pixels at a time.
// Scaled drawing divides by 256 where unscaled drawing divides by 255.
void AlphaRows(const TRows& rows, unsigned opacity, bool scaled);

// The same for one row.
inline void AlphaRow(std::uint8_t* d, const std::uint8_t* s, int count, unsigned opacity, bool scaled) {
  AlphaRows({d, 0, s, 0, count, 1}, opacity, scaled);
}

}  // namespace kzm::blend
