#include "graphics/BitmapRoutines.h"

namespace kzm {

namespace {

// Averages n × n blocks into the top-left corner. Writing pixel (x, y) only overwrites
// pixels already read, so the work is done in place.
void ShrinkInPlace(TBitmap& bitmap, int n) {
  if (!bitmap.Is32() || bitmap.IsEmpty()) return;
  const int outW = bitmap.Width() / n;
  const int outH = bitmap.Height() / n;
  for (int y = 0; y < outH; ++y) {
    for (int x = 0; x < outW; ++x) {
      unsigned sum[4] = {0, 0, 0, 0};
      for (int dy = 0; dy < n; ++dy) {
        const std::uint8_t* p = bitmap.Row(y * n + dy) + 4 * x * n;
        for (int i = 0; i < 4 * n; ++i) sum[i & 3] += p[i];
      }
      std::uint8_t* out = bitmap.Row(y) + 4 * x;
      for (int c = 0; c < 4; ++c) out[c] = static_cast<std::uint8_t>(n == 2 ? sum[c] >> 2 : sum[c] / 9);
    }
  }
}

}  // namespace

void HalveBitmap(TBitmap& bitmap) { ShrinkInPlace(bitmap, 2); }

void ThirdBitmap(TBitmap& bitmap) { ShrinkInPlace(bitmap, 3); }

}  // namespace kzm
