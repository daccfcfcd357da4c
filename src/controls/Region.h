#pragma once

#include <QRegion>
#include <vector>

#include "foundation/Errors.h"
#include "graphics/Geometry.h"

namespace kzm::ui {

class ERgnError : public EkzmError {
 public:
  using EkzmError::EkzmError;
};

// How an operand is combined with the region.
enum TRegionMode : int {
  kRgnAnd = 0,   // intersect
  kRgnCopy = 1,  // replace by the operand
  kRgnDiff = 2,  // subtract the operand
  kRgnOr = 3,    // add
  kRgnXor = 4,   // in one but not both
};

// An area of the plane made of rectangles, built by combining rectangles, ellipses and
// other regions. Starts empty. A failed operation throws ERgnError and leaves it unchanged.
class TRegion {
 public:
  void Add(const QRegion& operand, int mode);
  void Add(const TRegion& other, int mode) { Add(other.m_region, mode); }
  // Right and bottom exclusive.
  void AddRect(int left, int top, int right, int bottom, int mode);
  void AddRect(const TRect& rect, int mode) { AddRect(rect.left, rect.top, rect.right, rect.bottom, mode); }
  // The ellipse inscribed in the box.
  void AddEllipse(int left, int top, int right, int bottom, int mode);
  void Move(int dx, int dy) { m_region.translate(dx, dy); }

  // A region of the caller's own, for example a window's shape.
  [[nodiscard]] QRegion CopyHandle() const { return m_region; }
  [[nodiscard]] const QRegion& Handle() const { return m_region; }
  [[nodiscard]] bool IsEmpty() const { return m_region.isEmpty(); }
  // The region as non-overlapping rectangles (right and bottom exclusive).
  [[nodiscard]] std::vector<TRect> Rects() const;

 private:
  QRegion m_region;
};

}  // namespace kzm::ui
