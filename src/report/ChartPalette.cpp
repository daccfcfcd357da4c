#include "report/ChartPalette.h"

#include <cstdint>

namespace kzm {

namespace {

constexpr int32_t kFixedColors[] = {0xA0A0FF, 0xA0FFA0, 0xFFA0A0, 0xF0F0A0, 0xF0A0F0, 0xA0F0F0, 0xC080FF,
                                    0xC0FF80, 0xFF80C0, 0x80C0FF, 0x80FFC0, 0xFFC080, 0xA0A0A0};
constexpr int32_t kComponents[] = {0x80, 0xA0, 0xC0, 0xE0, 0xFF};
constexpr int kDrawnColors = 101;

// The linear congruential generator the palette was first drawn with, kept so that the
// colours stay the same.
class TPaletteRandom {
 public:
  int Index5() {
    m_seed = m_seed * 134775813u + 1u;
    return static_cast<int>((static_cast<uint64_t>(m_seed) * 5u) >> 32);
  }

 private:
  uint32_t m_seed = 10;
};

}  // namespace

TIntegerList BuildChartPalette() {
  TIntegerList palette;
  for (int32_t color : kFixedColors) palette.Add(color);
  TPaletteRandom random;
  for (int i = 0; i < kDrawnColors; ++i) {
    const int32_t blue = kComponents[random.Index5()];
    const int32_t green = kComponents[random.Index5()];
    const int32_t red = kComponents[random.Index5()];
    const int32_t color = (blue << 16) | (green << 8) | red;
    if (palette.IndexOf(color) < 0) palette.Add(color);
  }
  return palette;
}

TIntegerList& ChartPalette() {
  static TIntegerList palette = BuildChartPalette();
  return palette;
}

}  // namespace kzm
