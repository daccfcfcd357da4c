// Shrinking in float lanes, the four channels of a pixel at a time: down the rows a placed
// row covers first, for each source column, then across the columns of each placed pixel.
// The weights are the exact ones; the sampler uses this only where every sum is a whole
// number float lanes hold exactly.
#include "graphics/BlendSampling.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kzm {

#if defined(__SSE2__)

namespace {

__m128i WholeLanes(const std::uint8_t* pixel) {
  std::int32_t bytes;
  std::memcpy(&bytes, pixel, 4);
  const __m128i zero = _mm_setzero_si128();
  return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(bytes), zero), zero);
}

__m128 Lanes(const std::uint8_t* pixel) { return _mm_cvtepi32_ps(WholeLanes(pixel)); }

}  // namespace

void TScaledSampler::SumColumns(const TAreaRows& rows) {
  const std::size_t from = 4 * static_cast<std::size_t>(m_firstSourceColumn);
  const std::size_t span = m_whole.size();
  // Whole rows add up in integers, converted once at the end.
  m_wholeInRows.assign(span, TWholeLanes{});
  auto* whole = reinterpret_cast<__m128i*>(m_wholeInRows.data());
  for (int r = rows.top + 1; r < rows.bottom; ++r) {
    const std::uint8_t* line = m_source.Row(r) + from;
    for (std::size_t c = 0; c < span; ++c) whole[c] = _mm_add_epi32(whole[c], WholeLanes(line + 4 * c));
  }
  const std::uint8_t* top = m_source.Row(rows.top) + from;
  const std::uint8_t* bottom = m_source.Row(rows.bottom) + from;
  const __m128 a = _mm_set1_ps(static_cast<float>(rows.a)), b = _mm_set1_ps(static_cast<float>(rows.b));
  for (std::size_t c = 0; c < span; ++c) {
    const __m128 w = _mm_cvtepi32_ps(whole[c]), t = Lanes(top + 4 * c), u = Lanes(bottom + 4 * c);
    _mm_store_ps(m_whole[c].channel, w);
    _mm_store_ps(m_top[c].channel, t);
    _mm_store_ps(m_bottom[c].channel, u);
    const __m128 weighted = _mm_add_ps(_mm_mul_ps(_mm_set1_ps(256), w), _mm_add_ps(_mm_mul_ps(a, t), _mm_mul_ps(b, u)));
    _mm_store_ps(m_weighted[c].channel, weighted);
  }
}

void TScaledSampler::LanesRow(const TAreaRows& rows, std::uint8_t* out) {
  SumColumns(rows);
  const int wholeRows = std::max(rows.bottom - rows.top - 1, 0);
  const int wholeColumnTotal = 256 * wholeRows + rows.a + rows.b;
  for (const TAreaColumn& column : m_areaColumns) {
    __m128 sum = _mm_setzero_ps();
    int total = 0;
    // A column in part: its whole rows at its covered fraction, its edge rows at their
    // weights' part, rounded down.
    for (const int c : {column.first, column.last}) {
      const auto i = static_cast<std::size_t>(c - m_firstSourceColumn);
      const int fraction = ColumnWeight(column, c, 256);
      const int a = ColumnWeight(column, c, rows.a), b = ColumnWeight(column, c, rows.b);
      const __m128 whole = _mm_mul_ps(_mm_set1_ps(static_cast<float>(fraction)), _mm_load_ps(m_whole[i].channel));
      const __m128 top = _mm_mul_ps(_mm_set1_ps(static_cast<float>(a)), _mm_load_ps(m_top[i].channel));
      const __m128 bottom = _mm_mul_ps(_mm_set1_ps(static_cast<float>(b)), _mm_load_ps(m_bottom[i].channel));
      sum = _mm_add_ps(sum, _mm_add_ps(whole, _mm_add_ps(top, bottom)));
      total += fraction * wholeRows + a + b;
      if (column.last == column.first) break;
    }
    for (int c = column.first + 1; c < column.last; ++c) {
      sum = _mm_add_ps(sum, _mm_load_ps(m_weighted[static_cast<std::size_t>(c - m_firstSourceColumn)].channel));
      total += wholeColumnTotal;
    }
    if (total == 0) {
      // A sliver too thin to weigh anything (a very tall stretch): take its first pixel.
      std::copy_n(m_source.Row(rows.top) + 4 * column.first, 4, out);
    } else {
      // The quotient of whole numbers below 2^24 by a total below 2^16 rounds to within 2^-17
      // of itself, never up to the next whole number: truncating gives the exact quotient.
      const __m128i quotient = _mm_cvttps_epi32(_mm_div_ps(sum, _mm_set1_ps(static_cast<float>(total))));
      const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(quotient, quotient), quotient);
      const std::int32_t pixel = _mm_cvtsi128_si32(bytes);
      std::memcpy(out, &pixel, 4);
    }
    out += 4;
  }
}

#else

void TScaledSampler::LanesRow(const TAreaRows&, std::uint8_t*) {}

#endif

}  // namespace kzm
