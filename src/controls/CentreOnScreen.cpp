#include "controls/CentreOnScreen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace kzm::ui {

namespace {

// Centres its window when it is about to be shown; having moved it, Qt's own placement over
// the parent is skipped.
class TCentreOnShow : public QObject {
 public:
  explicit TCentreOnShow(QWidget& window) : QObject(&window), m_window(window) { window.installEventFilter(this); }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &m_window && event->type() == QEvent::Show && !event->spontaneous()) Centre();
    return false;
  }

 private:
  void Centre() {
    const QWidget* parent = m_window.parentWidget();
    const QScreen* screen = parent ? parent->screen() : nullptr;
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    QRect frame = m_window.frameGeometry();
    frame.moveCenter(area.center());
    // Never above or left of the work area, where the title bar could not be reached.
    m_window.move(std::max(frame.left(), area.left()), std::max(frame.top(), area.top()));
  }

  QWidget& m_window;
};

}  // namespace

void CentreOnScreenWhenShown(QWidget& window) { new TCentreOnShow(window); }

}  // namespace kzm::ui
