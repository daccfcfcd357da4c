#include "controls/DateField.h"

#include <QLineEdit>
#include <QMouseEvent>

namespace kzm::ui {

TDateField::TDateField(QWidget* parent) : QDateEdit(parent) {
  setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  setCalendarPopup(true);
  // Clicks on the text go to the box's own line edit, not to the date box.
  lineEdit()->installEventFilter(this);
}

bool TDateField::focusNextPrevChild(bool next) {
  // The date box would move between its own parts here; skip it to leave the field.
  return QWidget::focusNextPrevChild(next);  // NOLINT(bugprone-parent-virtual-call)
}

bool TDateField::eventFilter(QObject* watched, QEvent* event) {
  const bool release = watched == lineEdit() && event->type() == QEvent::MouseButtonRelease;
  if (QDateEdit::eventFilter(watched, event)) return true;
  if (!release) return false;
  // The line edit places its cursor first; then the part around it is selected.
  static_cast<QObject*>(lineEdit())->event(event);
  if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) SelectPartAtCursor();
  return true;
}

void TDateField::SelectPartAtCursor() {
  // A click leaves the cursor inside a part, where typed digits are inserted and make no
  // date; the whole part is selected so that typing replaces it. A dragged selection is the
  // person's own and stays.
  if (lineEdit()->hasSelectedText()) return;
  const Section part = currentSection();
  if (part != NoSection) setSelectedSection(part);
}

}  // namespace kzm::ui
