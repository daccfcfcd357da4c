#pragma once

#include <array>
#include <cstdint>

#include "graphics/Geometry.h"

namespace kzm::ui {

// The outline of a round button: an ellipse or a box.
enum class TorvBtnStyle : std::uint8_t { bsCircle, bsBox };

struct TBtnPoint {
  int x = 0;
  int y = 0;
  friend constexpr bool operator==(const TBtnPoint&, const TBtnPoint&) = default;
};

// The button's shape in the double-size work picture, with twelve points on its border
// that the bevel arcs start and end at. The points go clockwise in quarter steps from the
// top edge at three quarters of the width; point 1 is points[0].
struct TBtnShape {
  TRect rect;
  // Work pixels to each pixel of the design's lines and insets: 1, or 2 for a button drawn at
  // two device pixels a point, so that its rims and bevels keep their look.
  int scale = 1;
  std::array<TBtnPoint, 12> points{};

  // Border point by its number 1..12.
  [[nodiscard]] const TBtnPoint& Point(int number) const { return points.at(static_cast<std::size_t>(number - 1)); }
};

// The shape over a work picture of width × height, or with square the centred square of
// the shorter side.
[[nodiscard]] TBtnShape MakeBtnShape(int width, int height, bool square, int scale = 1);

// The box (in button pixels, right and bottom exclusive) whose ellipse or rectangle clips
// the button window. The ellipse reaches a little past the halved shape so that its soft
// edge is not cut.
[[nodiscard]] TRect BtnRegionBox(const TBtnShape& shape, TorvBtnStyle style);

}  // namespace kzm::ui
