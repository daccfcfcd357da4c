#pragma once

#include <functional>
#include <memory>

namespace kzm::ui {

// The timer that repeats a held button's click. The button starts, re-arms and stops it;
// tests put in one whose time they move by hand.
class TorvRepeatTimer {
 public:
  virtual ~TorvRepeatTimer() = default;
  // (Re)starts: the first tick comes intervalMs from now, then one every intervalMs.
  virtual void Start(int intervalMs) = 0;
  virtual void Stop() = 0;
  [[nodiscard]] virtual bool IsActive() const = 0;

  std::function<void()> OnTick;
};

// The painting state of a button.
enum TBtnState : int {
  kBtnNormal = 0,
  kBtnHover = 1,
  kBtnFocus = 2,
  kBtnPressed = 3,
  kBtnDisabled = 4,
};

// Hover, press and repeat of a round button, apart from any window so that tests can drive
// it. The window reports pointer and key events; this decides the state, when to repaint
// and when the button clicks.
class TorvBtnInput {
 public:
  static constexpr int kFirstRepeatMs = 500;
  static constexpr int kRepeatMs = 80;

  explicit TorvBtnInput(std::unique_ptr<TorvRepeatTimer> timer);

  std::function<void()> OnClick;
  std::function<void()> OnRepaint;

  // The timer is only used while ClickRepeat is on.
  void SetTimer(std::unique_ptr<TorvRepeatTimer> timer);
  [[nodiscard]] TorvRepeatTimer& Timer() { return *m_timer; }

  [[nodiscard]] bool ClickRepeat() const { return m_clickRepeat; }
  void SetClickRepeat(bool repeat);
  [[nodiscard]] bool Enabled() const { return m_enabled; }
  // Disabling lets go of a press, so a disabled button never keeps repeating.
  void SetEnabled(bool enabled);

  [[nodiscard]] bool Hover() const { return m_hover; }
  [[nodiscard]] bool Pressed() const { return m_pressedByMouse || m_pressedByKey; }
  [[nodiscard]] TBtnState State(bool focused) const;

  void MouseEnter();
  void MouseLeave();
  void MouseDown(bool leftButton);
  // inside: the pointer is over the button's shape at release. A release inside after a
  // press that was not let go (by leaving) clicks.
  void MouseUp(bool leftButton, bool inside);
  // Space or Enter (the window filters keys and auto-repeat).
  void KeyDown();
  void KeyUp();

 private:
  void Tick();
  void Repaint();
  void Click();

  std::unique_ptr<TorvRepeatTimer> m_timer;
  bool m_clickRepeat = false;
  bool m_enabled = true;
  bool m_hover = false;
  bool m_pressedByMouse = false;
  bool m_pressedByKey = false;
};

}  // namespace kzm::ui
