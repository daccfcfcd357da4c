#include "controls/RoundButtonShape.h"

#include <algorithm>

namespace kzm::ui {

TBtnShape MakeBtnShape(int width, int height, bool square, int scale) {
  TBtnShape shape;
  shape.scale = scale;
  TRect& r = shape.rect;
  r = {0, 0, width, height};
  if (square) {
    const int side = std::min(width, height);
    r.left = (width - side) / 2;
    r.top = (height - side) / 2;
    r.right = r.left + side;
    r.bottom = r.top + side;
  }
  const int w = r.Width(), h = r.Height();
  const int midX = r.left + w / 2, midY = r.top + h / 2;
  shape.points = {{{r.right - w / 4, r.top},
                   {r.right, r.top + h / 4},
                   {r.right, midY},
                   {r.right, r.bottom - h / 4},
                   {r.right - w / 4, r.bottom},
                   {midX, r.bottom},
                   {r.left + w / 4, r.bottom},
                   {r.left, r.bottom - h / 4},
                   {r.left, midY},
                   {r.left, r.top + h / 4},
                   {r.left + w / 4, r.top},
                   {midX, r.top}}};
  return shape;
}

TRect BtnRegionBox(const TBtnShape& shape, TorvBtnStyle style) {
  const TRect& r = shape.rect;
  const int k = shape.scale;
  if (style == TorvBtnStyle::bsCircle) return {r.left / 2 - k, r.top / 2 - k, r.right / 2 + 2 * k, r.bottom / 2 + 2 * k};
  return {r.left / 2, r.top / 2, r.right / 2, r.bottom / 2};
}

}  // namespace kzm::ui
