#include <QPainter>
#include <QPen>
#include <cmath>
#include <numbers>

#include "controls/RoundButtonLayers.h"

namespace kzm::ui::btn {

namespace {

// One arc of a bevel mask: on the shape inset by `inset`, counter-clockwise from the
// direction of border point `from` to that of `to`, in a grey.
struct TArc {
  int inset;
  int from;
  int to;
  int grey;
};

constexpr TArc kShadeArcs[] = {{1, 2, 7, 0x20}, {1, 1, 8, 0x40}, {0, 1, 8, 0x40},
                               {5, 10, 11, 0x20}, {6, 8, 1, 0x40}, {5, 8, 1, 0x80}};
constexpr TArc kLightArcs[] = {{0, 9, 12, 0x40}, {2, 7, 2, 0x60}, {0, 6, 3, 0x60}, {0, 5, 4, 0x80},
                               {6, 3, 6, 0x40}, {5, 2, 7, 0x60}, {6, 12, 9, 0x60}, {5, 11, 10, 0x70}};

QColor Grey(int level) { return {level, level, level}; }

// The angle QPainter uses for the point of an ellipse that lies in the direction of p from
// the centre (QPainter's arc angles are those of the unstretched circle).
double ArcAngle(const QRectF& box, const TBtnPoint& p) {
  const double rx = box.width() / 2, ry = box.height() / 2;
  const QPointF c = box.center();
  if (rx <= 0 || ry <= 0) return 0;
  return std::atan2(-(p.y - c.y()) / ry, (p.x - c.x()) / rx) * 180 / std::numbers::pi;
}

void DrawArc(QPainter& p, const TBtnShape& shape, const TArc& arc) {
  const QRectF box = InsetBox(shape.rect, arc.inset * shape.scale);
  const double start = ArcAngle(box, shape.Point(arc.from));
  double span = ArcAngle(box, shape.Point(arc.to)) - start;
  while (span <= 0) span += 360;
  p.setPen(QPen(Grey(arc.grey), shape.scale));
  p.drawArc(box, static_cast<int>(std::lround(start * 16)), static_cast<int>(std::lround(span * 16)));
}

void Line(QPainter& p, int x1, int y1, int x2, int y2) { p.drawLine(x1, y1, x2, y2); }

void DrawShadeMask(QPainter& p, const TBtnShape& shape, const TorvBtnSettings& s) {
  const TRect& r = shape.rect;
  const int L = r.left, T = r.top, R = r.right, B = r.bottom, k = shape.scale;
  p.setBrush(Qt::NoBrush);
  if (s.style == TorvBtnStyle::bsCircle) {
    if (!s.flat)
      for (const TArc& arc : kShadeArcs) DrawArc(p, shape, arc);
    p.setPen(QPen(Qt::white, 3 * k));
    p.drawEllipse(InsetBox(r, 3 * k));
  } else {
    if (!s.flat) {
      p.setPen(QPen(Grey(0x80), k));
      Line(p, L + k, T + k, L + k, B - 3 * k);
      Line(p, L + k, T + k, R - 3 * k, T);
      Line(p, L + 5 * k, B - 5 * k, R - 5 * k, B - 5 * k);
      Line(p, R - 5 * k, T + 5 * k, R - 5 * k, B - 5 * k);
    }
    p.setPen(QPen(Qt::white, k));
    p.drawRect(InsetBox(r, 3 * k));
  }
}

void DrawLightMask(QPainter& p, const TBtnShape& shape, const TorvBtnSettings& s) {
  const TRect& r = shape.rect;
  const int L = r.left, T = r.top, R = r.right, B = r.bottom, k = shape.scale;
  p.setBrush(Qt::NoBrush);
  if (s.style == TorvBtnStyle::bsCircle) {
    for (const TArc& arc : kLightArcs) DrawArc(p, shape, arc);
  } else {
    p.setPen(QPen(Grey(0x80), k));
    Line(p, R - k, T + 5 * k, R - k, B - 3 * k);
    Line(p, L + 5 * k, B - k, R - 3 * k, B - k);
    Line(p, L + 5 * k, T + 5 * k, R - 5 * k, T + 5 * k);
    Line(p, L + 5 * k, T + 5 * k, L + 5 * k, B - 5 * k);
  }
}

template <typename Draw>
void LayMask(TBitmap& work, TBitmap& composite, TColor color, Draw draw) {
  FillBitmap32(work, 0);
  {
    QImage image = WorkImage(work);
    QPainter p(&image);
    draw(p);
  }
  HalveBitmap(work);
  TintByMask(composite, work, color);
}

}  // namespace

void LayBevel(TBitmap& work, TBitmap& composite, const TBtnShape& shape, const TorvBtnSettings& s, bool disabled) {
  LayMask(work, composite, disabled ? 0x606060 : 0x000000, [&](QPainter& p) { DrawShadeMask(p, shape, s); });
  if (s.flat) return;
  LayMask(work, composite, disabled ? 0xC0C0C0 : 0xFFFFFF, [&](QPainter& p) { DrawLightMask(p, shape, s); });
}

}  // namespace kzm::ui::btn
