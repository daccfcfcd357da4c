#include "ui/daily/DailyEdit.h"

#include "foundation/Codec.h"
#include "ui/daily/DailyGrid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>

#include <algorithm>

namespace kzm::ui {

namespace {

// The characters of text that Shift-JIS cannot hold, in order, each once.
QString Unsavable(const QString& text) {
  QString found;
  for (int i = 0; i < text.size();) {
    const int length = text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
    const QString character = text.mid(i, length);
    if (!found.contains(character) && !kzm::IsCp932Encodable(character.toStdString()))
      found += character;
    i += length;
  }
  return found;
}

}  // namespace

TdailyEdit::TdailyEdit(TDailyGrid& grid) : TInplaceEdit(grid), m_grid(grid) {
  setAutoFillBackground(true);
  setAccessibleName(grid.accessibleName() + QStringLiteral("の入力欄"));
  connect(this, &QLineEdit::textEdited, this, &TdailyEdit::RefuseUnsavable);
}

QString TdailyEdit::RefusedCharMessage(const QString& character) {
  QString message = QStringLiteral("「%1」は通帳に保存できない文字なので入力できません。").arg(character);
  if (character.contains(QChar(0x00A5)))
    message += QStringLiteral("\n円記号は全角の「￥」をお使いください。");
  return message;
}

// The cell draws its text 2 pixels in and 3 down; a frameless line edit starts its text 2
// pixels in and 1 down from its text margins. The edit leaves the cell's bottom line and its
// right line visible.
void TdailyEdit::PlaceOver(const QRect& cell) {
  setTextMargins(0, 2, 0, 0);
  setGeometry(cell.left(), cell.top(), cell.width() - 1, cell.height() - 1);
}

void TdailyEdit::RefuseUnsavable(const QString& typed) {
  const QString bad = Unsavable(typed);
  if (bad.isEmpty()) return;
  QString kept;
  int cursor = cursorPosition();
  for (int i = 0; i < typed.size();) {
    const int length = typed.at(i).isHighSurrogate() && i + 1 < typed.size() ? 2 : 1;
    const QString character = typed.mid(i, length);
    if (bad.contains(character)) {
      if (i < cursorPosition()) cursor -= length;
    } else {
      kept += character;
    }
    i += length;
  }
  setText(kept);
  setCursorPosition(std::max(0, cursor));
  QToolTip::showText(mapToGlobal(QPoint(0, height())), RefusedCharMessage(bad), this);
}

bool TdailyEdit::BelongsToGrid(const QKeyEvent& event) const {
  if (LeavesCell(event)) return true;
  const Qt::KeyboardModifiers mods = event.modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  const bool alt = mods & Qt::AltModifier;
  const int caret = cursorPosition();
  const bool selected = hasSelectedText();
  const bool atStart = caret == 0 && !selected;
  const bool atEnd = caret == text().size() && !selected;
  switch (event.key()) {
    case Qt::Key_Space: return ctrl;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return !alt;
    case Qt::Key_Left: return !shift && (ctrl || atStart || selected);
    case Qt::Key_Right: return !shift && (ctrl || atEnd || selected);
    case Qt::Key_Home: return ctrl || (caret == 0 && (!selected || selectedText() == text()));
    case Qt::Key_End: return ctrl || atEnd;
    case Qt::Key_Insert: return mods == Qt::NoModifier;
    case Qt::Key_Delete: return ctrl;
    default: return false;
  }
}

void TdailyEdit::GiveToGrid(QKeyEvent* event) {
  if (m_grid.HandleKey(event))
    event->accept();
  else
    event->ignore();  // on to the window (Ctrl+← and Ctrl+→ step the day)
}

void TdailyEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Another window or a menu taking over is no reason to leave the cell.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
  m_grid.EditFocusLost();
}

// A double click belongs to the grid, which has no use for it: no word gets selected.
void TdailyEdit::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace kzm::ui
