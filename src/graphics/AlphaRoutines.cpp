#include <algorithm>

#include "foundation/Errors.h"
#include "graphics/BitmapRoutines.h"

namespace kzm {

namespace {

bool Usable(const TBitmap& b) { return b.Is32() && !b.IsEmpty(); }

// Calls visit(pixel, x, y) for every pixel of a 32-bit bitmap.
template <typename F>
void ForEachPixel(TBitmap& bitmap, F visit) {
  for (int y = 0; y < bitmap.Height(); ++y) {
    std::uint8_t* p = bitmap.Row(y);
    for (int x = 0; x < bitmap.Width(); ++x, p += 4) visit(p, x, y);
  }
}

}  // namespace

void FillBitmap32(TBitmap& bitmap, TColor c) {
  if (!bitmap.Is32()) throw EkzmError("32bitBmp以外を塗りつぶそうとしました");
  ForEachPixel(bitmap, [&](std::uint8_t* p, int, int) {
    p[0] = BlueOf(c);
    p[1] = GreenOf(c);
    p[2] = RedOf(c);
    p[3] = AlphaOf(c);
  });
}

void SetBitmapRGB(TBitmap& bitmap, TColor c) {
  if (!Usable(bitmap)) return;
  ForEachPixel(bitmap, [&](std::uint8_t* p, int, int) {
    p[0] = BlueOf(c);
    p[1] = GreenOf(c);
    p[2] = RedOf(c);
  });
}

void SetBitmapAlpha(TBitmap& bitmap, std::uint8_t value) {
  if (!Usable(bitmap)) return;
  ForEachPixel(bitmap, [&](std::uint8_t* p, int, int) { p[3] = value; });
}

void KeyColorToAlpha(TBitmap& bitmap, std::uint8_t value) {
  if (!Usable(bitmap)) return;
  const std::uint8_t* key = bitmap.Row(0);
  const std::uint8_t b = key[0], g = key[1], r = key[2];
  ForEachPixel(bitmap, [&](std::uint8_t* p, int, int) {
    p[3] = p[0] == b && p[1] == g && p[2] == r ? 0 : value;
  });
}

void GradientAlpha(TBitmap& bitmap, int topLeft, int topRight, int bottomRight, int bottomLeft) {
  if (!Usable(bitmap)) return;
  const std::int64_t w = bitmap.Width();
  const std::int64_t h = bitmap.Height();
  ForEachPixel(bitmap, [&](std::uint8_t* p, int xi, int yi) {
    const std::int64_t x = xi, y = yi;
    const std::int64_t f =
        ((topLeft * (w - x) + topRight * x) * (h - y) + bottomLeft * y * (w - x) + bottomRight * y * x) * 256 / (w * h);
    p[3] = static_cast<std::uint8_t>(std::clamp<std::int64_t>(p[3] * f / 65536, 0, 255));
  });
}

}  // namespace kzm
