#include "graphics/BlendSampling.h"

#include <algorithm>
#include <cstring>
#include <tuple>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kzm {

// sum / total rounded down, both non-negative, through a cached reciprocal: the product is
// off by at most one, which the two comparisons put right.
class TScaledSampler::TDivider {
 public:
  std::uint8_t Divide(std::int64_t sum, std::int64_t total) {
    if (total != m_total) {
      m_total = total;
      m_inverse = 1.0 / static_cast<double>(total);
    }
    auto q = static_cast<std::int64_t>(static_cast<double>(sum) * m_inverse);
    if (q * total > sum) {
      --q;
    } else if ((q + 1) * total <= sum) {
      ++q;
    }
    return static_cast<std::uint8_t>(q);
  }

 private:
  std::int64_t m_total = 0;
  double m_inverse = 0;
};

TScaledSampler::TScaledSampler(const TSampleGeometry& geometry)
    : m_geometry(geometry),
      m_ws(geometry.sourceWidth),
      m_hs(geometry.sourceHeight),
      m_wp(geometry.placedWidth),
      m_hp(geometry.placedHeight),
      m_mirror(geometry.mirror),
      m_average(geometry.placedWidth < geometry.sourceWidth) {
  if (m_average) {
    PrepareAreaColumns(geometry.firstX, geometry.count);
  } else {
    PrepareBilinearColumns(geometry.firstX, geometry.count);
  }
}

void TScaledSampler::Attach(const TBitmap& source) {
  m_rows.resize(static_cast<std::size_t>(source.Height()));
  for (int y = 0; y < source.Height(); ++y) m_rows[static_cast<std::size_t>(y)] = source.Row(y);
}

void TScaledSampler::SampleRow(int y, std::uint8_t* out) {
  if (m_average) {
    AreaAverageRow(y, out);
  } else {
    BilinearRow(y, out);
  }
}

namespace {

// A row has at most three kinds of pairs (first, middle, last), so one more is kept spare.
constexpr std::size_t kCachedPairs = 4;
// How many times a sampler makes pair weights before it takes them to change with each row.
constexpr int kWeightsMadeAtMost = 2 * static_cast<int>(kCachedPairs);

// (start + step · i) / divisor for i = 0, 1, 2, ..., all non-negative, without a division
// for each i: the remainder is carried along instead.
class TSteppedQuotient {
 public:
  TSteppedQuotient(std::int64_t start, std::int64_t step, std::int64_t divisor)
      : m_quotient(start / divisor),
        m_remainder(start % divisor),
        m_stepQuotient(step / divisor),
        m_stepRemainder(step % divisor),
        m_divisor(divisor) {}

  [[nodiscard]] std::int64_t Value() const { return m_quotient; }
  void Step() {
    m_quotient += m_stepQuotient;
    m_remainder += m_stepRemainder;
    if (m_remainder >= m_divisor) {
      ++m_quotient;
      m_remainder -= m_divisor;
    }
  }

 private:
  std::int64_t m_quotient, m_remainder, m_stepQuotient, m_stepRemainder, m_divisor;
};

}  // namespace

void TScaledSampler::PrepareAreaColumns(int firstX, int count) {
  m_areaColumns.reserve(static_cast<std::size_t>(count));
  m_windowOffsets.reserve(static_cast<std::size_t>(count) + 1);
  m_parts.reserve(static_cast<std::size_t>(count * (m_ws / m_wp + 2)));
  // c0 = ws · 256 · x / wp and c1 = (256 · x + 255) · ws / wp, column after column.
  TSteppedQuotient start(m_ws * 256 * firstX, m_ws * 256, m_wp), end(m_ws * (256 * firstX + 255), m_ws * 256, m_wp);
  for (int i = 0; i < count; ++i, start.Step(), end.Step()) {
    std::int64_t c0 = start.Value();
    std::int64_t c1 = std::min(end.Value(), m_ws * 256 - 1);
    if (m_mirror) {
      // The covered span reflected about the source's middle.
      const std::int64_t last = m_ws * 256 - 1;
      std::tie(c0, c1) = std::pair(last - c1, last - c0);
    }
    const std::int64_t firstCol = c0 >> 8, lastCol = c1 >> 8;
    m_areaColumns.push_back({static_cast<int>(m_parts.size()), static_cast<int>(lastCol - firstCol + 1), 0});
    for (std::int64_t col = firstCol; col <= lastCol; ++col) {
      int first = col == firstCol ? 256 - static_cast<int>(c0 & 255) : 256;
      if (col == lastCol && col != firstCol) first = 0;
      const int second = col == lastCol ? static_cast<int>(c1 & 255) : 0;
      m_parts.push_back({static_cast<int>(4 * col), first, second});
    }
  }
  for (const TAreaColumn& column : m_areaColumns) m_window = std::max(m_window, column.partCount);
  // An even width sums two columns at a time throughout.
  if (m_window % 2 == 1 && m_window < m_ws) ++m_window;
  // Windows at the right edge start early enough to stay inside the row.
  for (TAreaColumn& column : m_areaColumns) {
    const int firstCol = m_parts[static_cast<std::size_t>(column.firstPart)].offset / 4;
    const int start = std::min(firstCol, static_cast<int>(m_ws) - m_window);
    column.windowSkip = firstCol - start;
    m_windowOffsets.push_back(4 * start);
  }
  m_windowOffsets.push_back(m_windowOffsets.back());  // the spare column
  m_pairCache.reserve(kCachedPairs);  // so that the rows' pointers into it stay valid
  // Each pixel weighs at most 256 and is at most 255, so 32-bit sums hold this many.
  const std::int64_t tallest = (m_hs + m_hp - 1) / m_hp + 1;
  m_smallSums = std::int64_t{m_window} * tallest * 256 * 255 < (std::int64_t{1} << 31);
}

const TScaledSampler::TPairWeights& TScaledSampler::PairWeights(int a, int b) {
  for (TPairWeights& kept : m_pairCache) {
    if (kept.a == a && kept.b == b) {
      kept.usedInRow = m_row;
      return kept;
    }
  }
  TPairWeights* slot = nullptr;
  if (m_pairCache.size() < kCachedPairs) {
    slot = &m_pairCache.emplace_back();
  } else {
    // Never one that this row already uses.
    slot = &*std::find_if(m_pairCache.begin(), m_pairCache.end(),
                          [&](const TPairWeights& kept) { return kept.usedInRow != m_row; });
  }
  ++m_weightsMade;
  slot->a = a;
  slot->b = b;
  slot->usedInRow = m_row;
  const std::size_t places = static_cast<std::size_t>(m_window);
  slot->lanes.assign(8 * places * (m_areaColumns.size() + 1), 0);
  slot->totals.resize(m_areaColumns.size());
  for (std::size_t x = 0; x < m_areaColumns.size(); ++x) {
    const TAreaColumn& column = m_areaColumns[x];
    std::int16_t* lane = slot->lanes.data() + 8 * (places * x + static_cast<std::size_t>(column.windowSkip));
    std::int32_t total = 0;
    for (int k = column.firstPart; k < column.firstPart + column.partCount; ++k, lane += 8) {
      const TColumnPart& part = m_parts[static_cast<std::size_t>(k)];
      const int wa = ((part.first * a) >> 8) + ((part.second * a) >> 8);
      const int wb = ((part.first * b) >> 8) + ((part.second * b) >> 8);
      for (int i = 0; i < 8; i += 2) {
        lane[i] = static_cast<std::int16_t>(wa);
        lane[i + 1] = static_cast<std::int16_t>(wb);
      }
      total += wa + wb;
    }
    slot->totals[x] = total;
  }
  return *slot;
}

void TScaledSampler::PrepareReciprocals() {
  const auto sameWeights = [](const TPairWeights* pair, const std::pair<int, int>& kept) {
    return pair->a == kept.first && pair->b == kept.second;
  };
  if (std::equal(m_pairWeights.begin(), m_pairWeights.end(), m_reciprocalsFor.begin(), m_reciprocalsFor.end(),
                 sameWeights)) {
    return;
  }
  m_reciprocalsFor.clear();
  for (const TPairWeights* pair : m_pairWeights) m_reciprocalsFor.emplace_back(pair->a, pair->b);
  // One column more, for the sums that work two columns at a time.
  m_reciprocals.assign(4 * (m_areaColumns.size() + 1), 0.0f);
  m_allReciprocals = true;
  for (std::size_t x = 0; x < m_areaColumns.size(); ++x) {
    std::int64_t total = 0;
    for (const TPairWeights* pair : m_pairWeights) total += pair->totals[x];
    if (total > 0 && total < blend::kReciprocalTotals) {
      std::fill_n(&m_reciprocals[4 * x], 4, 1.0f / static_cast<float>(total));
    } else {
      m_allReciprocals = false;
    }
  }
}

void TScaledSampler::AreaAverageRow(int yi, std::uint8_t* out) {
  const std::int64_t y = yi;
  const std::int64_t r0 = m_hs * (y * 256) / m_hp;
  const std::int64_t r1 = std::min((y * 256 + 255) * m_hs / m_hp, m_hs * 256 - 1);
  const int firstRow = static_cast<int>(r0 >> 8), lastRow = static_cast<int>(r1 >> 8);
  // Row weights: the last row its covered part, the first the rest of it, others all.
  m_rowWeights.clear();
  for (int row = firstRow; row <= lastRow; ++row) {
    int rowWeight = 256;
    if (row == lastRow) {
      rowWeight = static_cast<int>(r1 & 255);
    } else if (row == firstRow) {
      rowWeight = 256 - static_cast<int>(r0 & 255);
    }
    m_rowWeights.push_back({m_rows[static_cast<std::size_t>(row)], rowWeight});
  }
  // Unless the sizes go evenly, the edge rows weigh differently from row to row, and making
  // their weights for each row costs more than summing with them: such a placement sums
  // column by column.
  if (m_weightsMade > kWeightsMadeAtMost) {
    TDivider divider;
    for (const TAreaColumn& column : m_areaColumns) {
      const TColumnPart* parts = m_parts.data() + column.firstPart;
      if (!AverageSmall(parts, column.partCount, out)) AverageLarge(parts, column.partCount, divider, out);
      out += 4;
    }
    return;
  }
  ++m_row;
  m_pairs.clear();
  m_pairWeights.clear();
  for (std::size_t i = 0; i < m_rowWeights.size(); i += 2) {
    const TRowWeight& a = m_rowWeights[i];
    // An odd row out pairs with itself at weight 0.
    const TRowWeight b = i + 1 < m_rowWeights.size() ? m_rowWeights[i + 1] : TRowWeight{a.line, 0};
    const TPairWeights& weights = PairWeights(a.weight, b.weight);
    m_pairs.push_back({a.line, b.line, weights.lanes.data()});
    m_pairWeights.push_back(&weights);
  }
  PrepareReciprocals();
  m_sums.resize(4 * (m_areaColumns.size() + 1));
  blend::AveragePairs({m_pairs.data(), static_cast<int>(m_pairs.size()), m_windowOffsets.data(),
                       static_cast<int>(m_areaColumns.size()), m_window, m_reciprocals.data(), m_sums.data()},
                      out);
  if (m_allReciprocals) return;
  TDivider divider;
  for (std::size_t x = 0; x < m_areaColumns.size(); ++x) {
    if (m_reciprocals[4 * x] > 0) continue;
    const TAreaColumn& column = m_areaColumns[x];
    AverageLarge(m_parts.data() + column.firstPart, column.partCount, divider, out + 4 * x);
  }
}

bool TScaledSampler::AverageSmall(const TColumnPart* parts, int count, std::uint8_t* out) const {
#if defined(__SSE2__)
  // Two source pixels at a time: their channels interleaved in 16-bit lanes and multiplied by
  // their weights in one step, summed in 32-bit lanes (m_smallSums says they cannot overflow).
  if (!m_smallSums) return false;
  const __m128i zero = _mm_setzero_si128();
  __m128i sums = zero;
  int total = 0;
  for (const TRowWeight& row : m_rowWeights) {
    for (int k = 0; k < count; k += 2) {
      const TColumnPart& a = parts[k];
      const TColumnPart& b = parts[k + 1 < count ? k + 1 : k];
      const int wa = ((a.first * row.weight) >> 8) + ((a.second * row.weight) >> 8);
      const int wb = k + 1 < count ? ((b.first * row.weight) >> 8) + ((b.second * row.weight) >> 8) : 0;
      std::int32_t pa, pb;
      std::memcpy(&pa, row.line + a.offset, 4);
      std::memcpy(&pb, row.line + b.offset, 4);
      const __m128i pair = _mm_unpacklo_epi8(_mm_unpacklo_epi8(_mm_cvtsi32_si128(pa), _mm_cvtsi32_si128(pb)), zero);
      sums = _mm_add_epi32(sums, _mm_madd_epi16(pair, _mm_set1_epi32(wa | (wb << 16))));
      total += wa + wb;
    }
  }
  if (total == 0) return false;
  // Dividing doubles and truncating is exact here: the sums are far below 2^52.
  const __m128d divisor = _mm_set1_pd(total);
  const __m128i low = _mm_cvttpd_epi32(_mm_div_pd(_mm_cvtepi32_pd(sums), divisor));
  const __m128i high = _mm_cvttpd_epi32(_mm_div_pd(_mm_cvtepi32_pd(_mm_shuffle_epi32(sums, 0xEE)), divisor));
  const __m128i quotients = _mm_unpacklo_epi64(low, high);
  const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(quotients, zero), zero));
  std::memcpy(out, &bytes, 4);
  return true;
#else
  (void)parts, (void)count, (void)out;
  return false;
#endif
}

void TScaledSampler::AverageLarge(const TColumnPart* parts, int count, TDivider& divider, std::uint8_t* out) const {
  // Separate sums rather than an array, so that they stay in registers.
  std::int64_t blue = 0, green = 0, red = 0, alpha = 0, total = 0;
  for (const TRowWeight& row : m_rowWeights) {
    for (int k = 0; k < count; ++k) {
      const TColumnPart& part = parts[k];
      const std::int64_t w = ((part.first * row.weight) >> 8) + ((part.second * row.weight) >> 8);
      const std::uint8_t* p = row.line + part.offset;
      blue += w * p[0];
      green += w * p[1];
      red += w * p[2];
      alpha += w * p[3];
      total += w;
    }
  }
  if (total == 0) {
    // A sliver too thin to weigh anything (a very tall stretch): take its first pixel.
    std::copy_n(m_rowWeights.front().line + parts[0].offset, 4, out);
    return;
  }
  out[0] = divider.Divide(blue, total);
  out[1] = divider.Divide(green, total);
  out[2] = divider.Divide(red, total);
  out[3] = divider.Divide(alpha, total);
}

void TScaledSampler::PrepareBilinearColumns(int firstX, int count) {
  const int ws = static_cast<int>(m_ws);
  m_bilinearColumns.reserve(static_cast<std::size_t>(count));
  for (std::int64_t x = firstX; x < firstX + count; ++x) {
    const std::int64_t sx = (m_ws - 1) * (x * 256 + 128) / m_wp;
    const int i = static_cast<int>(sx >> 8);
    int col = m_mirror ? ws - 1 - i : i;
    int next = m_mirror ? ws - 2 - i : i + 1;
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
  const std::uint8_t* upper = m_rows[static_cast<std::size_t>(std::min(j, hs - 1))];
  const std::uint8_t* lower = m_rows[static_cast<std::size_t>(std::min(j + 1, hs - 1))];
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
