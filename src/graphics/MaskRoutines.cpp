#include <algorithm>

#include "graphics/BitmapRoutines.h"

namespace kzm {

void TintByMask(TBitmap& bitmap, const TBitmap& mask, TColor color) {
  if (!bitmap.Is32() || bitmap.Height() == 0 || mask.Height() == 0) return;
  const int w = std::min(bitmap.Width(), mask.Width());
  const int h = std::min(bitmap.Height(), mask.Height());
  const int maskStep = mask.BytesPerPixel();
  const unsigned tint[3] = {BlueOf(color), GreenOf(color), RedOf(color)};
  for (int y = 0; y < h; ++y) {
    std::uint8_t* p = bitmap.Row(y);
    const std::uint8_t* m = mask.Row(y);
    for (int x = 0; x < w; ++x, p += 4, m += maskStep) {
      const unsigned k = m[0];
      for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(((255 - k) * p[c] + k * tint[c]) / 255);
      p[3] = 255;
    }
  }
}

void EmbossByMap(TBitmap& bitmap, const TBitmap& map) {
  if (!bitmap.Is32() || bitmap.IsEmpty() || map.IsEmpty()) return;
  // The map is read around each pixel, so a map that is the bitmap itself is read from a copy.
  const TBitmap copy = &map == &bitmap ? map : TBitmap();
  const TBitmap& source = &map == &bitmap ? copy : map;
  const int w = std::min(bitmap.Width(), source.Width());
  const int h = std::min(bitmap.Height(), source.Height());
  const int step = source.BytesPerPixel();
  for (int y = 1; y < h - 1; ++y) {
    std::uint8_t* p = bitmap.Row(y);
    const std::uint8_t* above = source.Row(y - 1);
    const std::uint8_t* row = source.Row(y);
    const std::uint8_t* below = source.Row(y + 1);
    for (int x = 1; x < w - 1; ++x) {
      const int left = row[(x - 1) * step] / 5;
      const int right = row[(x + 1) * step] / 5;
      const int up = above[x * step] >> 2;
      const int down = below[x * step] >> 2;
      std::uint8_t* px = p + 4 * x;
      for (int c = 0; c < 3; ++c) px[c] = static_cast<std::uint8_t>(std::clamp(px[c] + left + up - right - down, 0, 255));
    }
  }
}

}  // namespace kzm
