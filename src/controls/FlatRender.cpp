// Composing a scene: each node redraws only its dirty region, children in drawing order.
#include <algorithm>

#include "controls/Flat.h"

namespace kzm::ui {

namespace {

void FillRect32(TBitmap& bitmap, const TRect& rect, TColor colorWithAlpha) {
  TRect r = rect;
  IntersectRectInPlace(r, {0, 0, bitmap.Width(), bitmap.Height()});
  const std::uint8_t px[4] = {BlueOf(colorWithAlpha), GreenOf(colorWithAlpha), RedOf(colorWithAlpha),
                              AlphaOf(colorWithAlpha)};
  for (int y = r.top; y < r.bottom; ++y) {
    std::uint8_t* d = bitmap.Row(y) + 4 * r.left;
    for (int x = r.left; x < r.right; ++x, d += 4) std::copy(px, px + 4, d);
  }
}

}  // namespace

void TorvFlat::SortChildren() {
  std::sort(m_children.begin(), m_children.end(), [](const auto& a, const auto& b) {
    return a->m_zOrder != b->m_zOrder ? a->m_zOrder < b->m_zOrder : a->m_insertion < b->m_insertion;
  });
}

void TorvFlat::Render() {
  if (!m_visible) return;
  if (!m_parent && m_dirty && m_mouseEvents && m_hovered && m_pointerSeen) {
    // Nodes may have moved under a still pointer: hover follows them.
    MouseMove(m_lastX, m_lastY);
  }
  Compose();
  if (!m_parent) {
    m_region.Move(m_left, m_top);
    if (m_canvas && !m_region.IsEmpty()) m_canvas->RepaintRegion(m_region);
  }
  m_region = TRegion();
  m_dirty = false;
}

void TorvFlat::Compose() {
  SortChildren();
  if (ShowsPicture()) m_region.AddRect(0, 0, m_width, m_height, kRgnOr);
  for (const auto& child : m_children) {
    if (child->m_dirty) m_region.AddRect(child->BoundsRect(), kRgnOr);
  }
  m_region.AddRect(0, 0, m_width, m_height, kRgnAnd);
  if (m_children.empty()) return;
  m_region.AddRect(0, 0, m_surface.Width(), m_surface.Height(), kRgnAnd);
  const std::vector<TRect> rects = m_region.Rects();
  if (!rects.empty()) FillSurface(rects);
  for (const auto& child : m_children) {
    const bool drawn = child->m_visible && !rects.empty();
    if (drawn) {
      if (!child->m_children.empty()) child->Compose();
      child->DrawInto(m_surface, rects);
    }
    child->ClearDirty(drawn);
  }
}

void TorvFlat::FillSurface(const std::vector<TRect>& rects) {
  if (m_fillBack && m_picture && m_picture->Is32()) {
    const TRect whole{0, 0, m_surface.Width(), m_surface.Height()};
    for (const TRect& r : rects) BlendRect({&m_surface, m_picture.get(), whole, r, 255, TDrawType::dtCopy, false});
    return;
  }
  // Without a background the area is cleared, so what moved away leaves no trace.
  const TColor fill = m_fillBack ? (m_backColor & 0xFFFFFFu) | 0xFF000000u : 0;
  for (const TRect& r : rects) FillRect32(m_surface, r, fill);
}

void TorvFlat::DrawInto(TBitmap& target, const std::vector<TRect>& parentRects) const {
  const TBitmap* source = CurrentImage();
  if (!source || source->IsEmpty() || !source->Is32()) return;
  const TRect placement = BoundsRect();
  for (const TRect& r : parentRects) {
    if (r.right <= placement.left || r.left >= placement.right || r.bottom <= placement.top ||
        r.top >= placement.bottom) {
      continue;
    }
    BlendRect({&target, source, placement, r, m_opacity, m_drawType, m_mirror});
  }
}

void TorvFlat::ClearDirty(bool drawn) {
  m_dirty = false;
  m_region = TRegion();
  if (m_children.empty()) return;
  if (!drawn) {
    // Children that changed while this node was hidden were not composed: redo all later.
    m_region.AddRect(0, 0, m_width, m_height, kRgnOr);
    for (const auto& child : m_children) child->ClearDirty(false);
  }
}

}  // namespace kzm::ui
