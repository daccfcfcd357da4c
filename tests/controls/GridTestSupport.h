#pragma once

#include "controls/grid/GridControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include <memory>

namespace kzm::ui::test {

// The application object of the test program, made before the first test by QtTestApp.cpp.
inline void EnsureApplication() { Q_ASSERT(QCoreApplication::instance()); }

// A grid shown offscreen whose viewport is exactly width × height pixels.
inline std::unique_ptr<TorvGrid> ShownGrid(int width, int height) {
  EnsureApplication();
  auto grid = std::make_unique<TorvGrid>();
  grid->show();
  QApplication::processEvents();
  const QSize chrome = grid->size() - grid->viewport()->size();
  grid->resize(QSize(width, height) + chrome);
  QApplication::setActiveWindow(grid.get());
  grid->setFocus();
  QApplication::processEvents();
  return grid;
}

inline void PressKey(QWidget& target, int key, Qt::KeyboardModifiers mods = Qt::NoModifier,
                     const QString& text = {}) {
  QKeyEvent press(QEvent::KeyPress, key, mods, text);
  QApplication::sendEvent(&target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, mods, text);
  QApplication::sendEvent(&target, &release);
}

inline void SendMouse(QWidget& target, QEvent::Type type, QPoint pos,
                      Qt::MouseButtons buttons = Qt::LeftButton) {
  const QPointF local(pos);
  QMouseEvent event(type, local, target.mapToGlobal(local), Qt::LeftButton, buttons,
                    Qt::NoModifier);
  QApplication::sendEvent(&target, &event);
}

inline void Click(QWidget& target, QPoint pos) {
  SendMouse(target, QEvent::MouseButtonPress, pos);
  SendMouse(target, QEvent::MouseButtonRelease, pos, Qt::NoButton);
}

}  // namespace kzm::ui::test
