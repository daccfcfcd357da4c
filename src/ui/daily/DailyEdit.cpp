#include "ui/daily/DailyEdit.h"

#include "foundation/Codec.h"
#include "ui/daily/DailyGrid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>

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

TdailyEdit::TdailyEdit(TDailyGrid& grid) : QLineEdit(grid.viewport()), m_grid(grid) {
  setFrame(false);
  setFocusPolicy(Qt::ClickFocus);
  setAlignment(Qt::AlignLeft | Qt::AlignTop);
  setAutoFillBackground(true);
  hide();
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

// Tab never moves the focus by itself: the grid writes the cell back first.
bool TdailyEdit::event(QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) &&
        !(key->modifiers() & Qt::AltModifier)) {
      keyPressEvent(key);
      return true;
    }
  }
  return QLineEdit::event(event);
}

bool TdailyEdit::BelongsToGrid(const QKeyEvent& event) const {
  const Qt::KeyboardModifiers mods = event.modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  const bool alt = mods & Qt::AltModifier;
  const int caret = cursorPosition();
  const bool selected = hasSelectedText();
  const bool atStart = caret == 0 && !selected;
  const bool atEnd = caret == text().size() && !selected;
  switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return true;
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

void TdailyEdit::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F2) {
    deselect();
    end(false);
    return;
  }
  if (BelongsToGrid(*event)) {
    if (m_grid.HandleKey(event))
      event->accept();
    else
      event->ignore();  // on to the window (Ctrl+← and Ctrl+→ step the day)
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void TdailyEdit::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  // Another window or a menu taking over is no reason to leave the cell.
  if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason) return;
  m_grid.EditFocusLost();
}

void TdailyEdit::wheelEvent(QWheelEvent* event) { m_grid.wheelEvent(event); }

// A double click belongs to the grid, which has no use for it: no word gets selected.
void TdailyEdit::mouseDoubleClickEvent(QMouseEvent* event) { event->accept(); }

}  // namespace kzm::ui
