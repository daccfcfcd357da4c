#include "graphics/BlendPairSums.h"

#include <cstring>

#include "graphics/CpuFeatures.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(KZM_AVX2_ROUTINES)
#include <immintrin.h>
#endif

namespace kzm::blend {

namespace {

#if defined(__SSE2__)

// One column at a time: the same pixel of the two rows interleaved in 16-bit lanes and
// multiplied by both rows' weights in one step, two places per load, summed in 32-bit lanes.
// The usual window widths are given as kWindow so that the compiler lays the loop out.
template <int kWindow>
void ColumnAtATime(const TPairSums& work, std::uint8_t* out) {
  const int window = kWindow > 0 ? kWindow : work.window;
  const __m128i zero = _mm_setzero_si128();
  for (int p = 0; p < work.pairCount; ++p) {
    const TPairRows& pair = work.pairs[p];
    const std::int16_t* w = pair.lanes;
    for (int x = 0; x < work.count; ++x) {
      const std::uint8_t* a = pair.a + work.windowOffsets[x];
      const std::uint8_t* b = pair.b + work.windowOffsets[x];
      auto* kept = reinterpret_cast<__m128i*>(work.sums + 4 * x);
      __m128i sum = p == 0 ? zero : _mm_loadu_si128(kept);
      int k = 0;
      for (; k + 2 <= window; k += 2, a += 8, b += 8, w += 16) {
        const __m128i both = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(a)),
                                               _mm_loadl_epi64(reinterpret_cast<const __m128i*>(b)));
        const __m128i first = _mm_madd_epi16(_mm_unpacklo_epi8(both, zero),
                                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(w)));
        const __m128i second = _mm_madd_epi16(_mm_unpackhi_epi8(both, zero),
                                              _mm_loadu_si128(reinterpret_cast<const __m128i*>(w + 8)));
        sum = _mm_add_epi32(sum, _mm_add_epi32(first, second));
      }
      if (k < window) {
        std::int32_t pa, pb;
        std::memcpy(&pa, a, 4);
        std::memcpy(&pb, b, 4);
        const __m128i both = _mm_unpacklo_epi8(_mm_cvtsi32_si128(pa), _mm_cvtsi32_si128(pb));
        sum = _mm_add_epi32(sum, _mm_madd_epi16(_mm_unpacklo_epi8(both, zero),
                                                _mm_loadu_si128(reinterpret_cast<const __m128i*>(w))));
        w += 8;
      }
      if (p + 1 < work.pairCount) {
        _mm_storeu_si128(kept, sum);
        continue;
      }
      // As ReciprocalQuotient, four channels at a time.
      const __m128 half = _mm_add_ps(_mm_cvtepi32_ps(sum), _mm_set1_ps(0.5f));
      const __m128i quotients = _mm_cvttps_epi32(_mm_mul_ps(half, _mm_loadu_ps(work.reciprocals + 4 * x)));
      const int bytes = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(quotients, zero), zero));
      std::memcpy(out + 4 * x, &bytes, 4);
    }
  }
}

#else

void ColumnAtATime(const TPairSums& work, std::uint8_t* out) {
  for (int p = 0; p < work.pairCount; ++p) {
    const TPairRows& pair = work.pairs[p];
    for (int x = 0; x < work.count; ++x) {
      // Columns without a reciprocal are the caller's, and their sums might not fit.
      if (work.reciprocals[4 * x] == 0) continue;
      std::int32_t* sum = work.sums + 4 * x;
      if (p == 0) std::memset(sum, 0, 4 * sizeof(std::int32_t));
      const std::int16_t* w = pair.lanes + 8 * work.window * x;
      for (int k = 0; k < work.window; ++k, w += 8) {
        const std::uint8_t* a = pair.a + work.windowOffsets[x] + 4 * k;
        const std::uint8_t* b = pair.b + work.windowOffsets[x] + 4 * k;
        for (int c = 0; c < 4; ++c) sum[c] += w[2 * c] * a[c] + w[2 * c + 1] * b[c];
      }
      if (p + 1 < work.pairCount) continue;
      for (int c = 0; c < 4; ++c) {
        out[4 * x + c] = static_cast<std::uint8_t>(ReciprocalQuotient(sum[c], work.reciprocals[4 * x + c]));
      }
    }
  }
}

#endif

#if defined(KZM_AVX2_ROUTINES)

// 8 bytes from p and 8 from q in one register.
inline __m128i TwoHalves(const std::uint8_t* p, const std::uint8_t* q) {
  std::int64_t low, high;
  std::memcpy(&low, p, 8);
  std::memcpy(&high, q, 8);
  return _mm_set_epi64x(high, low);
}

// As ColumnAtATime, two columns at a time, for even windows: each column's window places k
// and k + 1 in the two halves of a register, added up at the end.
template <int kWindow>
__attribute__((target("avx2"))) void TwoColumnsAtATime(const TPairSums& work, std::uint8_t* out) {
  // Copied, so that the compiler need not read them again after each store.
  const int window = kWindow > 0 ? kWindow : work.window, count = work.count, pairCount = work.pairCount;
  const int* windowOffsets = work.windowOffsets;
  const float* reciprocals = work.reciprocals;
  std::int32_t* sums = work.sums;
  for (int p = 0; p < pairCount; ++p) {
    const TPairRows pair = work.pairs[p];
    const std::int16_t* w0 = pair.lanes;
    for (int x = 0; x < count; x += 2, w0 += 16 * window) {
      const std::uint8_t* a0 = pair.a + windowOffsets[x];
      const std::uint8_t* a1 = pair.a + windowOffsets[x + 1];
      const std::uint8_t* b0 = pair.b + windowOffsets[x];
      const std::uint8_t* b1 = pair.b + windowOffsets[x + 1];
      const std::int16_t* w1 = w0 + 8 * window;
      // Windows side by side, as when halving, come in one load.
      const bool adjacent = kWindow == 2 && a1 == a0 + 8;
      __m256i sum0 = _mm256_setzero_si256(), sum1 = _mm256_setzero_si256();
      for (int k = 0; k < window; k += 2) {
        const __m128i a = adjacent ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(a0))
                                   : TwoHalves(a0 + 4 * k, a1 + 4 * k);
        const __m128i b = adjacent ? _mm_loadu_si128(reinterpret_cast<const __m128i*>(b0))
                                   : TwoHalves(b0 + 4 * k, b1 + 4 * k);
        const __m256i column0 = _mm256_cvtepu8_epi16(_mm_unpacklo_epi8(a, b));
        const __m256i column1 = _mm256_cvtepu8_epi16(_mm_unpackhi_epi8(a, b));
        sum0 = _mm256_add_epi32(sum0, _mm256_madd_epi16(column0, _mm256_loadu_si256(
                                                                    reinterpret_cast<const __m256i*>(w0 + 8 * k))));
        sum1 = _mm256_add_epi32(sum1, _mm256_madd_epi16(column1, _mm256_loadu_si256(
                                                                    reinterpret_cast<const __m256i*>(w1 + 8 * k))));
      }
      // Column x in the low half, the next in the high half.
      __m256i sum = _mm256_add_epi32(_mm256_permute2x128_si256(sum0, sum1, 0x20),
                                     _mm256_permute2x128_si256(sum0, sum1, 0x31));
      auto* kept = reinterpret_cast<__m256i*>(sums + 4 * x);
      if (p > 0) sum = _mm256_add_epi32(sum, _mm256_loadu_si256(kept));
      if (p + 1 < pairCount) {
        _mm256_storeu_si256(kept, sum);
        continue;
      }
      const __m256 half = _mm256_add_ps(_mm256_cvtepi32_ps(sum), _mm256_set1_ps(0.5f));
      const __m256i quotients = _mm256_cvttps_epi32(_mm256_mul_ps(half, _mm256_loadu_ps(reciprocals + 4 * x)));
      const __m256i bytes = _mm256_packus_epi16(_mm256_packs_epi32(quotients, quotients), _mm256_setzero_si256());
      const int first = _mm256_cvtsi256_si32(bytes);
      std::memcpy(out + 4 * x, &first, 4);
      if (x + 1 < count) {
        const int second = _mm_cvtsi128_si32(_mm256_extracti128_si256(bytes, 1));
        std::memcpy(out + 4 * x + 4, &second, 4);
      }
    }
  }
}

#endif

}  // namespace

void AveragePairs(const TPairSums& work, std::uint8_t* out) {
#if defined(KZM_AVX2_ROUTINES)
  if (work.window % 2 == 0 && HasAvx2()) {
    if (work.window == 2) {
      TwoColumnsAtATime<2>(work, out);
    } else {
      TwoColumnsAtATime<0>(work, out);
    }
    return;
  }
#endif
#if defined(__SSE2__)
  switch (work.window) {
    case 1: ColumnAtATime<1>(work, out); break;
    case 2: ColumnAtATime<2>(work, out); break;
    case 3: ColumnAtATime<3>(work, out); break;
    case 4: ColumnAtATime<4>(work, out); break;
    default: ColumnAtATime<0>(work, out); break;
  }
#else
  ColumnAtATime(work, out);
#endif
}

}  // namespace kzm::blend
