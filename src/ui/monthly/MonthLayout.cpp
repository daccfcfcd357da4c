// The monthly view's sizes: whole rows and whole day columns, the places of the grids and
// buttons, and the scroll bars.
#include "ui/monthly/MonthWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QWheelEvent>

#include <algorithm>

#include "controls/RoundButton.h"
#include "ui/common/HelpBalloon.h"
#include "ui/monthly/MonthlyGrid.h"
#include "views/BalloonPlace.h"

namespace kzm::ui {

int TFmMonth::BaseWidth() const { return 5 + kStripWidth + 2 * m_nameWidth + m_rowHeight; }

int TFmMonth::DayColumnsFor(int clientWidth) const {
  return std::clamp((clientWidth - BaseWidth()) / m_dayWidth, 0, m_table.DayCount());
}

QSize TFmMonth::SnappedSize(QSize wished) const {
  int rows = (wished.height() - 2) / m_rowHeight;
  rows = std::max(std::min(rows, m_table.RowCount() + 1), kMinRows);
  const int days = DayColumnsFor(wished.width());
  return {days * m_dayWidth + BaseWidth(), rows * m_rowHeight + 2};
}

void TFmMonth::SnapSize() {
  if (!m_initialised) return;
  const int maxRows = std::max(kMinRows, m_table.RowCount() + 1);
  setMinimumSize(BaseWidth(), kMinRows * m_rowHeight + 2);
  setMaximumSize(BaseWidth() + m_table.DayCount() * m_dayWidth, maxRows * m_rowHeight + 2);
  // The window manager then offers whole rows and days while the user drags.
  setBaseSize(BaseWidth(), 2);
  setSizeIncrement(m_dayWidth, m_rowHeight);
  if (isMaximized() || isFullScreen()) return;
  const QSize snapped = SnappedSize(size());
  if (snapped != size()) resize(snapped);
}

void TFmMonth::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutControls();
}

void TFmMonth::LayoutControls() {
  if (!m_initialised) return;
  const int h = m_rowHeight;
  const int clientHeight = height();
  const int clientWidth = width();
  const int rows = (clientHeight - 2) / h;
  m_visibleRows = std::max(0, rows - 2);
  const int gridHeight = std::max(h, (rows - 1) * h);
  m_visibleDays = DayColumnsFor(clientWidth);
  const int daysWidth = m_visibleDays * m_dayWidth;

  const int indexLeft = kStripWidth;
  m_gridIndex->setGeometry(indexLeft, 0, m_nameWidth, gridHeight);
  m_gridDate->setGeometry(indexLeft + m_nameWidth + 1, 0, daysWidth, gridHeight);
  const int totalLeft = m_gridDate->x() + daysWidth + 2;
  // A window wider than its whole days (maximised, or held to the screen) gives the rest to
  // the totals, so no empty band opens between them and the scroll bar.
  const int totalWidth = std::max(m_nameWidth, clientWidth - h - 3 - totalLeft);
  m_gridTotal->SetDefaultColWidth(totalWidth);
  m_gridTotal->setGeometry(totalLeft, 0, totalWidth, gridHeight);
  m_scrollBarH->setGeometry(m_gridDate->x() + 1, clientHeight - h - 1, std::max(0, daysWidth - 1), h);
  m_scrollBarV->setGeometry(clientWidth - h - 1, 1, h, std::max(0, clientHeight - h - 2));
  m_buttonBefore->setGeometry(indexLeft, clientHeight - h - 2, m_nameWidth, h + 2);
  m_buttonNext->setGeometry(totalLeft, clientHeight - h - 2, totalWidth, h + 2);

  // The round buttons keep to the bottom of the left strip.
  m_buttonSetUp->move(2, clientHeight - 53);
  m_buttonGraph->move(54, clientHeight - 44);
  m_buttonMemo->move(54, clientHeight - 44 - 35);
  m_buttonBudget->move(6, clientHeight - 53 - 36);
  m_buttonCard->move(54, clientHeight - 44 - 35 - 35);
  for (TorvWinButton* button : {m_buttonMemo, m_buttonSetUp, m_buttonGraph, m_buttonBudget, m_buttonCard}) button->show();

  const TBalloonPlace balloon = BalloonPlace(m_labelPeriod->geometry().bottom() + 1,
                                             std::min(m_buttonCard->y(), m_buttonBudget->y()), indexLeft,
                                             kMinBalloonSide);
  m_helpShown = balloon.side > 0;
  if (m_helpShown) {
    m_help->SetSize(balloon.side, balloon.side, 32);
    m_help->SetPosition(balloon.left, balloon.top);
    m_help->ShowHint("");
  }
  UpdateScrollBars();
  update();
}

QRect TFmMonth::HelpBalloonRect() const {
  return m_helpShown ? QRect(m_help->X(), m_help->Y(), m_help->Width(), m_help->Height()) : QRect();
}

void TFmMonth::UpdateScrollBars() {
  const QSignalBlocker blockH(m_scrollBarH);
  const QSignalBlocker blockV(m_scrollBarV);
  const int days = m_table.DayCount();
  if (m_visibleDays >= days) {
    m_scrollBarH->setRange(0, 0);
    m_scrollBarH->setEnabled(false);
    m_gridDate->SetLeftCol(0);
  } else {
    const int leftCol = std::min(m_gridDate->LeftCol(), days - m_visibleDays);
    m_scrollBarH->setRange(0, days - m_visibleDays);
    m_scrollBarH->setPageStep(std::max(1, m_visibleDays));
    m_scrollBarH->setValue(leftCol);
    m_scrollBarH->setEnabled(true);
    m_gridDate->SetLeftCol(leftCol);
  }
  const int rows = m_table.RowCount();
  int topRow = 1;
  if (m_visibleRows < rows - 1) {
    const int maximum = rows - 1 - m_visibleRows;
    topRow = std::min(m_gridDate->TopRow() - 1, maximum) + 1;
    m_scrollBarV->setRange(0, maximum);
    m_scrollBarV->setPageStep(std::max(1, m_visibleRows));
    m_scrollBarV->setValue(topRow - 1);
    m_scrollBarV->setEnabled(true);
  } else {
    m_scrollBarV->setRange(0, 0);
    m_scrollBarV->setEnabled(false);
  }
  for (TMonthlyGrid* grid : {m_gridIndex, m_gridDate, m_gridTotal}) grid->SetTopRow(topRow);
}

void TFmMonth::ScrollBarVChange(int position) {
  HideDetail();
  for (TMonthlyGrid* grid : {m_gridIndex, m_gridDate, m_gridTotal}) grid->SetTopRow(position + 1);
}

void TFmMonth::ScrollBarHChange(int position) {
  HideDetail();
  m_gridDate->SetLeftCol(position);
}

void TFmMonth::ShowGridCell(int col, int row) {
  HideDetail();
  const int left = m_gridDate->LeftCol();
  const int days = std::max(1, m_visibleDays);
  if (col < left) m_scrollBarH->setValue(col);
  if (col >= left + days) m_scrollBarH->setValue(col - days + 1);
  const int top = m_gridDate->TopRow();
  const int rows = std::max(1, m_visibleRows);
  if (row < top) m_scrollBarV->setValue(row - 1);
  if (row >= top + rows) m_scrollBarV->setValue(row - rows);
}

void TFmMonth::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
  if (delta == 0) return;
  // The wheel turned away from the user scrolls up, or back toward the first day.
  const int step = delta > 0 ? -1 : 1;
  QScrollBar* bar = m_scrollBarV->hasFocus() ? m_scrollBarV : m_scrollBarH;
  bar->setValue(bar->value() + step);
  event->accept();
}

}  // namespace kzm::ui
