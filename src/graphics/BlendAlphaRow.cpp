#include "graphics/BlendAlphaRow.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "graphics/BlendModes.h"
#include "graphics/CpuFeatures.h"

#if defined(KZM_AVX2_ROUTINES)
#include <immintrin.h>
#endif

namespace kzm::blend {

namespace {

#if defined(__SSE2__)

// x / 255 rounded down in each 16-bit lane; exact for 0 <= x <= 255 · 255.
inline __m128i Div255(__m128i x) {
  const __m128i sum = _mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8));
  return _mm_srli_epi16(sum, 8);
}

// Two pixels widened to 16-bit lanes (blue, green, red, alpha each). The alpha lanes come
// out as the destination's: the caller sets them afterwards.
template <bool Scaled, bool Full>
inline __m128i MixTwo(__m128i d, __m128i s, __m128i opacity) {
  const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(s, 0xFF), 0xFF);
  if constexpr (!Full) alpha = Div255(_mm_mullo_epi16(alpha, opacity));
  const __m128i w = _mm_and_si128(alpha, colourLanes);
  // At most 255 · 255, so the 16-bit lanes never overflow.
  const __m128i mixed =
      _mm_add_epi16(_mm_mullo_epi16(_mm_sub_epi16(_mm_set1_epi16(255), w), d), _mm_mullo_epi16(w, s));
  if constexpr (!Scaled) return Div255(mixed);
  // Shifting by 8 would not give back the source at weight 255 nor the destination at 0.
  const __m128i full = _mm_cmpeq_epi16(w, _mm_set1_epi16(255));
  const __m128i none = _mm_cmpeq_epi16(w, _mm_setzero_si128());
  const __m128i shifted = _mm_andnot_si128(_mm_or_si128(full, none), _mm_srli_epi16(mixed, 8));
  return _mm_or_si128(shifted, _mm_or_si128(_mm_and_si128(full, s), _mm_and_si128(none, d)));
}

template <bool Scaled, bool Full>
int FourAtATime(std::uint8_t* d, const std::uint8_t* s, int count, unsigned opacity) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i alphaBytes = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  const __m128i level = _mm_set1_epi16(static_cast<short>(opacity));
  // The blended alpha is non-zero from this source alpha on; such pixels end up opaque.
  const __m128i visibleFrom = _mm_set1_epi32(static_cast<int>((255 + opacity - 1) / opacity) - 1);
  int i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i src = _mm_loadu_si128(reinterpret_cast<const __m128i*>(s + 4 * i));
    const int transparent = _mm_movemask_epi8(_mm_cmpeq_epi8(src, zero)) & 0x8888;
    if (transparent == 0x8888) continue;
    auto* out = reinterpret_cast<__m128i*>(d + 4 * i);
    if constexpr (Full) {
      const int opaque = _mm_movemask_epi8(_mm_cmpeq_epi8(src, _mm_set1_epi8(-1))) & 0x8888;
      if (opaque == 0x8888) {
        _mm_storeu_si128(out, src);
        continue;
      }
    }
    const __m128i dst = _mm_loadu_si128(out);
    const __m128i lo = MixTwo<Scaled, Full>(_mm_unpacklo_epi8(dst, zero), _mm_unpacklo_epi8(src, zero), level);
    const __m128i hi = MixTwo<Scaled, Full>(_mm_unpackhi_epi8(dst, zero), _mm_unpackhi_epi8(src, zero), level);
    const __m128i visible = _mm_cmpgt_epi32(_mm_srli_epi32(src, 24), visibleFrom);
    _mm_storeu_si128(out, _mm_or_si128(_mm_packus_epi16(lo, hi), _mm_and_si128(visible, alphaBytes)));
  }
  return i;
}

#endif

#if defined(KZM_AVX2_ROUTINES)

// Lays eight pixels as FourAtATime does, for processors that have AVX2. Each channel's
// (255 - w) · d + w · s is one multiply-add of byte pairs: the weights as unsigned bytes, the
// pixels less 128 as signed ones, which keeps the sum within 16 bits.
template <bool Scaled, bool Full>
__attribute__((target("avx2"), always_inline)) inline void LayEight(std::uint8_t* d, __m256i src, unsigned opacity) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i alphaBytes = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const __m256i bytes255 = _mm256_set1_epi8(-1);
  const __m256i bytes128 = _mm256_set1_epi8(-128);
  const __m256i offset = _mm256_set1_epi16(255 * 128);  // what taking 128 off the pixels took off
  const __m256i div255 = _mm256_set1_epi16(-32639);     // x / 255 is (x · 0x8081) >> 23
  // Spreads each pixel's lowest byte over its three colour bytes and clears its alpha byte.
  const __m256i spread = _mm256_setr_epi8(0, 0, 0, -1, 4, 4, 4, -1, 8, 8, 8, -1, 12, 12, 12, -1, 0, 0, 0, -1, 4,
                                          4, 4, -1, 8, 8, 8, -1, 12, 12, 12, -1);
  if (_mm256_testz_si256(src, alphaBytes)) return;
  auto* out = reinterpret_cast<__m256i*>(d);
  if (Full && _mm256_testc_si256(src, alphaBytes)) {
    _mm256_storeu_si256(out, src);
    return;
  }
  // Each pixel's weight: its alpha, times the opacity / 255.
  __m256i alpha = _mm256_srli_epi32(src, 24);
  if (!Full) {
    const __m256i scaled = _mm256_mullo_epi16(alpha, _mm256_set1_epi16(static_cast<short>(opacity)));
    alpha = _mm256_srli_epi16(_mm256_mulhi_epu16(scaled, div255), 7);
  }
  const __m256i weights = _mm256_shuffle_epi8(alpha, spread);
  const __m256i rest = _mm256_xor_si256(weights, bytes255);
  const __m256i dst = _mm256_loadu_si256(out);
  const __m256i signedSrc = _mm256_xor_si256(src, bytes128), signedDst = _mm256_xor_si256(dst, bytes128);
  __m256i halves[2];
  for (int h = 0; h < 2; ++h) {
    const __m256i w = h ? _mm256_unpackhi_epi8(weights, rest) : _mm256_unpacklo_epi8(weights, rest);
    const __m256i p = h ? _mm256_unpackhi_epi8(signedSrc, signedDst) : _mm256_unpacklo_epi8(signedSrc, signedDst);
    const __m256i mixed = _mm256_add_epi16(_mm256_maddubs_epi16(w, p), offset);
    halves[h] = Scaled ? _mm256_srli_epi16(mixed, 8) : _mm256_srli_epi16(_mm256_mulhi_epu16(mixed, div255), 7);
  }
  __m256i result = _mm256_packus_epi16(halves[0], halves[1]);
  if constexpr (Scaled) {
    // Shifting by 8 would not give back the source at weight 255 nor the destination at 0.
    result = _mm256_blendv_epi8(result, src, _mm256_cmpeq_epi8(weights, bytes255));
    result = _mm256_blendv_epi8(result, dst, _mm256_cmpeq_epi8(weights, zero));
  }
  // Visible pixels become opaque; the others keep the destination's alpha.
  const __m256i visible = _mm256_andnot_si256(_mm256_cmpeq_epi32(alpha, zero), alphaBytes);
  _mm256_storeu_si256(out, _mm256_or_si256(result, visible));
}

// Sixteen pixels at a time where they are all transparent or all opaque, which is most of a
// picture, otherwise eight at a time; all rows in one go. Returns how many pixels of each
// row are done.
// Full: at opacity 255, where opaque pixels are copied.
template <bool Scaled, bool Full>
__attribute__((target("avx2"))) int EightAtATime(const TRows& rows, unsigned opacity) {
  const __m256i alphaBytes = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
  const int count = rows.count;
  std::uint8_t* d = rows.dest;
  const std::uint8_t* s = rows.source;
  for (int row = 0; row < rows.rows; ++row, d += rows.destStride, s += rows.sourceStride) {
    int i = 0;
    for (; i + 16 <= count; i += 16) {
      const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 4 * i));
      const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 4 * i + 32));
      if (_mm256_testz_si256(_mm256_or_si256(a, b), alphaBytes)) continue;
      if (Full && _mm256_testc_si256(_mm256_and_si256(a, b), alphaBytes)) {
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 4 * i), a);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(d + 4 * i + 32), b);
        continue;
      }
      LayEight<Scaled, Full>(d + 4 * i, a, opacity);
      LayEight<Scaled, Full>(d + 4 * i + 32, b, opacity);
    }
    if (i + 8 <= count) {
      LayEight<Scaled, Full>(d + 4 * i, _mm256_loadu_si256(reinterpret_cast<const __m256i*>(s + 4 * i)), opacity);
    }
  }
  return count / 8 * 8;
}

#endif

template <bool Scaled>
void Rows(const TRows& rows, unsigned opacity) {
  int vectorised = 0;
#if defined(KZM_AVX2_ROUTINES)
  if (HasAvx2()) {
    vectorised =
        opacity == 255 ? EightAtATime<Scaled, true>(rows, opacity) : EightAtATime<Scaled, false>(rows, opacity);
  }
#endif
  if (vectorised == rows.count) return;
  std::uint8_t* d = rows.dest;
  const std::uint8_t* s = rows.source;
  for (int row = 0; row < rows.rows; ++row, d += rows.destStride, s += rows.sourceStride) {
    int i = vectorised;
#if defined(__SSE2__)
    i += opacity == 255 ? FourAtATime<Scaled, true>(d + 4 * i, s + 4 * i, rows.count - i, opacity)
                        : FourAtATime<Scaled, false>(d + 4 * i, s + 4 * i, rows.count - i, opacity);
#endif
    for (; i < rows.count; ++i) Lay<TDrawType::dtAlpha, Scaled>(d + 4 * i, s + 4 * i, opacity);
  }
}

}  // namespace

void AlphaRows(const TRows& rows, unsigned opacity, bool scaled) {
  if (scaled) {
    Rows<true>(rows, opacity);
  } else {
    Rows<false>(rows, opacity);
  }
}

}  // namespace kzm::blend
