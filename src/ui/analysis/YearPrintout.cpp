// The printed year report: a heading with the year and the page on every page, the months
// across, one line per category, the sums and the month-end balances.
#include "ui/analysis/YearReportWindow.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

#include "foundation/Text.h"
#include "printing/PrintPreviewWindow.h"

namespace kzm::ui {

namespace {

struct TYearLayout {
  int side = 0;
  int top = 0;
  int line = 0;
  int nameWidth = 0;
  int valueWidth = 0;
  int rowsPerPage = 1;
};

TYearLayout MakeYearLayout(QPainter& canvas, const TPageMetrics& metrics, int valueColumns) {
  TYearLayout l;
  l.side = metrics.printableWidth / 30;
  l.top = metrics.printableHeight / 40;
  const int usable = metrics.printableWidth - 2 * l.side;
  l.valueWidth = usable / (valueColumns + 2);
  l.nameWidth = usable - valueColumns * l.valueWidth;
  // Letters small enough that "-9,999,999" fits a month's column, at most a 80th of the page.
  const int pixels = std::max(1, std::min(metrics.printableHeight / 80, l.valueWidth / 6));
  QFont font = canvas.font();
  font.setPointSize(std::max(1, static_cast<int>(pixels * 72.0 / std::max(1, metrics.dpiY) + 0.5)));
  canvas.setFont(font);
  l.line = canvas.fontMetrics().height() * 5 / 4;
  l.rowsPerPage = std::max(1, (metrics.printableHeight - l.top - 3 * l.line) / std::max(1, l.line));
  return l;
}

void DrawCells(QPainter& canvas, const TYearLayout& l, const QStringList& cells, int y) {
  const int pad = std::max(1, l.valueWidth / 30);
  canvas.drawText(QRect(l.side + pad, y, l.nameWidth - 2 * pad, l.line), Qt::AlignLeft | Qt::AlignVCenter,
                  cells.value(0));
  for (int c = 1; c < cells.size(); ++c) {
    const int x = l.side + l.nameWidth + (c - 1) * l.valueWidth;
    canvas.drawText(QRect(x + pad, y, l.valueWidth - 2 * pad, l.line), Qt::AlignRight | Qt::AlignVCenter, cells[c]);
  }
  const int right = l.side + l.nameWidth + (static_cast<int>(cells.size()) - 1) * l.valueWidth;
  canvas.fillRect(QRect(l.side, y + l.line - 1, right - l.side, std::max(1, l.line / 30)), QColor(0xC0, 0xC0, 0xC0));
}

}  // namespace

void DrawYearPrintout(TFormPrintPreView& preview, const TYearReport& report) {
  const std::vector<TYearLine> lines = YearReportLines(report);
  QStringList header{QStringLiteral("項目")};
  for (TMonthKey key : report.months) header << QString::number(KeyMonth(key)) + QStringLiteral("月");
  header << QStringLiteral("合計") << QStringLiteral("平均");
  QPainter& first = preview.Engine().Canvas();
  const TYearLayout l = MakeYearLayout(first, preview.PageMetrics(), static_cast<int>(header.size()) - 1);
  const QFont font = first.font();
  const int count = static_cast<int>(lines.size());
  const int pages = std::max(1, (count + l.rowsPerPage - 1) / l.rowsPerPage);
  for (int page = 1; page <= pages; ++page) {
    if (page > 1) preview.Engine().NewPage();
    QPainter& canvas = preview.Engine().Canvas();
    canvas.setFont(font);
    canvas.setPen(Qt::black);
    canvas.drawText(QRect(l.side, l.top, preview.PageMetrics().printableWidth - 2 * l.side, l.line),
                    Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("年間の集計 %1年").arg(report.year));
    canvas.drawText(QRect(l.side, l.top, preview.PageMetrics().printableWidth - 2 * l.side, l.line),
                    Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("%1/%2").arg(page).arg(pages));
    DrawCells(canvas, l, header, l.top + 2 * l.line);
    const int from = (page - 1) * l.rowsPerPage;
    for (int i = from; i < std::min(count, from + l.rowsPerPage); ++i) {
      const TYearLine& line = lines[static_cast<size_t>(i)];
      QStringList cells{QString::fromStdString(line.label)};
      for (const std::optional<int64_t>& value : line.values)
        cells << (value ? QString::fromStdString(FormatThousands(*value)) : QString());
      DrawCells(canvas, l, cells, l.top + (3 + i - from) * l.line);
    }
  }
}

}  // namespace kzm::ui
