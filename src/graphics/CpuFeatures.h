#pragma once

// Vector routines for processors newer than the plain x86-64 the program is built for are
// compiled where the compiler can target them, and chosen at run time.
#if defined(__x86_64__) && defined(__GNUC__)
#define KZM_AVX2_ROUTINES 1
#endif

namespace kzm {

// True when the processor runs AVX2 instructions (asked once).
inline bool HasAvx2() {
#if defined(KZM_AVX2_ROUTINES)
  static const bool has = __builtin_cpu_supports("avx2");
  return has;
#else
  return false;
#endif
}

}  // namespace kzm
