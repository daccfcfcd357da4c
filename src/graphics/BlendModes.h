#pragma once

// The per-channel results of the blend modes and the step that lays a sampled source pixel
// onto a destination pixel. Shared by the unscaled and the scaled drawing.
#include <algorithm>
#include <cstdint>

#include "graphics/BitmapRoutines.h"

namespace kzm::blend {

// Mode result r for destination channel d and source channel s.
template <TDrawType Mode>
inline unsigned Result(unsigned d, unsigned s) {
  if constexpr (Mode == TDrawType::dtAdd) return std::min(d + s, 255u);
  if constexpr (Mode == TDrawType::dtSub) return d > s ? d - s : 0;
  if constexpr (Mode == TDrawType::dtMulti) return s * d / 255;
  if constexpr (Mode == TDrawType::dtDiv) return std::min(d * 255 / (s + 1), 255u);
  if constexpr (Mode == TDrawType::dtScreen) return (255 * d + 255 * s - d * s) / 255;
  if constexpr (Mode == TDrawType::dtOverlay) {
    const int di = static_cast<int>(d), si = static_cast<int>(s);
    return static_cast<unsigned>(di <= 128 ? di + (si - 128) * di / 128 : di + (255 - di) * (si - 128) / 128);
  }
  if constexpr (Mode == TDrawType::dtWhite) return s / 2 + 128;
  if constexpr (Mode == TDrawType::dtBlack) return s / 2;
  return s;  // dtAlpha, dtNone, dtLayered
}

// Lays source pixel s (blue, green, red, alpha) onto d at opacity 1..255. Scaled drawing
// divides by 256 where unscaled drawing divides by 255.
template <TDrawType Mode, bool Scaled>
inline void Lay(std::uint8_t* d, const std::uint8_t* s, unsigned opacity) {
  if constexpr (Mode == TDrawType::dtCopy) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
    d[3] = s[3];
  } else {
    const unsigned alpha = opacity * s[3] / 255;
    if (alpha == 0) return;
    if constexpr (Mode == TDrawType::dtAlphaOver) {
      const unsigned e = d[3] * (255 - alpha) / 255;
      const unsigned total = alpha + e;
      for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>((e * d[c] + alpha * s[c]) / total);
      d[3] = static_cast<std::uint8_t>(total);
    } else {
      if (alpha == 255) {
        for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>(Result<Mode>(d[c], s[c]));
      } else {
        for (int c = 0; c < 3; ++c) {
          const unsigned mixed = (255 - alpha) * d[c] + alpha * Result<Mode>(d[c], s[c]);
          d[c] = static_cast<std::uint8_t>(Scaled ? mixed >> 8 : mixed / 255);
        }
      }
      d[3] = 255;
    }
  }
}

}  // namespace kzm::blend
