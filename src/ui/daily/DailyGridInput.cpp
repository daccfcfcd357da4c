// The daily grid's keys, mouse and selection check: every move of the cursor first writes the
// open editor back, and bands are never entered: the blank row goes into their group instead.
#include "ui/daily/DailyGrid.h"

#include "passbook/Profile.h"
#include "ui/daily/DailyEdit.h"
#include "views/DailyRows.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>

namespace kzm::ui {

bool TDailyGrid::SelectCell(int col, int row) {
  if (m_updating) return false;
  const kzm::TSelectAnswer answer = kzm::CheckSelect(Snapshot(), m_categories, Row(), row);
  if (answer.scrollToTop) {
    SetTopRow(1);
    PostReopenEditor();
    return false;
  }
  if (!answer.allowed && !answer.placeBlankRow) return false;
  TakeFocus();
  if (answer.allowed) {
    PostReopenEditor();
    return TorvGrid::SelectCell(col, row);
  }
  PostPlaceBlankRow(answer.placeCategory, static_cast<int>(answer.place));
  return false;
}

bool TDailyGrid::HandleKey(QKeyEvent* event) {
  if (m_updating) return true;
  const int key = event->key();
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  if (ctrl) {
    const bool toggle = (key == Qt::Key_Space || key == Qt::Key_Down) &&
                        (Col() == kzm::kColItem || Col() == kzm::kColNote);
    if (!toggle) return false;  // the window's keys (Ctrl+← and Ctrl+→ step the day)
    m_listMode = !m_listMode;
    ShowEditor();
    return true;
  }
  const int col = Col();
  const int row = Row();
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      TakeFocus();
      m_listMode = false;
      EnterKey();
      break;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
      TakeFocus();
      m_listMode = false;
      TorvGrid::keyPressEvent(event);
      break;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
      TakeFocus();
      TorvGrid::keyPressEvent(event);
      break;
    case Qt::Key_Escape:
      // The editor opens again with what the cell holds: what was typed is dropped.
      m_listMode = false;
      ShowEditor();
      return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      TakeFocus();
      m_listMode = false;
      focusNextPrevChild(key == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
      return true;
    case Qt::Key_Insert:
      TakeFocus();
      m_listMode = false;
      InsertKey();
      break;
    case Qt::Key_Delete: break;
    default: return false;
  }
  if (Col() == col && Row() == row) PostReopenEditor();
  return true;
}

// Enter walks the row's columns as the passbook's options say, then on to the next row.
bool TDailyGrid::EnterKey() {
  const kzm::TkzmProfile& profile = kzm::CurrentProfile();
  const kzm::TEnterOptions options{profile.EnterMovesToItem(), profile.EnterMovesToAmount(),
                                   profile.EnterMovesToAccount(), profile.EnterMovesToNote()};
  const int target = kzm::EnterTarget(Col(), options);
  if (target < 2 || target > 5) return false;
  RecordHistory();
  if (target <= kzm::kColNote) {
    SetCol(target);
    UpdateSubtotals();
    return true;
  }
  const int next = Row() + 1;
  if (IsEntryRow(next)) {
    SetRow(next);
    SetCol(kzm::kColItem);
  } else if (next < RowCount()) {
    PlaceBlankRow(CategoryOfRow(Row()), static_cast<int>(kzm::TBlankPlace::bpGroupEnd));
  }
  return true;
}

// Insert gives the keyboard a second entry in the band of the current one (Enter on the grid's
// last row has no row to go to).
void TDailyGrid::InsertKey() {
  int blank = -1;
  {
    QScopedValueRollback updating(m_updating, true);
    std::vector<kzm::TDailyRow> rows = Snapshot();
    blank = kzm::InsertBlankRowBelow(rows, m_categories, Row());
    if (blank < 0) return;
    ApplyRows(rows);
    FitNoteColumn();
  }
  SetRow(blank);
  SetCol(kzm::kColItem);
  UpdateSubtotals();
}

void TDailyGrid::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event)) {
    event->accept();
    return;
  }
  // A character typed while no editor is open opens it, so the keystroke is not lost.
  const QString text = event->text();
  const bool plain = !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (plain && !text.isEmpty() && text.at(0).isPrint() && IsEntryRow(Row())) {
    ShowEditor();
    if (m_edit && !m_edit->isHidden()) {
      m_edit->setFocus();
      QCoreApplication::sendEvent(m_edit, event);
      return;
    }
  }
  event->ignore();
}

void TDailyGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  const bool onHeader = cell.X == 0 || cell.Y == 0;
  // In the body the cursor moves when the button is let go.
  if (event->button() == Qt::LeftButton && cell.X >= 0 && !onHeader) {
    event->accept();
    return;
  }
  TorvGrid::mousePressEvent(event);
}

void TDailyGrid::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TDailyGrid::mouseReleaseEvent(QMouseEvent* event) {
  TorvGrid::mouseReleaseEvent(event);
  if (event->button() != Qt::LeftButton || m_updating) return;
  const QPoint pos = event->position().toPoint();
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  if (cell.X < 0) return;
  const bool body = cell.X >= 1 && cell.Y >= 1;
  if (!body || (cell.X == Col() && cell.Y == Row())) {
    PostReopenEditor();
    return;
  }
  // The band of the group the cursor is in: already where the user is.
  if (!IsEntryRow(cell.Y) && cell.Y == kzm::GroupRow(Snapshot(), Row())) return;
  TakeFocus();
  SetRow(cell.Y);
  if (Row() == cell.Y && IsEntryRow(Row())) SetCol(cell.X);
}

void TDailyGrid::focusInEvent(QFocusEvent* event) {
  TorvGrid::focusInEvent(event);
  PostReopenEditor();
}

// The editor is written back before its row moves away under it.
bool TDailyGrid::BeginRowDrag(int origin) {
  TakeFocus();
  return TorvGrid::BeginRowDrag(origin);
}

void TDailyGrid::RowMoved(int fromIndex, int toIndex) {
  TorvGrid::RowMoved(fromIndex, toIndex);
  SetModified();
  if (IsEntryRow(1)) {
    m_updating = true;
    std::vector<kzm::TDailyRow> rows = Snapshot();
    kzm::RepairFirstRow(rows);
    ApplyRows(rows);
    m_updating = false;
    SetRow(2);
  }
  // An entry dragged into another group counts for that group's category now.
  UpdateSubtotals();
  PostReopenEditor();
}

}  // namespace kzm::ui
