#pragma once

// Where the monthly view's help balloon goes in its left strip.

namespace kzm {

struct TBalloonPlace {
  int left = 0;
  int top = 0;
  int side = 0;  // 0: no room, the balloon is not shown
};

// The balloon is square and stands on the round buttons (buttonsTop), as large as the strip
// (width) allows but never up into the texts above it (textBottom, the first row below
// them), centred across the strip. Less room than minSide shows no balloon: its hint would
// be too small to read.
[[nodiscard]] TBalloonPlace BalloonPlace(int textBottom, int buttonsTop, int width, int minSide);

}  // namespace kzm
