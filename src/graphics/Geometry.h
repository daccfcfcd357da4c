#pragma once

#include "foundation/Color.h"

namespace kzm {

// A rectangle with right and bottom exclusive.
struct TRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  [[nodiscard]] constexpr int Width() const { return right - left; }
  [[nodiscard]] constexpr int Height() const { return bottom - top; }
  [[nodiscard]] constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
  friend constexpr bool operator==(const TRect&, const TRect&) = default;
};

}  // namespace kzm
