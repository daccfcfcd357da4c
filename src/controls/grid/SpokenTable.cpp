// What the grids tell a listening screen reader when their cursor, cells or rows change.
#include "controls/grid/SpokenTable.h"

#include <QAccessible>
#include <QWidget>

#include <algorithm>

namespace kzm::ui {

namespace {

void SendToChild(QWidget& widget, QAccessible::Event type, int index) {
  QAccessibleEvent event(&widget, type);
  event.setChild(index);
  QAccessible::updateAccessibility(&event);
}

}  // namespace

QString SpokenEditorName(const QString& rowName, const QString& columnName) {
  if (rowName.isEmpty()) return columnName;
  return rowName + QStringLiteral(" の ") + columnName;
}

void SpeakCurrentMoved(QWidget& widget, const TSpokenTable& table) {
  int col = 0;
  int row = 0;
  if (!QAccessible::isActive() || !widget.hasFocus() || !table.SpokenCurrent(col, row)) return;
  SendToChild(widget, QAccessible::Focus, row * table.SpokenColCount() + col);
}

void SpeakCellChanged(QWidget& widget, const TSpokenTable& table, int col, int row) {
  if (!QAccessible::isActive() || col < 0 || row < 0) return;
  // A cell's text is its name; a value-change event would want a numeric value interface.
  SendToChild(widget, QAccessible::NameChanged, row * table.SpokenColCount() + col);
}

void SpeakTableReset(QWidget& widget) {
  if (!QAccessible::isActive()) return;
  QAccessibleTableModelChangeEvent event(&widget, QAccessibleTableModelChangeEvent::ModelReset);
  QAccessible::updateAccessibility(&event);
}

void SpeakRowsChanged(QWidget& widget, int oldRowCount, int newRowCount) {
  if (!QAccessible::isActive() || oldRowCount == newRowCount) return;
  const bool grew = newRowCount > oldRowCount;
  QAccessibleTableModelChangeEvent event(&widget, grew ? QAccessibleTableModelChangeEvent::RowsInserted
                                                       : QAccessibleTableModelChangeEvent::RowsRemoved);
  event.setFirstRow(std::min(oldRowCount, newRowCount));
  event.setLastRow(std::max(oldRowCount, newRowCount) - 1);
  QAccessible::updateAccessibility(&event);
}

}  // namespace kzm::ui
