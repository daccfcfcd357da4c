#pragma once

#include <cstdint>

namespace kzm::blend {

// Lays count source pixels onto count destination pixels in mode dtAlpha at opacity 1..255,
// with exactly the results of Lay<dtAlpha, scaled> pixel by pixel, several pixels at a time.
// Scaled drawing divides by 256 where unscaled drawing divides by 255.
void AlphaRow(std::uint8_t* d, const std::uint8_t* s, int count, unsigned opacity, bool scaled);

}  // namespace kzm::blend
