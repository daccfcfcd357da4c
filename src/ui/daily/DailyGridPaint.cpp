// Painting the daily grid: bands in the colour of the grid's kind, entry rows on the entry
// colour, thin lines that make each band read as one strip.
#include "ui/daily/DailyGrid.h"

#include "ui/daily/DailyCells.h"

#include "foundation/ColorScheme.h"
#include "foundation/Text.h"
#include "graphics/BitmapRoutines.h"
#include "passbook/Categories.h"
#include "views/DailyRows.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>

namespace kzm::ui {

namespace {

QColor ToColor(kzm::TColor c) {
  return {static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF)};
}

const char* BandColorKey(int gridKind) {
  switch (gridKind) {
    case kzm::kKindAsset: return "日データ入力\\セル\\資産移動";
    case kzm::kKindReceipt: return "日データ入力\\セル\\収入";
    default: return "日データ入力\\セル\\支出";
  }
}

// text as it fits width pixels, shortened with "..".
QString Fitted(const QString& text, const QFontMetrics& metrics, int width) {
  if (metrics.horizontalAdvance(text) <= width) return text;
  const auto measure = [&metrics](std::string_view part) {
    return metrics.horizontalAdvance(QString::fromUtf8(part.data(), static_cast<qsizetype>(part.size())));
  };
  return QString::fromStdString(kzm::FitText(text.toStdString(), measure, width));
}

}  // namespace

TDailyGrid::TPaintColors TDailyGrid::ReadColors() const {
  kzm::TColorsList& scheme = kzm::ColorScheme();
  const kzm::TColor band = scheme.GetColor(BandColorKey(m_gridKind));
  const kzm::TColor inverse = scheme.GetColor("日データ入力\\文字\\反転");
  return TPaintColors{ToColor(scheme.GetColor("日データ入力\\セル\\ライン")),
                      ToColor(scheme.GetColor("日データ入力\\セル\\入力")),
                      ToColor(scheme.GetColor("日データ入力\\文字\\通常")),
                      ToColor(band),
                      ToColor(inverse),
                      ToColor(kzm::MixColor(band, inverse, 80))};
}

void TDailyGrid::paintEvent(QPaintEvent* event) {
  if (m_updating) return;
  // Colours are read per paint, so a changed colour scheme shows on the next repaint.
  m_colors = ReadColors();
  if (Color() != m_colors.entryBack) SetColor(m_colors.entryBack);
  TorvGrid::paintEvent(event);
}

void TDailyGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState) {
  if (m_updating) return;
  const bool entry = IsEntryRow(row);
  const TPaintColors& colors = m_colors;
  canvas.fillRect(rect, entry ? colors.entryBack : colors.bandBack);

  QString text;
  QColor pen = entry ? colors.entryText : colors.bandText;
  if (col == kzm::kColCode) {
    if (row > 0) text = QStringLiteral("○");
    pen = colors.line;
  } else if ((col == kzm::kColItem && !entry && row > 0) || (col == kzm::kColAccount && entry)) {
    text = QString::fromStdString(kzm::KeyName(FromCell(Cells(col, row))));
  } else {
    text = Cells(col, row);
    if (col == kzm::kColAmount && !entry && row > 0) pen = colors.subtotalText;
  }
  if (!text.isEmpty()) {
    const QFontMetrics metrics(canvas.font());
    text = Fitted(text, metrics, rect.width() - 4);
    const int x = col == kzm::kColAmount ? rect.left() + rect.width() - metrics.horizontalAdvance(text) - 3
                                         : rect.left() + 2;
    const int y = rect.top() + (row == 0 ? 7 : 3) + metrics.ascent();
    canvas.setPen(pen);
    canvas.drawText(QPoint(x, y), text);
  }

  canvas.setPen(colors.line);
  canvas.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
  if ((row == 0 || entry) && col <= kzm::kColAccount)
    canvas.drawLine(rect.right(), rect.top() + 2, rect.right(), rect.bottom() - 2);
}

}  // namespace kzm::ui
