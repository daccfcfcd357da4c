// Hit tests and mouse routing: each event goes to the topmost node under the pointer.
#include "controls/Flat.h"

namespace kzm::ui {

bool TorvFlat::HitTest(int px, int py) const {
  if (!m_visible) return false;
  const int x = px - m_left;
  const int y = py - m_top;
  const bool inside = x >= 0 && x < m_width && y >= 0 && y < m_height;
  switch (m_hitKind) {
    case kHitEllipse: {
      if (!inside) return false;
      const long a = (200L * x - 100L * m_width) / m_width;
      const long b = (200L * y - 100L * m_height) / m_height;
      return a * a + b * b < 10000;
    }
    case kHitAlpha: {
      if (!inside || !m_picture || m_picture->IsEmpty() || !m_picture->Is32()) return false;
      int column = static_cast<int>(static_cast<long>(x) * m_picture->Width() / m_width);
      const int row = static_cast<int>(static_cast<long>(y) * m_picture->Height() / m_height);
      if (m_mirror) column = m_picture->Width() - 1 - column;
      return m_picture->Row(row)[4 * column + 3] > 128;
    }
    default:
      return inside;
  }
}

TorvFlat* TorvFlat::TargetAt(int x, int y) {
  SortChildren();
  for (auto it = m_children.rbegin(); it != m_children.rend(); ++it) {
    if ((*it)->HitTest(x, y)) return it->get();
  }
  return this;
}

void TorvFlat::MouseEnter() {
  if (m_entered) return;
  m_entered = true;
  if (OnMouseEnter) OnMouseEnter(*this);
  if (m_autoHighlight) SetDrawType(TDrawType::dtWhite);
}

void TorvFlat::MouseMove(int x, int y) {
  if (!m_mouseEvents) return;
  m_lastX = x;
  m_lastY = y;
  m_pointerSeen = true;
  TorvFlat* target = TargetAt(x, y);
  if (target != m_hovered) {
    if (m_hovered && m_hovered != this && IsChild(m_hovered)) m_hovered->MouseLeave();
    if (target == this) MouseEnter();
  }
  m_hovered = target;
  if (target != this) target->MouseMove(x - target->m_left, y - target->m_top);
}

void TorvFlat::MouseLeave() {
  if (!m_mouseEvents) return;
  TorvFlat* hovered = m_hovered;
  m_hovered = nullptr;
  if (hovered && hovered != this && IsChild(hovered)) hovered->MouseLeave();
  if (!m_entered) return;
  m_entered = false;
  m_pressed = false;
  if (OnMouseLeave) OnMouseLeave(*this);
  if (m_autoHighlight) SetDrawType(TDrawType::dtAlpha);
}

void TorvFlat::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (!m_mouseEvents) return;
  TorvFlat* target = TargetAt(x, y);
  if (target != this) {
    m_hovered = target;
    target->MouseDown(button, shift, x - target->m_left, y - target->m_top);
    return;
  }
  m_pressed = true;
  if (m_autoHighlight) SetDrawType(TDrawType::dtBlack);
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TorvFlat::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (!m_mouseEvents) return;
  TorvFlat* target = TargetAt(x, y);
  if (target != this) {
    m_hovered = target;
    target->MouseUp(button, shift, x - target->m_left, y - target->m_top);
    return;
  }
  const bool wasPressed = m_pressed;
  m_pressed = false;
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
  if (wasPressed && OnClick) OnClick(*this);
  if (m_autoHighlight) SetDrawType(TDrawType::dtWhite);
}

}  // namespace kzm::ui
