#include "controls/Region.h"

#include <utility>

namespace kzm::ui {

namespace {

// A box from two corners in either order, right and bottom exclusive.
QRect Box(int left, int top, int right, int bottom) {
  if (right < left) std::swap(left, right);
  if (bottom < top) std::swap(top, bottom);
  return {left, top, right - left, bottom - top};
}

}  // namespace

void TRegion::Add(const QRegion& operand, int mode) {
  switch (mode) {
    case kRgnAnd: m_region = m_region.intersected(operand); break;
    case kRgnCopy: m_region = operand; break;
    case kRgnDiff: m_region = m_region.subtracted(operand); break;
    case kRgnOr: m_region = m_region.united(operand); break;
    case kRgnXor: m_region = m_region.xored(operand); break;
    default: throw ERgnError("TRegion.Add: Add Failed");
  }
}

void TRegion::AddRect(int left, int top, int right, int bottom, int mode) {
  Add(QRegion(Box(left, top, right, bottom)), mode);
}

void TRegion::AddEllipse(int left, int top, int right, int bottom, int mode) {
  Add(QRegion(Box(left, top, right, bottom), QRegion::Ellipse), mode);
}

std::vector<TRect> TRegion::Rects() const {
  std::vector<TRect> rects;
  for (const QRect& r : m_region) rects.push_back({r.left(), r.top(), r.left() + r.width(), r.top() + r.height()});
  return rects;
}

}  // namespace kzm::ui
