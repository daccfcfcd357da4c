#pragma once

// The Tab chain as a person meets it: Tab pressed into whatever has the focus, and the order a
// person reads the same controls on the screen, to compare the two.

#include <QApplication>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace kzm::test {

// The named control a focused widget belongs to (an editable combo's line edit, say).
inline QString ControlName(QWidget* widget) {
  while (widget && widget->objectName().isEmpty()) widget = widget->parentWidget();
  return widget ? widget->objectName() : QString();
}

// The names of the controls the focus visits, the focused one first, pressing Tab steps times.
inline std::vector<QString> WalkTab(int steps) {
  std::vector<QString> names{ControlName(QApplication::focusWidget())};
  for (int i = 0; i < steps; ++i) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus) break;
    QTest::keyClick(focus, Qt::Key_Tab);
    names.push_back(ControlName(QApplication::focusWidget()));
  }
  return names;
}

// The controls' names as they read on the screen: line by line from the top (controls whose
// middles are within half a control's height share a line), each line from the left.
inline std::vector<QString> ScreenOrder(QWidget* window, std::vector<QWidget*> controls) {
  const auto middle = [window](QWidget* w) { return w->mapTo(window, w->rect().center()); };
  std::stable_sort(controls.begin(), controls.end(), [&](QWidget* a, QWidget* b) {
    const QPoint pa = middle(a), pb = middle(b);
    if (std::abs(pa.y() - pb.y()) > std::min(a->height(), b->height()) / 2) return pa.y() < pb.y();
    return pa.x() < pb.x();
  });
  std::vector<QString> names;
  for (QWidget* w : controls) names.push_back(w->objectName());
  return names;
}

}  // namespace kzm::test
