#pragma once

#include "controls/RoundButtonInput.h"

namespace kzm::ui::test {

// Milliseconds of a test's own clock.
struct TClock {
  int now = 0;
};

// A repeat timer on the test's clock: RunUntil moves the clock and fires every tick due.
class TFakeRepeatTimer : public TorvRepeatTimer {
 public:
  explicit TFakeRepeatTimer(TClock& clock) : m_clock(clock) {}

  void Start(int intervalMs) override {
    m_interval = intervalMs;
    m_due = m_clock.now + intervalMs;
    m_active = true;
  }
  void Stop() override { m_active = false; }
  [[nodiscard]] bool IsActive() const override { return m_active; }

  void RunUntil(int time) {
    while (m_active && m_due <= time) {
      m_clock.now = m_due;
      m_due += m_interval;
      if (OnTick) OnTick();
    }
    m_clock.now = time;
  }

 private:
  TClock& m_clock;
  int m_interval = 0;
  int m_due = 0;
  bool m_active = false;
};

}  // namespace kzm::ui::test
