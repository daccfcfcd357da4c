// TorvGrid: texts and objects per cell, and the sort markers.
#include "controls/grid/GridControl.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPolygon>

#include <algorithm>

namespace kzm::ui {

TorvGrid::TorvGrid(QWidget* parent) : TorvDrawGrid(parent) {
  m_rows.resize(static_cast<size_t>(RowCount()));
}

void TorvGrid::CheckCell(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount())
    throw EInvalidGridOperation(kGridIndexOutOfRange);
}

const TorvGrid::TCell* TorvGrid::FindCell(int col, int row) const {
  CheckCell(col, row);
  const TRow& cells = m_rows[static_cast<size_t>(row)];
  return static_cast<size_t>(col) < cells.size() ? &cells[static_cast<size_t>(col)] : nullptr;
}

TorvGrid::TCell& TorvGrid::CellAt(int col, int row) {
  CheckCell(col, row);
  TRow& cells = m_rows[static_cast<size_t>(row)];
  if (cells.size() < static_cast<size_t>(ColCount())) cells.resize(static_cast<size_t>(ColCount()));
  return cells[static_cast<size_t>(col)];
}

QString TorvGrid::Cells(int col, int row) const {
  const TCell* cell = FindCell(col, row);
  return cell ? cell->Text : QString();
}

void TorvGrid::SetCells(int col, int row, const QString& text) {
  TCell& cell = CellAt(col, row);
  if (cell.Text == text) return;
  cell.Text = text;
  InvalidateCell(col, row);
  // Readers hear the cell the person is on; the others are read when visited.
  if (col == Col() && row == Row()) SpeakCellChanged(*this, *this, col, row);
}

QVariant TorvGrid::Objects(int col, int row) const {
  const TCell* cell = FindCell(col, row);
  return cell ? cell->Object : QVariant();
}

void TorvGrid::SetObjects(int col, int row, const QVariant& object) {
  CellAt(col, row).Object = object;
}

QStringList TorvGrid::Rows(int row) const {
  QStringList texts;
  for (int col = 0; col < ColCount(); ++col) texts.append(Cells(col, row));
  return texts;
}

void TorvGrid::SetRows(int row, const QStringList& texts) {
  CheckCell(0, row);
  for (int col = 0; col < ColCount(); ++col) {
    TCell& cell = CellAt(col, row);
    cell.Text = col < texts.size() ? texts[col] : QString();
    cell.Object = QVariant();
  }
  InvalidateRow(row);
}

QString TorvGrid::GetEditText(int col, int row) {
  QString value = Cells(col, row);
  if (OnGetEditText) OnGetEditText(*this, col, row, value);
  return value;
}

void TorvGrid::SetEditText(int col, int row, const QString& value) {
  SetCells(col, row, value);
  TorvDrawGrid::SetEditText(col, row, value);
}

void TorvGrid::ColumnMoved(int fromIndex, int toIndex) {
  for (TRow& cells : m_rows) {
    if (cells.empty()) continue;
    cells.resize(std::max(cells.size(), static_cast<size_t>(ColCount())));
    auto first = cells.begin();
    if (fromIndex < toIndex)
      std::rotate(first + fromIndex, first + fromIndex + 1, first + toIndex + 1);
    else
      std::rotate(first + toIndex, first + fromIndex, first + fromIndex + 1);
  }
  TorvDrawGrid::ColumnMoved(fromIndex, toIndex);
}

void TorvGrid::RowMoved(int fromIndex, int toIndex) {
  auto first = m_rows.begin();
  if (fromIndex < toIndex)
    std::rotate(first + fromIndex, first + fromIndex + 1, first + toIndex + 1);
  else
    std::rotate(first + toIndex, first + fromIndex, first + fromIndex + 1);
  TorvDrawGrid::RowMoved(fromIndex, toIndex);
}

void TorvGrid::SizeChanged(int oldColCount, int oldRowCount) {
  m_rows.resize(static_cast<size_t>(RowCount()));
  if (ColCount() < oldColCount)
    for (TRow& cells : m_rows)
      if (cells.size() > static_cast<size_t>(ColCount())) cells.resize(static_cast<size_t>(ColCount()));
  TorvDrawGrid::SizeChanged(oldColCount, oldRowCount);
}

void TorvGrid::DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                        TGridDrawState state) {
  if (DefaultDrawing()) {
    const QString text = Cells(col, row);
    // The painter is already clipped to the cell; a baseline point is the cheap way to draw.
    if (!text.isEmpty())
      canvas.drawText(QPoint(rect.left() + 2, rect.top() + 2 + QFontMetrics(canvas.font()).ascent()), text);
    if (Sort() && state.Contains(TGridDrawFlag::gdFixed)) DrawSortMarker(canvas, col, rect, text);
  }
  TorvDrawGrid::DrawCell(canvas, col, row, rect, state);
}

namespace {

bool HasMarlett() {
  static const bool found = QFontDatabase::families().contains(QStringLiteral("Marlett"));
  return found;
}

}  // namespace

// Forward order shows a downward triangle, reverse order an upward one, like the symbol
// font's "u" and "t"; where that font is missing the triangles are drawn by hand.
void TorvGrid::DrawSortMarker(QPainter& canvas, int col, const QRect& rect, const QString& text) {
  const TGridSortFlag flag = SortFlag(col);
  if (flag == TGridSortFlag::gsfNone) return;
  const QFontMetrics metrics(canvas.font());
  const int x = rect.left() + metrics.horizontalAdvance(text) + 2;
  const int y = rect.top() + 2;
  if (HasMarlett()) {
    QFont symbol(QStringLiteral("Marlett"));
    symbol.setPointSizeF(canvas.font().pointSizeF());
    canvas.setFont(symbol);
    const QString glyph = flag == TGridSortFlag::gsfForword ? QStringLiteral("u") : QStringLiteral("t");
    canvas.drawText(QRect(x, y, rect.right() - x + 1, rect.bottom() - y + 1),
                    Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, glyph);
    return;
  }
  const int height = metrics.height();
  const int width = std::max(5, (height / 2) | 1);  // odd, so the tip sits on a pixel
  const int depth = (width + 1) / 2;
  const int left = x + 2;
  const int top = y + (height - depth) / 2;
  QPolygon triangle;
  if (flag == TGridSortFlag::gsfForword)
    triangle << QPoint(left, top) << QPoint(left + width - 1, top) << QPoint(left + width / 2, top + depth - 1);
  else
    triangle << QPoint(left + width / 2, top) << QPoint(left + width - 1, top + depth - 1) << QPoint(left, top + depth - 1);
  canvas.save();
  canvas.setRenderHint(QPainter::Antialiasing, false);
  canvas.setBrush(canvas.pen().color());
  canvas.drawPolygon(triangle);
  canvas.restore();
}

}  // namespace kzm::ui
