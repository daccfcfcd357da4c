#include "ui/analysis/QtChartCanvas.h"

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cassert>

#include "controls/Fonts.h"
#include "controls/UiBasics.h"
#include "graphics/BitmapRoutines.h"
#include "graphics/SpendingGraph.h"

namespace kzm::ui {

namespace {

QString ToQString(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

// Degrees of Qt's arcs (counter-clockwise from three o'clock) for a step of the pie.
double StepToDegrees(int step) { return 90.0 - step * 360.0 / kPieSteps; }

}  // namespace

TQtChartCanvas::TQtChartCanvas(QPainter& painter, bool smoothShapes) : m_painter(painter), m_font(ProgramFont()) {
  m_painter.setRenderHint(QPainter::Antialiasing, smoothShapes);
}

void TQtChartCanvas::FillRect(const TRect& rect, TColor color) {
  m_painter.fillRect(QRect(rect.left, rect.top, rect.Width(), rect.Height()), ToQColor(color));
}

void TQtChartCanvas::FillPie(int cx, int cy, int radius, int from, int to, TColor color) {
  if (radius <= 0 || to <= from) return;
  const QRectF box(cx - radius, cy - radius, 2.0 * radius, 2.0 * radius);
  QPainterPath path;
  if (to - from >= kPieSteps) {
    path.addEllipse(box);
  } else {
    path.moveTo(cx, cy);
    path.arcTo(box, StepToDegrees(from), -(to - from) * 360.0 / kPieSteps);
    path.closeSubpath();
  }
  m_painter.fillPath(path, ToQColor(color));
}

void TQtChartCanvas::FillDisc(int cx, int cy, int radius, TColor color) { FillPie(cx, cy, radius, 0, kPieSteps, color); }

void TQtChartCanvas::DrawLine(int x1, int y1, int x2, int y2, int penWidth, TColor color) {
  m_painter.setPen(QPen(ToQColor(color), std::max(penWidth, 1), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  m_painter.drawLine(x1, y1, x2, y2);
}

void TQtChartCanvas::DrawBox(const TRect& rect, TColor fill, TColor pen, int penWidth) {
  FillRect(rect, fill);
  m_painter.setPen(QPen(ToQColor(pen), std::max(penWidth, 1), Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  m_painter.setBrush(Qt::NoBrush);
  // Straight edges stay crisp even where the curves are smoothed.
  const bool smooth = m_painter.testRenderHint(QPainter::Antialiasing);
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  // Qt outlines one pixel beyond the rectangle's size; the right and bottom edge stay inside.
  m_painter.drawRect(QRect(rect.left, rect.top, rect.Width() - 1, rect.Height() - 1));
  m_painter.setRenderHint(QPainter::Antialiasing, smooth);
}

void TQtChartCanvas::SetFontPixels(int pixels) {
  m_font.setPixelSize(std::max(pixels, 1));
  m_painter.setFont(m_font);
}

void TQtChartCanvas::SetCharHeight(int pixels) { SetFontPixels(pixels); }

void TQtChartCanvas::SetCellHeight(int pixels) {
  // A font's line is taller than its characters; shrink the size until the line fits.
  SetFontPixels(pixels);
  const int line = QFontMetrics(m_font).height();
  if (line > pixels && line > 0) SetFontPixels(pixels * pixels / line);
}

int TQtChartCanvas::TextHeight() { return QFontMetrics(m_font).height(); }

int TQtChartCanvas::TextWidth(std::string_view text) { return QFontMetrics(m_font).horizontalAdvance(ToQString(text)); }

void TQtChartCanvas::TextOut(int x, int y, std::string_view text, TColor color) {
  m_painter.setPen(ToQColor(color));
  m_painter.drawText(QPoint(x, y + QFontMetrics(m_font).ascent()), ToQString(text));
}

void DrawSmoothPie(TSGraph& graph, int side, int factor, TBitmap& bitmap) {
  assert(factor >= 1 && factor <= 3);
  const int large = side * factor;
  if (bitmap.Width() != large || bitmap.Height() != large || !bitmap.Is32()) bitmap.SetSize(large, large, 32);
  {
    // Every pixel is painted opaque, so the bitmap's bytes can be painted as an opaque image.
    QImage image(bitmap.Bits(), large, large, bitmap.Stride(), QImage::Format_RGB32);
    QPainter painter(&image);
    // A pie too large to be drawn larger still should not show stairs along its edges.
    TQtChartCanvas canvas(painter, factor == 1);
    graph.DrawPie(canvas, large, large);
  }
  if (factor == 2) HalveBitmap(bitmap);
  if (factor == 3) ThirdBitmap(bitmap);
}

}  // namespace kzm::ui
