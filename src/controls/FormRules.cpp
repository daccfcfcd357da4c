#include "controls/FormRules.h"

namespace kzm::ui {

TWindowRect SnapToWorkArea(const TWindowRect& window, const TWindowRect& workArea, int px) {
  if (px <= 0) return window;
  TWindowRect r = window;
  if (r.top > workArea.top - px && r.top < workArea.top + px) {
    r.top = workArea.top;
  } else if (r.Bottom() > workArea.Bottom() - px && r.Bottom() < workArea.Bottom() + px) {
    r.top = workArea.Bottom() - r.height;
  }
  if (r.left > workArea.left - px && r.left < workArea.left + px) {
    r.left = workArea.left;
  } else if (r.Right() > workArea.Right() - px && r.Right() < workArea.Right() + px) {
    r.left = workArea.Right() - r.width;
  }
  return r;
}

TResizeBand ResizeBandAt(int x, int y, const TWindowRect& window) {
  const bool bottom = y > window.Bottom() - kResizeBandWidth;
  const bool top = !bottom && y < window.top + kResizeBandWidth;
  const bool right = x > window.Right() - kResizeBandWidth;
  const bool left = !right && x < window.left + kResizeBandWidth;
  if (top) return left ? TResizeBand::rbTopLeft : right ? TResizeBand::rbTopRight : TResizeBand::rbTop;
  if (bottom) return left ? TResizeBand::rbBottomLeft : right ? TResizeBand::rbBottomRight : TResizeBand::rbBottom;
  if (left) return TResizeBand::rbLeft;
  if (right) return TResizeBand::rbRight;
  return TResizeBand::rbNone;
}

std::array<TWindowRect, 4> RoundedCornerRects(int width, int height) {
  return {TWindowRect{0, 4, width, height - 8}, TWindowRect{4, 0, width - 8, height}, TWindowRect{2, 1, width - 4, height - 2},
          TWindowRect{1, 2, width - 2, height - 4}};
}

bool StrictlyInside(int x, int y, const TWindowRect& child) {
  return x > child.left && x < child.Right() && y > child.top && y < child.Bottom();
}

}  // namespace kzm::ui
