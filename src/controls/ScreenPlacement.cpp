#include "controls/ScreenPlacement.h"

#include <QGuiApplication>
#include <QScreen>

namespace kzm::ui {

namespace {
TWindowRect ToRect(const QRect& r) { return TWindowRect{r.x(), r.y(), r.width(), r.height()}; }
}  // namespace

QSize ScreenSize() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->geometry().size() : QSize(1024, 768);
}

std::vector<TWindowRect> WorkAreas() {
  std::vector<TWindowRect> areas;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) areas.push_back(ToRect(primary->availableGeometry()));
  for (const QScreen* screen : QGuiApplication::screens()) {
    if (screen != QGuiApplication::primaryScreen()) areas.push_back(ToRect(screen->availableGeometry()));
  }
  return areas;
}

TWindowRect WorkAreaOf(const QWidget& window) {
  const QScreen* screen = window.screen();
  if (!screen) screen = QGuiApplication::primaryScreen();
  return screen ? ToRect(screen->availableGeometry()) : TWindowRect{0, 0, 1024, 768};
}

void KeepOnScreen(QWidget& window) {
  const QSize screen = ScreenSize();
  const TWindowRect now{window.x(), window.y(), window.width(), window.height()};
  const TWindowRect placed = kzm::KeepOnScreen(now, WorkAreas(), screen.width(), screen.height());
  if (placed == now) return;
  window.resize(placed.width, placed.height);
  window.move(placed.left, placed.top);
}

}  // namespace kzm::ui
