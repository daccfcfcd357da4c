#include "controls/grid/InplaceEdit.h"

#include "controls/grid/CustomGrid.h"

#include <QKeyEvent>
#include <QWheelEvent>

namespace kzm::ui {

TInplaceEdit::TInplaceEdit(TorvCustomGrid& grid) : QLineEdit(grid.viewport()), m_grid(grid) {
  setFrame(false);
  setFocusPolicy(Qt::ClickFocus);
  // The cell draws its text 2 pixels in and 2 down; a frameless line edit puts its text 2
  // pixels in and 1 down from its text margins. Kept at the top, the text does not jump when
  // the editor opens over the cell.
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setTextMargins(0, 1, 0, 0);
  hide();
}

// Tab never leaves the editor on its own: the grid decides (goTabs), before Qt would move
// the focus.
bool TInplaceEdit::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) && BelongsToGrid(*key)) {
      GiveToGrid(key);
      return true;
    }
  }
  return QLineEdit::event(event);
}

bool TInplaceEdit::LeavesCell(const QKeyEvent& event) {
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return true;
    default: return false;
  }
}

bool TInplaceEdit::BelongsToGrid(const QKeyEvent& event) const {
  if (LeavesCell(event)) return true;
  const bool ctrl = event.modifiers() & Qt::ControlModifier;
  const bool shift = event.modifiers() & Qt::ShiftModifier;
  const bool atStart = cursorPosition() == 0 && !hasSelectedText();
  const bool atEnd = cursorPosition() == text().size() && !hasSelectedText();
  switch (event.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return true;
    case Qt::Key_Left: return !shift && atStart;
    case Qt::Key_Right: return !shift && atEnd;
    case Qt::Key_Home:
    case Qt::Key_End: return ctrl;
    default: return false;
  }
}

void TInplaceEdit::GiveToGrid(QKeyEvent* event) { m_grid.EditorKey(event); }

void TInplaceEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2) {
    deselect();
    end(false);
    return;
  }
  if (BelongsToGrid(*event)) {
    GiveToGrid(event);
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TInplaceEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  m_grid.CommitEditor();
  m_grid.InvalidateCell(m_grid.Col(), m_grid.Row());
}

void TInplaceEdit::wheelEvent(QWheelEvent* event) { m_grid.wheelEvent(event); }

}  // namespace kzm::ui
