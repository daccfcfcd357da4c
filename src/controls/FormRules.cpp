#include "controls/FormRules.h"

namespace kzm::ui {

TRect SnapToWorkArea(const TRect& window, const TRect& workArea, int px) {
  if (px <= 0) return window;
  TRect r = window;
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

TResizeBand ResizeBandAt(int x, int y, const TRect& window) {
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

std::array<TRect, 4> RoundedCornerRects(int width, int height) {
  return {TRect{0, 4, width, height - 8}, TRect{4, 0, width - 8, height}, TRect{2, 1, width - 4, height - 2},
          TRect{1, 2, width - 2, height - 4}};
}

bool StrictlyInside(int x, int y, const TRect& child) {
  return x > child.left && x < child.Right() && y > child.top && y < child.Bottom();
}

}  // namespace kzm::ui
