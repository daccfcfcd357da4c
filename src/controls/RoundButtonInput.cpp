#include "controls/RoundButtonInput.h"

#include <cassert>
#include <utility>

namespace kzm::ui {

TorvBtnInput::TorvBtnInput(std::unique_ptr<TorvRepeatTimer> timer) { SetTimer(std::move(timer)); }

void TorvBtnInput::SetTimer(std::unique_ptr<TorvRepeatTimer> timer) {
  assert(timer);
  if (m_timer) m_timer->Stop();
  m_timer = std::move(timer);
  m_timer->OnTick = [this] { Tick(); };
}

void TorvBtnInput::SetClickRepeat(bool repeat) {
  m_clickRepeat = repeat;
  if (!repeat) m_timer->Stop();
}

void TorvBtnInput::SetEnabled(bool enabled) {
  if (enabled == m_enabled) return;
  m_enabled = enabled;
  if (!enabled) {
    m_timer->Stop();
    m_pressedByMouse = false;
    m_pressedByKey = false;
  }
  Repaint();
}

TBtnState TorvBtnInput::State(bool focused) const {
  if (!m_enabled) return kBtnDisabled;
  if (Pressed()) return kBtnPressed;
  if (m_hover) return kBtnHover;
  if (focused) return kBtnFocus;
  return kBtnNormal;
}

void TorvBtnInput::MouseEnter() {
  m_hover = true;
  Repaint();
}

void TorvBtnInput::MouseLeave() {
  m_timer->Stop();
  if (!m_hover) return;
  m_hover = false;
  m_pressedByMouse = false;
  Repaint();
}

void TorvBtnInput::MouseDown(bool leftButton) {
  if (!leftButton || !m_enabled || Pressed()) return;
  m_pressedByMouse = true;
  if (m_clickRepeat) m_timer->Start(kFirstRepeatMs);
  Repaint();
}

void TorvBtnInput::MouseUp(bool leftButton, bool inside) {
  if (!leftButton || !m_enabled || !m_pressedByMouse) return;
  m_timer->Stop();
  m_pressedByMouse = false;
  Repaint();
  if (inside) Click();
}

void TorvBtnInput::KeyDown() {
  if (!m_enabled) return;
  m_pressedByKey = true;
  Repaint();
}

void TorvBtnInput::KeyUp() {
  if (!m_pressedByKey) return;
  m_pressedByKey = false;
  Repaint();
  if (m_enabled) Click();
}

// The timer is stopped while the click runs, so a slow handler does not pile up ticks, and
// re-armed at the short interval only if the button is still held afterwards.
void TorvBtnInput::Tick() {
  m_timer->Stop();
  if (!m_pressedByMouse || !m_clickRepeat) return;
  Click();
  if (m_pressedByMouse && m_clickRepeat && m_enabled && !m_timer->IsActive()) m_timer->Start(kRepeatMs);
}

void TorvBtnInput::Repaint() {
  if (OnRepaint) OnRepaint();
}

void TorvBtnInput::Click() {
  if (OnClick) OnClick();
}

}  // namespace kzm::ui
