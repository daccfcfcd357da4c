#include "ui/statement/StatementGrid.h"

#include <QEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

#include "controls/UiBasics.h"
#include "controls/grid/ListGrid.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "statement/StatementImport.h"
#include "views/SpokenAmount.h"

namespace kzm::ui {

namespace {

constexpr const char* kHeaders[kStatementColumnCount] = {"取込", "日付", "内容", "金額", "項目", "判定"};

QString MarkText(const TImportRow& row) {
  // A 0-yen gate record is no fault of the file: it is left out, not unreadable.
  if (row.row.noMoney) return QStringLiteral("取り込まない行: ") + Q(row.row.problem);
  if (!row.row.Readable()) return QStringLiteral("読めない行: ") + Q(row.row.problem);
  switch (row.duplicate) {
    case TDuplicate::dCertain: return QStringLiteral("重複（確実）");
    case TDuplicate::dLikely: return QStringLiteral("重複？");
    case TDuplicate::dNew: break;
  }
  return QStringLiteral("新規");
}

QString CategoryText(const TImportRow& row, const std::string& accountKey) {
  if (!row.row.Readable()) return {};
  QString text = Q(KeyName(BookedCategory(row, accountKey)));
  if (row.categoryKey.empty()) text = QStringLiteral("（") + text + QStringLiteral("）");
  return text;
}

QString CellText(int col, const TImportRow& row, const std::string& accountKey) {
  switch (col) {
    case kStatementTick:
      if (!row.row.Readable()) return QStringLiteral("－");
      return row.ticked ? QStringLiteral("☑") : QStringLiteral("☐");
    case kStatementDate: return row.row.Readable() ? Q(FormatDateSlashed(row.row.date)) : QString();
    // The text as it will be stored: a character the month files cannot hold shows as its stand-in.
    case kStatementText: return Q(row.row.Readable() ? Cp932Safe(row.row.text) : row.row.cells);
    case kStatementAmount: return row.row.Readable() ? Q(FormatThousands(row.row.amount)) : QString();
    case kStatementCategory: return CategoryText(row, accountKey);
    default: return MarkText(row);
  }
}

}  // namespace

TStatementGrid::TStatementGrid(TStatementImport& import, QWidget* parent) : TorvDrawGrid(parent), m_import(import) {
  setObjectName(QStringLiteral("StatementGrid"));
  MakeListGrid(*this, kStatementColumnCount);
  ApplyFontMetrics();
}

void TStatementGrid::ApplyFontMetrics() {
  const QFontMetrics metrics(font());
  const int date = metrics.horizontalAdvance(QStringLiteral("0000/00/00")) + 8;
  SetDefaultColWidth(date);
  SetColWidths(kStatementTick, metrics.horizontalAdvance(QStringLiteral("取込")) + 10);
  SetColWidths(kStatementText, date * 2);
  SetColWidths(kStatementAmount, metrics.horizontalAdvance(QStringLiteral("-0,000,000")) + 8);
  SetColWidths(kStatementCategory, date);
  SetColWidths(kStatementMark, date * 5 / 2);
  const int height = metrics.height() + 5;
  SetDefaultRowHeight(height);
  SetRowHeights(0, height + 3);
}

void TStatementGrid::changeEvent(QEvent* event) {
  TorvDrawGrid::changeEvent(event);
  if (event->type() == QEvent::FontChange) ApplyFontMetrics();
}

void TStatementGrid::RowsChanged() { ShowListRows(*this, m_import.Count()); }

int TStatementGrid::CurrentIndex() const {
  const int index = Row() - 1;
  return index >= 0 && index < m_import.Count() ? index : -1;
}

void TStatementGrid::ToggleTick(int index) {
  if (index < 0 || index >= m_import.Count() || !m_import.Row(index).row.Readable()) return;
  m_import.SetTicked(index, !m_import.Row(index).ticked);
  InvalidateRow(index + 1);
  SpeakCellChanged(*this, *this, kStatementTick, index + 1);
  if (OnTicksChanged) OnTicksChanged();
}

QString TStatementGrid::SpokenCell(int col, int row) const {
  if (col < 0 || col >= kStatementColumnCount) return {};
  if (row == 0) return QString::fromUtf8(kHeaders[col]);
  const int index = row - 1;
  if (index < 0 || index >= m_import.Count()) return {};
  const TImportRow& item = m_import.Row(index);
  if (col == kStatementTick) {
    if (!item.row.Readable()) return QStringLiteral("取り込めない");
    return item.ticked ? QStringLiteral("取り込む") : QStringLiteral("取り込まない");
  }
  if (col == kStatementAmount && item.row.Readable()) return Q(SpokenAmount(item.row.amount));
  return CellText(col, item, m_import.AccountKey());
}

void TStatementGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) {
  const QPalette& pal = palette();
  if (row == 0) {
    canvas.fillRect(rect, pal.color(QPalette::Button));
    canvas.setPen(pal.color(QPalette::ButtonText));
    canvas.drawText(rect.adjusted(2, 0, -2, 0), Qt::AlignCenter, QString::fromUtf8(kHeaders[col]));
    return;
  }
  const int index = row - 1;
  if (index >= m_import.Count()) {
    // The blank row of an empty list is no row to be selected.
    canvas.fillRect(rect, Color());
    return;
  }
  const TImportRow& item = m_import.Row(index);
  const bool selected = state.Contains(TGridDrawFlag::gdSelected);
  canvas.fillRect(rect, selected ? pal.color(QPalette::Highlight) : QColor(Qt::white));
  QColor ink = selected ? pal.color(QPalette::HighlightedText) : QColor(Qt::black);
  // Rows that will not be booked are greyed, so the ticked ones stand out.
  if (!selected && !item.ticked) ink = QColor(Qt::darkGray);
  if (!selected && !item.row.Readable()) ink = QColor(Qt::darkRed);
  canvas.setPen(ink);
  const QFontMetrics metrics(canvas.font());
  const QString text = metrics.elidedText(CellText(col, item, m_import.AccountKey()), Qt::ElideRight, rect.width() - 4);
  const Qt::Alignment align = col == kStatementAmount ? Qt::AlignRight : col == kStatementTick ? Qt::AlignHCenter
                                                                                                : Qt::AlignLeft;
  canvas.drawText(rect.adjusted(2, 0, -2, 0), align | Qt::AlignVCenter, text);
}

bool TStatementGrid::SelectCell(int col, int row) {
  if (!TorvDrawGrid::SelectCell(col, row)) return false;
  if (row != Row() && OnCurrentChanged && row - 1 < m_import.Count()) OnCurrentChanged(row - 1);
  return true;
}

void TStatementGrid::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Space && event->modifiers() == Qt::NoModifier) {
    ToggleTick(CurrentIndex());
    return;
  }
  const bool edit = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_F2;
  if (edit && event->modifiers() == Qt::NoModifier && CurrentIndex() >= 0 && OnEditCategory) {
    OnEditCategory();
    return;
  }
  TorvDrawGrid::keyPressEvent(event);
}

void TStatementGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  TorvDrawGrid::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && cell.X == kStatementTick && cell.Y >= 1) ToggleTick(cell.Y - 1);
}

}  // namespace kzm::ui

namespace kzm::ui {

void TStatementGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  if (cell.Y >= 1 && cell.X != kStatementTick && OnEditCategory) {
    OnEditCategory();
    return;
  }
  TorvDrawGrid::mouseDoubleClickEvent(event);
}

}  // namespace kzm::ui
