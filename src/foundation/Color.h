#pragma once

#include <cstdint>

namespace kzm {

// A colour: red in the low byte, then green, then blue, and alpha in the top byte where a
// routine uses one (hexadecimal AABBGGRR). Pixels store the bytes the other way round.
using TColor = std::uint32_t;

[[nodiscard]] constexpr std::uint8_t RedOf(TColor c) { return static_cast<std::uint8_t>(c); }
[[nodiscard]] constexpr std::uint8_t GreenOf(TColor c) { return static_cast<std::uint8_t>(c >> 8); }
[[nodiscard]] constexpr std::uint8_t BlueOf(TColor c) { return static_cast<std::uint8_t>(c >> 16); }
[[nodiscard]] constexpr std::uint8_t AlphaOf(TColor c) { return static_cast<std::uint8_t>(c >> 24); }
[[nodiscard]] constexpr TColor MakeColor(int r, int g, int b, int a = 0) {
  return static_cast<TColor>((r & 255) | (g & 255) << 8 | (b & 255) << 16) |
         static_cast<TColor>(a & 255) << 24;
}

}  // namespace kzm
