#include "controls/CanvasRoutines.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>
#include <QString>

namespace kzm::ui {

namespace {

// Corners rounded by four pixels: the edges stop four pixels short of each corner and two
// short strokes one pixel inside close the gap.
void RoundedFrame(QPainter& p, int l, int t, int r, int b) {
  // On a small rectangle an edge may vanish; it is never drawn backwards.
  if (l + 4 <= r - 4) {
    p.drawLine(l + 4, t, r - 4, t);
    p.drawLine(l + 4, b, r - 4, b);
  }
  if (t + 4 <= b - 4) {
    p.drawLine(l, t + 4, l, b - 4);
    p.drawLine(r, t + 4, r, b - 4);
  }
  const struct {
    int x, y, dx, dy;  // corner and the direction into the rectangle
  } corners[] = {{l, t, 1, 1}, {r, t, -1, 1}, {l, b, 1, -1}, {r, b, -1, -1}};
  for (const auto& c : corners) {
    p.drawLine(c.x + 2 * c.dx, c.y + c.dy, c.x + 3 * c.dx, c.y + c.dy);
    p.drawLine(c.x + c.dx, c.y + 2 * c.dy, c.x + c.dx, c.y + 3 * c.dy);
  }
}

}  // namespace

void DrawFrameRect(QPainter& painter, const TRect& rect, int corner) {
  painter.save();
  painter.setBrush(Qt::NoBrush);
  painter.setRenderHint(QPainter::Antialiasing, false);
  const int l = rect.left, t = rect.top, r = rect.right - 1, b = rect.bottom - 1;
  if (corner >= 1 && corner <= 3) {
    const int c = corner;
    painter.drawPolygon(QPolygon({QPoint(l + c, t), QPoint(r - c, t), QPoint(r, t + c), QPoint(r, b - c),
                                  QPoint(r - c, b), QPoint(l + c, b), QPoint(l, b - c), QPoint(l, t + c)}));
  } else if (corner == 4) {
    RoundedFrame(painter, l, t, r, b);
  } else {
    painter.drawRect(QRect(l, t, r - l, b - t));
  }
  painter.restore();
}

void DrawTextLines(QPainter& painter, int x, int y, const std::string& text) {
  const QFontMetrics metrics(painter.font());
  const int step = metrics.height() + 2;
  const QStringList lines = QString::fromStdString(text).remove(QLatin1Char('\r')).split(QLatin1Char('\n'));
  for (int i = 0; i < lines.size(); ++i) painter.drawText(QPoint(x, y + i * step + metrics.ascent()), lines[i]);
}

QImage BitmapAsImage(TBitmap& bitmap) {
  return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                bitmap.Is32() ? QImage::Format_ARGB32 : QImage::Format_BGR888);
}

QImage BitmapAsImage(const TBitmap& bitmap) {
  return QImage(bitmap.Bits(), bitmap.Width(), bitmap.Height(), bitmap.Stride(),
                bitmap.Is32() ? QImage::Format_ARGB32 : QImage::Format_BGR888);
}

}  // namespace kzm::ui
