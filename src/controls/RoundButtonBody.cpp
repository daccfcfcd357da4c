#include <QPainter>
#include <QPen>

#include "controls/CanvasRoutines.h"
#include "controls/RoundButtonLayers.h"

namespace kzm::ui::btn {

namespace {

void Ellipse(QPainter& p, const TRect& r, int inset, TColor fill, TColor pen, int penWidth) {
  p.setBrush(ToQColor(fill));
  p.setPen(QPen(ToQColor(pen), penWidth));
  p.drawEllipse(InsetBox(r, inset));
}

void FillBox(QPainter& p, int l, int t, int r, int b, TColor color) {
  if (r > l && b > t) p.fillRect(QRect(l, t, r - l, b - t), ToQColor(color));
}

// Lays the halved work picture onto the target.
void LayHalved(TBitmap& work, TBitmap& target, TDrawType mode, int opacity) {
  TBlendRequest request;
  request.dest = &target;
  request.source = &work;
  request.placement = {0, 0, work.Width(), work.Height()};
  request.clip = {0, 0, target.Width(), target.Height()};
  request.opacity = opacity;
  request.mode = mode;
  BlendRect(request);
}

}  // namespace

QImage WorkImage(TBitmap& work) {
  QImage image = BitmapAsImage(work);
  image.reinterpretAsFormat(QImage::Format_RGB32);
  return image;
}

void LayBackgroundShape(TBitmap& work, TBitmap& background, const TBtnShape& shape, const TorvBtnSettings& s,
                        TColor backColor) {
  FillBitmap32(work, backColor);
  {
    QImage image = WorkImage(work);
    QPainter p(&image);
    const TRect& r = shape.rect;
    const int k = shape.scale;
    if (s.style == TorvBtnStyle::bsCircle) {
      Ellipse(p, r, 2 * k, s.color, MixColor(s.color, backColor, 128), k);
    } else {
      FillBox(p, r.left + 4 * k, r.top + 4 * k, r.right - 4 * k, r.bottom - 4 * k, MixColor(s.color, backColor, 128));
      FillBox(p, r.left + 5 * k, r.top + 5 * k, r.right - 5 * k, r.bottom - 5 * k, s.color);
    }
  }
  KeyColorToAlpha(work, 255);
  HalveBitmap(work);
  // Over a captured parent image the corners must stay see-through, so the shape is
  // blended there; over a plain colour it replaces the background outright.
  LayHalved(work, background, s.transParent ? TDrawType::dtAlpha : TDrawType::dtCopy, 255);
}

void LayBody(TBitmap& work, TBitmap& composite, const TBtnShape& shape, const TorvBtnSettings& s, TBtnState state,
             TColor backColor) {
  TColor rim = s.color, fill = s.color;
  if (state == kBtnHover) rim = s.colorOver;
  if (state == kBtnFocus) rim = s.colorFocus;
  if (state == kBtnPressed) {
    fill = MixColor(s.color, s.colorDown, 200);
    rim = MixColor(s.colorOver, s.colorDown, 200);
  }
  const int k = shape.scale;
  const int l = (2 * s.focusLineWidth + 3) * k;
  FillBitmap32(work, backColor);
  {
    QImage image = WorkImage(work);
    QPainter p(&image);
    const TRect& r = shape.rect;
    if (s.style == TorvBtnStyle::bsCircle) {
      Ellipse(p, r, 2 * k, rim, MixColor(rim, backColor, 128), 2 * k);
      Ellipse(p, r, l, fill, rim, k);
    } else {
      FillBox(p, r.left + 4 * k, r.top + 4 * k, r.right - 4 * k, r.bottom - 4 * k, rim);
      FillBox(p, r.left + l, r.top + l, r.right - l - 2 * k, r.bottom - l - 2 * k, fill);
    }
  }
  KeyColorToAlpha(work, 255);
  GradientAlpha(work, 64, 192, 255, 192);
  HalveBitmap(work);
  LayHalved(work, composite, s.overDrawType, s.overDrawAlpha);
}

}  // namespace kzm::ui::btn
