#include "graphics/BlendSampling.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

namespace kzm {

namespace {

#if defined(__SSE2__)
constexpr bool kLanesAvailable = true;
#else
constexpr bool kLanesAvailable = false;
#endif

}  // namespace

TScaledSampler::TScaledSampler(const TSampleGeometry& geometry, const TBitmap& source)
    : m_geometry(geometry),
      m_source(source),
      m_ws(geometry.sourceWidth),
      m_hs(geometry.sourceHeight),
      m_wp(geometry.placedWidth),
      m_hp(geometry.placedHeight) {
  if (m_wp < m_ws) {
    PrepareAreaColumns(geometry.firstX, geometry.count);
  } else {
    PrepareBilinearColumns(geometry.firstX, geometry.count);
  }
}

void TScaledSampler::SampleRow(int y, std::uint8_t* out) {
  if (m_wp < m_ws) {
    AreaAverageRow(y, out);
  } else {
    BilinearRow(y, out);
  }
}

void TScaledSampler::PrepareAreaColumns(int firstX, int count) {
  const std::int64_t last = m_ws * 256 - 1;
  m_areaColumns.reserve(static_cast<std::size_t>(count));
  for (std::int64_t x = firstX; x < firstX + count; ++x) {
    std::int64_t c0 = m_ws * (x * 256) / m_wp;
    std::int64_t c1 = std::min((x * 256 + 255) * m_ws / m_wp, last);
    // Mirrored, the covered span is reflected about the source's middle.
    if (m_geometry.mirror) std::tie(c0, c1) = std::pair(last - c1, last - c0);
    m_areaColumns.push_back({static_cast<int>(c0 >> 8), static_cast<int>(c1 >> 8), 256 - static_cast<int>(c0 & 255),
                             static_cast<int>(c1 & 255)});
  }
  if (m_areaColumns.empty()) return;
  m_firstSourceColumn = std::min(m_areaColumns.front().first, m_areaColumns.back().first);
  m_lastSourceColumn = std::max(m_areaColumns.front().last, m_areaColumns.back().last);
  // A placed pixel's weights add up to less than 256 · (source rows per placed row + 2) ·
  // (source columns per placed column + 2); below 2^16 its sums, at most 255 times that,
  // stay whole numbers in float lanes.
  m_lanes = kLanesAvailable && (m_hs + 2 * m_hp) * (m_ws + 2 * m_wp) < 256 * m_hp * m_wp;
  if (!m_lanes) return;
  const auto span = static_cast<std::size_t>(m_lastSourceColumn - m_firstSourceColumn + 1);
  m_whole.resize(span);
  m_top.resize(span);
  m_bottom.resize(span);
  m_weighted.resize(span);
}

TScaledSampler::TAreaRows TScaledSampler::RowsOf(int yi) const {
  const std::int64_t y = yi;
  const std::int64_t r0 = m_hs * (y * 256) / m_hp;
  const std::int64_t r1 = std::min((y * 256 + 255) * m_hs / m_hp, m_hs * 256 - 1);
  const int top = static_cast<int>(r0 >> 8), bottom = static_cast<int>(r1 >> 8);
  const int b = static_cast<int>(r1 & 255);
  if (top == bottom) return {top, bottom, 0, b};
  return {top, bottom, 256 - static_cast<int>(r0 & 255), b};
}

void TScaledSampler::AreaAverageRow(int y, std::uint8_t* out) {
  const TAreaRows rows = RowsOf(y);
  if (m_lanes) {
    LanesRow(rows, out);
    return;
  }
  for (const TAreaColumn& column : m_areaColumns) {
    std::uint64_t sum[4] = {0, 0, 0, 0}, total = 0;
    for (int r = rows.top; r <= rows.bottom; ++r) {
      const int rowWeight = r == rows.bottom ? rows.b : r == rows.top ? rows.a : 256;
      const std::uint8_t* line = m_source.Row(r);
      for (int c = column.first; c <= column.last; ++c) {
        const auto w = static_cast<std::uint64_t>(ColumnWeight(column, c, rowWeight));
        for (int k = 0; k < 4; ++k) sum[k] += w * line[4 * c + k];
        total += w;
      }
    }
    if (total == 0) {
      // A sliver too thin to weigh anything (a very tall stretch): take its first pixel.
      std::copy_n(m_source.Row(rows.top) + 4 * column.first, 4, out);
    } else {
      for (int k = 0; k < 4; ++k) out[k] = static_cast<std::uint8_t>(sum[k] / total);
    }
    out += 4;
  }
}

void TScaledSampler::PrepareBilinearColumns(int firstX, int count) {
  const int ws = static_cast<int>(m_ws);
  m_bilinearColumns.reserve(static_cast<std::size_t>(count));
  for (std::int64_t x = firstX; x < firstX + count; ++x) {
    const std::int64_t sx = (m_ws - 1) * (x * 256 + 128) / m_wp;
    const int i = static_cast<int>(sx >> 8);
    int col = m_geometry.mirror ? ws - 1 - i : i;
    int next = m_geometry.mirror ? ws - 2 - i : i + 1;
    // A one-pixel-wide source has no neighbour.
    col = std::clamp(col, 0, ws - 1);
    next = std::clamp(next, 0, ws - 1);
    m_bilinearColumns.push_back({4 * col, 4 * next, static_cast<unsigned>(sx & 255)});
  }
}

void TScaledSampler::BilinearRow(int yi, std::uint8_t* out) const {
  const std::int64_t sy = (m_hs - 1) * (std::int64_t{yi} * 256 + 128) / m_hp;
  const auto fy = static_cast<unsigned>(sy & 255);
  const int j = static_cast<int>(sy >> 8), hs = static_cast<int>(m_hs);
  // The row below the last repeats the last.
  const std::uint8_t* upper = m_source.Row(std::min(j, hs - 1));
  const std::uint8_t* lower = m_source.Row(std::min(j + 1, hs - 1));
  for (const TBilinearColumn& column : m_bilinearColumns) {
    const unsigned fx = column.fraction;
    const unsigned wa = (256 - fx) * (256 - fy), wb = fx * (256 - fy), wc = (256 - fx) * fy, wd = fx * fy;
    const std::uint8_t* a = upper + column.offset;
    const std::uint8_t* b = upper + column.nextOffset;
    const std::uint8_t* c = lower + column.offset;
    const std::uint8_t* d = lower + column.nextOffset;
    for (int k = 0; k < 4; ++k) out[k] = static_cast<std::uint8_t>((wa * a[k] + wb * b[k] + wc * c[k] + wd * d[k]) >> 16);
    out += 4;
  }
}

}  // namespace kzm
