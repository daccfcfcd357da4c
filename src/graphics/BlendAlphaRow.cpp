#include "graphics/BlendAlphaRow.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "graphics/BlendModes.h"

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

template <bool Scaled>
int Vectorised(std::uint8_t* d, const std::uint8_t* s, int count, unsigned opacity) {
  return opacity == 255 ? FourAtATime<Scaled, true>(d, s, count, opacity)
                        : FourAtATime<Scaled, false>(d, s, count, opacity);
}

#else

template <bool Scaled>
int Vectorised(std::uint8_t*, const std::uint8_t*, int, unsigned) {
  return 0;
}

#endif

template <bool Scaled>
void Row(std::uint8_t* d, const std::uint8_t* s, int count, unsigned opacity) {
  for (int i = Vectorised<Scaled>(d, s, count, opacity); i < count; ++i) {
    Lay<TDrawType::dtAlpha, Scaled>(d + 4 * i, s + 4 * i, opacity);
  }
}

}  // namespace

void AlphaRow(std::uint8_t* d, const std::uint8_t* s, int count, unsigned opacity, bool scaled) {
  if (scaled) {
    Row<true>(d, s, count, opacity);
  } else {
    Row<false>(d, s, count, opacity);
  }
}

}  // namespace kzm::blend
