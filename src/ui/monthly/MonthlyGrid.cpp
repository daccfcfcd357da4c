#include "ui/monthly/MonthlyGrid.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstdlib>

namespace kzm::ui {

TMonthlyGrid::TMonthlyGrid(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted by the cells, so the background is never erased first.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
}

void TMonthlyGrid::SetRowCount(int rows) {
  const int old = m_rowCount;
  m_rowCount = std::max(1, rows);
  m_topRow = std::clamp(m_topRow, 1, std::max(1, m_rowCount - 1));
  update();
  SpeakRowsChanged(*this, old, m_rowCount);
}

void TMonthlyGrid::SetColCount(int cols) {
  const int old = m_colCount;
  m_colCount = std::max(0, cols);
  m_leftCol = std::clamp(m_leftCol, 0, std::max(0, m_colCount - 1));
  update();
  if (old != m_colCount) SpeakTableReset(*this);
}

void TMonthlyGrid::SetDefaultRowHeight(int height) {
  m_rowHeight = std::max(1, height);
  update();
}

void TMonthlyGrid::SetDefaultColWidth(int width) {
  m_colWidth = std::max(1, width);
  update();
}

void TMonthlyGrid::SetTopRow(int row) {
  row = std::clamp(row, 1, std::max(1, m_rowCount - 1));
  if (row == m_topRow) return;
  m_topRow = row;
  update();
}

void TMonthlyGrid::SetLeftCol(int col) {
  col = std::clamp(col, 0, std::max(0, m_colCount - 1));
  if (col == m_leftCol) return;
  m_leftCol = col;
  update();
}

int TMonthlyGrid::VisibleColCount() const {
  return std::min(width() / m_colWidth, m_colCount - m_leftCol);
}

int TMonthlyGrid::VisibleRowCount() const {
  return std::max(0, std::min(height() / m_rowHeight - 1, m_rowCount - m_topRow));
}

int TMonthlyGrid::RowAt(int y) const {
  if (y < 0) return -1;
  const int line = y / m_rowHeight;
  if (line == 0) return 0;
  const int row = m_topRow + line - 1;
  return row < m_rowCount ? row : -1;
}

int TMonthlyGrid::ColAt(int x) const {
  if (x < 0) return -1;
  const int col = m_leftCol + x / m_colWidth;
  return col < m_colCount ? col : -1;
}

QRect TMonthlyGrid::CellRect(int col, int row) const {
  if (col < m_leftCol || col >= m_colCount || row < 0 || row >= m_rowCount) return {};
  if (row > 0 && row < m_topRow) return {};
  const int line = row == 0 ? 0 : row - m_topRow + 1;
  return {(col - m_leftCol) * m_colWidth, line * m_rowHeight, m_colWidth, m_rowHeight};
}

bool TMonthlyGrid::MouseToCell(const QPoint& pos, int& col, int& row) const {
  if (!rect().contains(pos)) return false;
  col = ColAt(pos.x());
  row = RowAt(pos.y());
  return col >= 0 && row >= 0;
}

void TMonthlyGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect dirty = event->rect();
  // What no cell covers keeps the window's colour.
  painter.fillRect(dirty, palette().color(QPalette::Window));
  if (!OnDrawCell) return;
  const int lines = height() / m_rowHeight + 1;
  for (int line = 0; line < lines; ++line) {
    const int row = line == 0 ? 0 : m_topRow + line - 1;
    if (row >= m_rowCount) break;
    const int top = line * m_rowHeight;
    if (top > dirty.bottom() || top + m_rowHeight <= dirty.top()) continue;
    for (int col = m_leftCol; col < m_colCount; ++col) {
      const QRect cell((col - m_leftCol) * m_colWidth, top, m_colWidth, m_rowHeight);
      if (cell.left() > dirty.right()) break;
      if (!cell.intersects(dirty)) continue;
      painter.save();
      painter.setClipRect(cell);
      OnDrawCell(painter, col, row, cell);
      if (hasFocus() && m_cursor && col == m_current.x() && row == m_current.y()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(cell.adjusted(1, 1, -1, -1));
      }
      painter.restore();
    }
  }
}

int TMonthlyGrid::BorderAt(const QPoint& pos) const {
  constexpr int kGrip = 3;  // pixels either side of a border that take the drag
  if (!OnColumnResize || pos.y() < 0 || pos.y() >= m_rowHeight) return 0;
  const int columns = (pos.x() + kGrip) / m_colWidth;
  if (columns < 1 || columns > m_colCount - m_leftCol) return 0;
  return std::abs(pos.x() - columns * m_colWidth) <= kGrip ? columns : 0;
}

int TMonthlyGrid::DraggedWidth(int x) const {
  constexpr int kNarrowest = 16;
  return std::max(kNarrowest, x / std::max(1, m_dragColumns));
}

void TMonthlyGrid::mousePressEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (event->button() == Qt::LeftButton && (m_dragColumns = BorderAt(pos)) > 0) return;
  int col = -1, row = -1;
  if (MouseToCell(pos, col, row)) emit MouseDown(event->button(), col, row);
}

void TMonthlyGrid::mouseReleaseEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (m_dragColumns > 0) {
    const int width = DraggedWidth(pos.x());
    m_dragColumns = 0;
    OnColumnResize(width, true);
    return;
  }
  int col = -1, row = -1;
  MouseToCell(pos, col, row);
  emit MouseUp(event->button(), col, row);
}

void TMonthlyGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (m_dragColumns > 0) {
    OnColumnResize(DraggedWidth(pos.x()), false);
    return;
  }
  if (BorderAt(pos) > 0) setCursor(Qt::SplitHCursor);
  else unsetCursor();
  int col = -1, row = -1;
  MouseToCell(pos, col, row);
  emit MouseMove(col, row);
  event->ignore();
}

}  // namespace kzm::ui
