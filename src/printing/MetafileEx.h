#pragma once

// TMetafileEx: one recorded page. It is recorded in the printer's pixels: a painter on it
// sees the printer's resolution and page size, so fonts set in points come out at the
// printer's size. Draw plays it back at that scale on any device.

#include <QPicture>

class QPainter;

namespace kzm::ui {

class TMetafileEx : public QPicture {
 public:
  TMetafileEx(int dpiX, int dpiY, int width, int height);

  // Plays the page with its top-left at (x, y) of painter's coordinates, one recorded pixel
  // being one unit there. The painter's clipping is lifted while the page is drawn, so the
  // whole page is drawn, and comes back exactly as it was, also when drawing throws.
  void Draw(QPainter& painter, double x, double y) const;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  int m_dpiX;
  int m_dpiY;
  int m_width;
  int m_height;
};

}  // namespace kzm::ui
