// The monthly view's column widths. One setting (COLWIDTH, percent of the usual width) sizes
// the day columns and the name and total columns together. A money amount is never cut: the
// columns widen until the month's widest amount fits, and the wider setting is kept.
#include "ui/monthly/MonthWindow.h"

#include <QFontMetrics>

#include <algorithm>
#include <string>

#include "passbook/Categories.h"
#include "passbook/Profile.h"
#include "ui/monthly/MonthlyGrid.h"

namespace kzm::ui {

namespace {

constexpr int kTextPadding = 6;  // the cell painter leaves 2 pixels a side, and a little air

// The smallest percentage whose width is at least pixels, for a column of base pixels at 100 %.
int PercentFor(int pixels, int basePerHundred) { return (pixels * 100 + basePerHundred - 1) / basePerHundred; }

}  // namespace

void TFmMonth::ApplyColumnWidth(int percent) {
  m_columnPercent = std::max(1, percent);
  m_nameWidth = std::max(1, m_columnPercent * m_rowHeight * 4 / 100);
  m_dayWidth = std::max(1, m_columnPercent * m_rowHeight * 4 / 120);
  for (TMonthlyGrid* grid : {m_gridIndex, m_gridDate, m_gridTotal}) {
    grid->SetDefaultColWidth(grid == m_gridDate ? m_dayWidth : m_nameWidth);
  }
  if (!m_initialised) return;
  SnapSize();
  LayoutControls();
}

void TFmMonth::FitColumnsToAmounts() {
  const QFontMetrics metrics(m_gridDate->font());
  const auto width = [&metrics](const std::string& text) {
    return text.empty() ? 0 : metrics.horizontalAdvance(QString::fromStdString(text)) + kTextPadding;
  };
  int widestDay = 0;
  int widestTotal = 0;
  for (int row = 0; row < m_table.RowCount(); ++row) {
    if (row > 0 && m_table.KindOfRow(row) == kKindMemo) continue;  // memo texts may be cut
    for (int day = 0; day < m_table.DayCount(); ++day) {
      widestDay = std::max({widestDay, width(m_table.DayText(row, day)), width(m_table.ComingText(row, day))});
    }
    if (row > 0) widestTotal = std::max(widestTotal, width(m_table.TotalText(row)));
  }
  const int needed = std::max(PercentFor(widestDay, m_rowHeight * 4 * 100 / 120), PercentFor(widestTotal, m_rowHeight * 4));
  if (needed > m_columnPercent) KeepColumnWidth(needed);
}

void TFmMonth::DayColumnDragged(int width, bool done) {
  const int percent = PercentFor(width, m_rowHeight * 4 * 100 / 120);
  ApplyColumnWidth(percent);
  if (done) {
    // A border dragged narrower than an amount still springs back to fit it.
    FitColumnsToAmounts();
    KeepColumnWidth(m_columnPercent);
  }
}

void TFmMonth::KeepColumnWidth(int percent) {
  ApplyColumnWidth(percent);
  TkzmProfile& profile = CurrentProfile();
  if (profile.MonthColumnWidth() == m_columnPercent || profile.Folder().empty()) return;
  profile.SetMonthColumnWidth(m_columnPercent);
  (void)profile.Save();
}

}  // namespace kzm::ui
