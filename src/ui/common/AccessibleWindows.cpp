// A window built straight on QWidget (the daily window, the monthly view, search and the newer
// windows) is only a pane to Qt, which readers hear as "filler": they would not announce its
// title or treat it as a window. Such a window is told to be a window.
#include "ui/common/AccessibleControls.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace kzm::ui {

namespace {

// The nearest of Qt's own classes the object is made from.
const QMetaObject* QtClassOf(const QObject& object) {
  const QMetaObject* meta = object.metaObject();
  while (meta && meta->className()[0] != 'Q') meta = meta->superClass();
  return meta;
}

QAccessibleInterface* DescribeWindow(const QString&, QObject* object) {
  auto* widget = qobject_cast<QWidget*>(object);
  if (!widget || QtClassOf(*widget) != &QWidget::staticMetaObject) return nullptr;
  const Qt::WindowType type = widget->windowType();
  if (type != Qt::Window && type != Qt::Dialog) return nullptr;  // tool panels and balloons stay panes
  return new QAccessibleWidget(widget, type == Qt::Dialog ? QAccessible::Dialog : QAccessible::Window);
}

}  // namespace

void InstallAccessibleWindows() {
  QAccessible::removeFactory(DescribeWindow);
  QAccessible::installFactory(DescribeWindow);
}

}  // namespace kzm::ui
