#pragma once

// Where windows go, as plain rules over rectangles; the windows apply the results.

#include <span>

namespace kzm {

struct TPoint {
  int x = 0;
  int y = 0;
  friend bool operator==(const TPoint&, const TPoint&) = default;
};

// A window's place and size (the graphics TRect holds right and bottom instead).
struct TWindowRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  [[nodiscard]] int Right() const { return left + width; }
  [[nodiscard]] int Bottom() const { return top + height; }
  friend bool operator==(const TWindowRect&, const TWindowRect&) = default;
};

// Position for a newly shown window at form so that it does not cover another window's
// exact position: steps 32 pixels right and down past every window standing there,
// wrapping at the work area's right and bottom edges to that window's left or top. Gives
// form unchanged when the program has fewer than 3 windows or no free place is found.
// others are the other windows' positions in window order.
[[nodiscard]] TPoint CascadeForm(TPoint form, std::span<const TPoint> others, const TWindowRect& workArea,
                                 int windowCount);

// Where a width × height window opened from opener goes: centred on it, then moved into the
// work area as far as it fits, its top-left corner first so that the title bar can be reached.
[[nodiscard]] TPoint CentreOn(const TWindowRect& opener, int width, int height, const TWindowRect& workArea);

// Where a window goes so that it can be seen: unchanged when it lies on one of the
// monitors' work areas (a little slack allowed); otherwise shrunk to the screen when larger
// and centred on it.
[[nodiscard]] TWindowRect KeepOnScreen(const TWindowRect& window, std::span<const TWindowRect> workAreas, int screenWidth,
                                 int screenHeight);

}  // namespace kzm
