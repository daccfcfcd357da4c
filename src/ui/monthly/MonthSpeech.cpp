// The monthly view's cells as a screen reader reads them. A cell alone says "3,480"; read out
// of the picture it needs its category and its day: 「食費 12月5日(火) 3,480円」.
#include "ui/monthly/MonthWindow.h"

#include "foundation/Dates.h"
#include "ui/monthly/MonthlyGrid.h"
#include "views/SpokenAmount.h"

namespace kzm::ui {

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

QString TFmMonth::SpokenCell(const TMonthlyGrid& grid, int col, int row) const {
  if (row < 0 || row >= m_table.RowCount()) return {};
  const bool memo = m_table.KindOfRow(row) == kKindMemo;
  const auto value = [memo](const std::string& shown) { return Q(memo ? shown : SpokenAmountText(shown)); };
  if (&grid == m_gridIndex) return Q(m_table.NameText(row));
  if (&grid == m_gridTotal) return row == 0 ? Q(m_table.TotalText(0)) : Q(m_table.NameText(row)) + QStringLiteral(" 月間合計 ") + value(m_table.TotalText(row));
  if (col < 0 || col >= m_table.DayCount()) return {};
  const TYmd date = DecodeDate(m_table.First() + col);
  const QString day = QStringLiteral("%1月%2").arg(date.month).arg(Q(m_table.DayText(0, col)).replace(QStringLiteral("("), QStringLiteral("日(")));
  if (row == 0) return day;
  QString text = Q(m_table.NameText(row)) + QLatin1Char(' ') + day;
  const std::string shown = m_table.DayText(row, col);
  if (!shown.empty()) return text + QLatin1Char(' ') + value(shown);
  const std::string coming = m_table.ComingText(row, col);
  if (!coming.empty()) return text + QStringLiteral(" 予定 ") + value(coming);
  return text;
}

}  // namespace kzm::ui
