#include "graphics/BlendSampling.h"

#include <algorithm>
#include <tuple>
#include <utility>

namespace kzm {

TScaledSampler::TScaledSampler(const TBitmap& source, int placedWidth, int placedHeight, bool mirror)
    : m_ws(source.Width()),
      m_hs(source.Height()),
      m_wp(placedWidth),
      m_hp(placedHeight),
      m_mirror(mirror),
      m_average(placedWidth < source.Width()) {
  m_rows.reserve(static_cast<std::size_t>(source.Height()));
  for (int y = 0; y < source.Height(); ++y) m_rows.push_back(source.Row(y));
}

void TScaledSampler::Sample(int x, int y, std::uint8_t out[4]) const {
  if (m_average) {
    AreaAverage(x, y, out);
  } else {
    Bilinear(x, y, out);
  }
}

void TScaledSampler::AreaAverage(int xi, int yi, std::uint8_t out[4]) const {
  const std::int64_t x = xi, y = yi;
  const std::int64_t r0 = m_hs * (y * 256) / m_hp;
  const std::int64_t r1 = std::min((y * 256 + 255) * m_hs / m_hp, m_hs * 256 - 1);
  std::int64_t c0 = m_ws * (x * 256) / m_wp;
  std::int64_t c1 = std::min((x * 256 + 255) * m_ws / m_wp, m_ws * 256 - 1);
  if (m_mirror) {
    // The covered span reflected about the source's middle.
    const std::int64_t last = m_ws * 256 - 1;
    std::tie(c0, c1) = std::pair(last - c1, last - c0);
  }
  const std::int64_t firstRow = r0 >> 8, lastRow = r1 >> 8;
  const std::int64_t firstCol = c0 >> 8, lastCol = c1 >> 8;
  std::int64_t sum[4] = {0, 0, 0, 0};
  std::int64_t total = 0;
  for (std::int64_t row = firstRow; row <= lastRow; ++row) {
    std::int64_t rowWeight = 256;
    if (row == lastRow) {
      rowWeight = r1 & 255;
    } else if (row == firstRow) {
      rowWeight = 256 - (r0 & 255);
    }
    const std::uint8_t* line = m_rows[static_cast<std::size_t>(row)];
    for (std::int64_t col = firstCol; col <= lastCol; ++col) {
      std::int64_t w = 0;
      if (col == firstCol) w += (256 - (c0 & 255)) * rowWeight / 256;
      if (col == lastCol) w += (c1 & 255) * rowWeight / 256;
      if (col != firstCol && col != lastCol) w = rowWeight;
      const std::uint8_t* p = line + 4 * col;
      for (int c = 0; c < 4; ++c) sum[c] += w * p[c];
      total += w;
    }
  }
  if (total == 0) {
    // A sliver too thin to weigh anything (a very tall stretch): take its first pixel.
    std::copy_n(Pixel(static_cast<int>(firstCol), static_cast<int>(firstRow)), 4, out);
    return;
  }
  for (int c = 0; c < 4; ++c) out[c] = static_cast<std::uint8_t>(sum[c] / total);
}

void TScaledSampler::Bilinear(int xi, int yi, std::uint8_t out[4]) const {
  const std::int64_t sx = (m_ws - 1) * (std::int64_t{xi} * 256 + 128) / m_wp;
  const std::int64_t sy = (m_hs - 1) * (std::int64_t{yi} * 256 + 128) / m_hp;
  const auto fx = static_cast<unsigned>(sx & 255), fy = static_cast<unsigned>(sy & 255);
  const int i = static_cast<int>(sx >> 8), j = static_cast<int>(sy >> 8);
  const int ws = static_cast<int>(m_ws), hs = static_cast<int>(m_hs);
  int col = m_mirror ? ws - 1 - i : i;
  int next = m_mirror ? ws - 2 - i : i + 1;
  // A one-pixel-wide source has no neighbour; the row below the last repeats the last.
  col = std::clamp(col, 0, ws - 1);
  next = std::clamp(next, 0, ws - 1);
  const int row = std::min(j, hs - 1);
  const int below = std::min(j + 1, hs - 1);
  const std::uint8_t* a = Pixel(col, row);
  const std::uint8_t* b = Pixel(next, row);
  const std::uint8_t* c = Pixel(col, below);
  const std::uint8_t* d = Pixel(next, below);
  const unsigned wa = (256 - fx) * (256 - fy), wb = fx * (256 - fy), wc = (256 - fx) * fy, wd = fx * fy;
  for (int k = 0; k < 4; ++k) out[k] = static_cast<std::uint8_t>((wa * a[k] + wb * b[k] + wc * c[k] + wd * d[k]) >> 16);
}

}  // namespace kzm
