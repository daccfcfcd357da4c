#include "printing/PrinterUtils.h"

#include <QPageLayout>
#include <QPrinter>

namespace kzm::ui {

namespace {

double Millimetres(int pixels, int dpi) { return dpi > 0 ? pixels * 25.4 / dpi : 0.0; }

}  // namespace

TPageMetrics GetPageMetrics(const QPrinter& printer) {
  TPageMetrics m;
  const QPageLayout layout = printer.pageLayout();
  m.dpiX = printer.logicalDpiX();
  m.dpiY = printer.logicalDpiY();
  const QRect full = layout.fullRectPixels(printer.resolution());
  const QRect paint = layout.paintRectPixels(printer.resolution());
  m.physicalWidth = full.width();
  m.physicalHeight = full.height();
  m.printableWidth = paint.width();
  m.printableHeight = paint.height();
  m.offsetX = paint.left() - full.left();
  m.offsetY = paint.top() - full.top();
  m.rightMargin = m.physicalWidth - m.printableWidth - m.offsetX;
  m.bottomMargin = m.physicalHeight - m.printableHeight - m.offsetY;

  const QRectF fullMm = layout.fullRect(QPageLayout::Millimeter);
  m.physicalWidthMm = fullMm.width();
  m.physicalHeightMm = fullMm.height();
  m.printableWidthMm = Millimetres(m.printableWidth, m.dpiX);
  m.printableHeightMm = Millimetres(m.printableHeight, m.dpiY);
  m.offsetXMm = Millimetres(m.offsetX, m.dpiX);
  m.offsetYMm = Millimetres(m.offsetY, m.dpiY);
  m.rightMarginMm = Millimetres(m.rightMargin, m.dpiX);
  m.bottomMarginMm = Millimetres(m.bottomMargin, m.dpiY);
  return m;
}

}  // namespace kzm::ui
