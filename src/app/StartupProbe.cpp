#include "StartupProbe.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>

#include <cstdio>
#include <ctime>

namespace kzm {

bool TStartupProbe::Wanted() { return qEnvironmentVariableIsSet("KZM_STARTUP_PROBE"); }

TStartupProbe::TStartupProbe(QWidget* watched) : QObject(watched) { watched->installEventFilter(this); }

bool TStartupProbe::eventFilter(QObject*, QEvent* event) {
  if (event->type() != QEvent::Paint || m_reported) return false;
  m_reported = true;
  // Report once this paint has been done and handed to the screen.
  QTimer::singleShot(0, [] {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::printf("first-paint %lld\n", static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
    std::fflush(stdout);
    QApplication::quit();
  });
  return false;
}

}  // namespace kzm
