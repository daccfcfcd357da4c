#pragma once

// The form helper's rules over rectangles, kept apart from the widgets so that they read
// (and test) as plain arithmetic. Rectangles are screen pixels; right and bottom exclusive.

#include "foundation/WindowPlacement.h"

#include <array>
#include <cstdint>

namespace kzm::ui {

// Where the window goes after the user moved or resized it: within px pixels (strictly) of
// a work-area edge it snaps to that edge; top before bottom, left before right. px <= 0 is
// off.
[[nodiscard]] TWindowRect SnapToWorkArea(const TWindowRect& window, const TWindowRect& workArea, int px);

// The edges a pointer at (x, y) grabs when the window's outer 5 pixels act as a resize
// border.
enum class TResizeBand : uint8_t {
  rbNone,
  rbTop,
  rbBottom,
  rbLeft,
  rbRight,
  rbTopLeft,
  rbTopRight,
  rbBottomLeft,
  rbBottomRight,
};
inline constexpr int kResizeBandWidth = 5;
[[nodiscard]] TResizeBand ResizeBandAt(int x, int y, const TWindowRect& window);

// The rounded shape of a width × height window: four overlapping rectangles in window
// coordinates, cutting a small staircase off each corner.
[[nodiscard]] std::array<TWindowRect, 4> RoundedCornerRects(int width, int height);

// True when (x, y) lies strictly inside child (its border lines do not count).
[[nodiscard]] bool StrictlyInside(int x, int y, const TWindowRect& child);

}  // namespace kzm::ui
