#include "printing/MetafileEx.h"

#include <QPainter>

namespace kzm::ui {

namespace {

// Qt plays a picture back enlarged by the target's resolution over 96 (a page recorded for a
// 1200-dpi printer would come out 12.5 times too large); the painter scales that away.
constexpr double kPictureDpi = 96.0;

// Restores the painter's state (its clipping among it) however the drawing ends.
class TPainterStateGuard {
 public:
  explicit TPainterStateGuard(QPainter& painter) : m_painter(painter) { m_painter.save(); }
  ~TPainterStateGuard() { m_painter.restore(); }
  TPainterStateGuard(const TPainterStateGuard&) = delete;
  TPainterStateGuard& operator=(const TPainterStateGuard&) = delete;

 private:
  QPainter& m_painter;
};

}  // namespace

TMetafileEx::TMetafileEx(int dpiX, int dpiY, int width, int height)
    : m_dpiX(dpiX), m_dpiY(dpiY), m_width(width), m_height(height) {}

int TMetafileEx::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth: return m_width;
    case PdmHeight: return m_height;
    case PdmDpiX:
    case PdmPhysicalDpiX: return m_dpiX;
    case PdmDpiY:
    case PdmPhysicalDpiY: return m_dpiY;
    case PdmWidthMM: return m_dpiX > 0 ? static_cast<int>(m_width * 25.4 / m_dpiX) : 0;
    case PdmHeightMM: return m_dpiY > 0 ? static_cast<int>(m_height * 25.4 / m_dpiY) : 0;
    default: return QPicture::metric(metric);
  }
}

void TMetafileEx::Draw(QPainter& painter, double x, double y) const {
  const TPainterStateGuard guard(painter);
  painter.setClipping(false);
  painter.translate(x, y);
  if (QPaintDevice* device = painter.device()) {
    painter.scale(kPictureDpi / device->logicalDpiX(), kPictureDpi / device->logicalDpiY());
  }
  painter.drawPicture(0, 0, *this);
}

}  // namespace kzm::ui
