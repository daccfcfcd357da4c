// The monthly view's detail panel: after half a second on an amount, the entries behind it.
#include "ui/monthly/MonthWindow.h"

#include <QApplication>
#include <QCursor>

#include "budget/BudgetMonth.h"
#include "passbook/Profile.h"
#include "ui/monthly/MonthDetailPanel.h"
#include "ui/monthly/MonthlyGrid.h"

namespace kzm::ui {

namespace {

// Timer ticks the mouse rests before the panel opens.
constexpr int kHoverTicks = 5;

}  // namespace

void TFmMonth::Timer1Timer() {
  ++m_hoverTicks;
  if (m_hoverTicks > kHoverTicks) TryShowDetail();
}

void TFmMonth::GridDateMouseMove(int col, int row) {
  if (col == m_detailCol && row == m_detailRow) return;
  HideDetail();
  if (m_hoverTicks > kHoverTicks) TryShowDetail();
}

void TFmMonth::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  // Leaving the window for the panel itself is no leaving.
  if (m_panel && m_panel->isVisible() && m_panel->geometry().contains(QCursor::pos())) return;
  HideDetail();
  m_hoverTicks = 0;
}

void TFmMonth::HideDetail() {
  if (m_panel && m_panel->isVisible()) m_panel->hide();
  m_detailCol = -1;
  m_detailRow = -1;
}

void TFmMonth::TryShowDetail() {
  if (!m_panel) m_panel = new TMonthDetailPanel(this);
  if (m_panel->isVisible() || !isActiveWindow()) return;
  const QPoint pos = m_gridDate->mapFromGlobal(QCursor::pos());
  int col = -1, row = -1;
  const int category = m_gridDate->MouseToCell(pos, col, row) ? m_table.CategoryOfRow(row) : -1;
  kzm::TMonthDetail detail;
  if (row < 1 || category < 0 || col - m_gridDate->LeftCol() >= m_visibleDays ||
      !kzm::FillMonthDetail(m_table.Summary().Items(category).key, m_table.First() + col, detail)) {
    m_hoverTicks = 0;
    return;
  }
  m_detailCol = col;
  m_detailRow = row;
  // The budget of the category and what is left of it after the whole month.
  kzm::TBudgets budgets;
  std::string error;
  if (budgets.Load(kzm::CurrentProfile().Folder(), error)) {
    const kzm::THeadData& item = m_table.Summary().Items(category);
    kzm::AddBudgetLines(detail, budgets, m_table.Key(), item.key, item.total);
  }
  m_panel->SetDetail(detail);
  const QPoint corner = m_gridDate->mapToGlobal(QPoint((col - m_gridDate->LeftCol() + 1) * m_dayWidth + 4,
                                                       (row - m_gridDate->TopRow() + 1) * m_rowHeight + 4));
  m_panel->move(corner);
  m_panel->show();
}

}  // namespace kzm::ui
