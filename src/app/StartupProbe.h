#pragma once

#include <QObject>
#include <QWidget>

namespace kzm {

// For measuring start-up: with KZM_STARTUP_PROBE set in the environment, the program prints
// "first-paint <nanoseconds>" (the system's monotonic clock) once the watched widget has
// painted for the first time, and ends. Nothing happens without the variable.
class TStartupProbe : public QObject {
 public:
  static bool Wanted();
  explicit TStartupProbe(QWidget* watched);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool m_reported = false;
};

}  // namespace kzm
