#pragma once

// The layers of a round button's picture, each drawn on the double-size work picture and
// laid onto the button's composite. Used by TorvBtnDraw only.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <string>

#include "controls/RoundButtonDraw.h"
#include "controls/UiBasics.h"

namespace kzm::ui::btn {

// The box inset by n on every side as QPainter draws an ellipse or outline into it with an
// aliased pen: the last column and row stay outside, as right and bottom are exclusive.
[[nodiscard]] inline QRectF InsetBox(const TRect& r, int n) {
  return {double(r.left + n), double(r.top + n), double(r.Width() - 2 * n - 1), double(r.Height() - 2 * n - 1)};
}

// The work picture as an opaque image for QPainter, over the same memory. Its alpha bytes
// are meaningless until KeyColorToAlpha or a mask step sets them.
[[nodiscard]] QImage WorkImage(TBitmap& work);

// The flat body in Color laid over the background picture (background capture).
void LayBackgroundShape(TBitmap& work, TBitmap& background, const TBtnShape& shape, const TorvBtnSettings& s,
                        TColor backColor);
// The shaded body with its rim in the state's colours, laid onto the composite.
void LayBody(TBitmap& work, TBitmap& composite, const TBtnShape& shape, const TorvBtnSettings& s, TBtnState state,
             TColor backColor);

struct TCaption {
  const std::string* text = nullptr;  // "\" starts a new line; "&" marks the accelerator
  const QFont* font = nullptr;
  TColor color = 0;                   // already greyed when disabled
  TBtnAlignment alignment = TBtnAlignment::taCenter;
  bool antialiasing = true;
  bool emboss = false;
};
void LayCaption(TBitmap& work, TBitmap& composite, const TCaption& caption);

// Both bevel masks: shade toward black, then light toward white.
void LayBevel(TBitmap& work, TBitmap& composite, const TBtnShape& shape, const TorvBtnSettings& s, bool disabled);

}  // namespace kzm::ui::btn
