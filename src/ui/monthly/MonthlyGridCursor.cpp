// The monthly grid's cursor: how a person without a mouse reads the month cell by cell.
#include "ui/monthly/MonthlyGrid.h"

#include <QKeyEvent>

#include <algorithm>

namespace kzm::ui {

void TMonthlyGrid::SetCursorEnabled(bool value) {
  m_cursor = value;
  setFocusPolicy(value ? Qt::StrongFocus : Qt::NoFocus);
}

bool TMonthlyGrid::SpokenCurrent(int& col, int& row) const {
  col = m_current.x();
  row = m_current.y();
  return m_cursor && col < m_colCount && row < m_rowCount;
}

void TMonthlyGrid::SetCurrent(int col, int row) {
  const QPoint cell(std::clamp(col, 0, std::max(0, m_colCount - 1)), std::clamp(row, 1, std::max(1, m_rowCount - 1)));
  if (cell == m_current) return;
  m_current = cell;
  emit CurrentMoved(cell.x(), cell.y());
  update();
  SpeakCurrentMoved(*this, *this);
}

void TMonthlyGrid::keyPressEvent(QKeyEvent* event) {
  if (!m_cursor) {
    QWidget::keyPressEvent(event);
    return;
  }
  const int page = std::max(1, VisibleRowCount());
  const int col = m_current.x();
  const int row = m_current.y();
  switch (event->key()) {
    case Qt::Key_Left: SetCurrent(col - 1, row); break;
    case Qt::Key_Right: SetCurrent(col + 1, row); break;
    case Qt::Key_Up: SetCurrent(col, row - 1); break;
    case Qt::Key_Down: SetCurrent(col, row + 1); break;
    case Qt::Key_PageUp: SetCurrent(col, row - page); break;
    case Qt::Key_PageDown: SetCurrent(col, row + page); break;
    case Qt::Key_Home: SetCurrent(0, row); break;
    case Qt::Key_End: SetCurrent(m_colCount - 1, row); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: emit Activated(col, row); break;
    default: QWidget::keyPressEvent(event); return;
  }
  event->accept();
}

void TMonthlyGrid::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  // Rows or days may have gone since the cursor was last here.
  SetCurrent(m_current.x(), m_current.y());
  emit CurrentMoved(m_current.x(), m_current.y());
  update();
  SpeakCurrentMoved(*this, *this);
}

void TMonthlyGrid::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

}  // namespace kzm::ui
