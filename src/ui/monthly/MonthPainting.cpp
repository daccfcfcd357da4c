// The cell painter of the monthly view's three grids, and the window's own painting.
#include "ui/monthly/MonthWindow.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "foundation/Text.h"
#include "ui/common/HelpBalloon.h"
#include "ui/monthly/MonthlyGrid.h"

namespace kzm::ui {

void TFmMonth::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (m_helpShown) m_help->PaintOn(painter);
  // The line between the days and the totals.
  painter.setPen(m_colors.line);
  const int x = m_gridTotal->x() - 2;
  painter.drawLine(x, 0, x, std::min(height(), m_table.RowCount() * m_rowHeight));
}

void TFmMonth::DrawCell(const TMonthlyGrid& grid, QPainter& painter, int col, int row, const QRect& rect) {
  const bool isIndex = &grid == m_gridIndex;
  const bool isDate = &grid == m_gridDate;
  QColor text = m_colors.text;
  QColor back = m_colors.fixedCell;
  bool rightAligned = !isIndex;
  std::string cell = isIndex ? m_table.NameText(row) : isDate ? m_table.DayText(row, col) : m_table.TotalText(row);
  // A recurring entry still to come shows faintly in a cell with nothing entered yet.
  const bool coming = isDate && row > 0 && cell.empty() && !(cell = m_table.ComingText(row, col)).empty();

  if (row == 0) {
    back = m_colors.dateCell;
    if (isDate) {
      switch (m_table.HeaderTone(col)) {
        case TDayTone::toSaturday: text = m_colors.saturday; break;
        case TDayTone::toSunday: text = m_colors.sunday; break;
        case TDayTone::toHoliday: text = m_colors.holiday; break;
        case TDayTone::toWeekday: break;
      }
    }
  } else {
    switch (m_table.KindOfRow(row)) {
      case kKindPayment: back = isIndex || row % 2 == 0 ? m_colors.payment1 : m_colors.payment2; break;
      case kKindAsset:
        back = m_colors.asset;
        if (isDate && m_table.IsFaint(row, col)) text = m_colors.faint;
        break;
      case kKindReceipt: back = m_colors.receipt; break;
      case kKindMemo: rightAligned = false; break;
      default: break;
    }
  }

  if (coming) text = m_colors.faint;
  painter.fillRect(rect, back);
  const QFontMetrics metrics(painter.font());
  const TTextWidth measure = [&metrics](std::string_view t) {
    return metrics.horizontalAdvance(QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size())));
  };
  const QString shown = QString::fromStdString(FitText(cell, measure, rect.width() - 4));
  const int left = rect.left();
  const int right = rect.left() + rect.width();  // one past the last pixel
  const int x = rightAligned ? right - metrics.horizontalAdvance(shown) - 2 : left + 2;
  painter.setPen(text);
  painter.drawText(x, rect.top() + 3 + metrics.ascent(), shown);

  const int bottom = rect.top() + rect.height();
  painter.setPen(m_colors.line);
  painter.drawLine(left, bottom - 1, right, bottom - 1);
  if (isIndex) {
    painter.drawLine(right - 1, rect.top(), right - 1, bottom);
  } else {
    painter.drawLine(left, bottom - 1, left, rect.top());
  }
}

}  // namespace kzm::ui
