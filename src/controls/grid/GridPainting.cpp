// Painting of the grid: only the cells that meet the dirty rectangle are drawn.
#include "controls/grid/CustomGrid.h"

#include "controls/grid/InplaceEdit.h"

#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace kzm::ui {

std::vector<TorvCustomGrid::TSpan> TorvCustomGrid::VisibleSpans(const TGridAxis& axis,
                                                                 const TAxisMeasure& m) {
  std::vector<TSpan> spans;
  int pos = 0;
  for (int i = 0; i < axis.Fixed() && pos < m.GridBoundary; ++i) {
    spans.push_back({i, pos, pos + axis.Extent(i)});
    pos += axis.Extent(i) + m.LineWidth;
  }
  pos = m.FixedBoundary;
  for (int i = std::max(m.FirstGridCell, axis.Fixed()); i < axis.Count() && pos < m.GridBoundary;
       ++i) {
    spans.push_back({i, pos, pos + axis.Extent(i)});
    pos += axis.Extent(i) + m.LineWidth;
  }
  return spans;
}

// Pixel rectangle covering the visible cells of a block, lines included.
QRect TorvCustomGrid::BlockRect(const std::vector<TSpan>& cols, const std::vector<TSpan>& rows,
                                const TGridRect& block) {
  QRect result;
  auto range = [](const std::vector<TSpan>& spans, int first, int last, int& from, int& to) {
    from = -1;
    for (const TSpan& s : spans) {
      if (s.Index < first || s.Index > last) continue;
      if (from < 0 || s.Start < from) from = s.Start;
      to = std::max(to, s.End);
    }
    return from >= 0;
  };
  int x0 = 0, x1 = 0, y0 = 0, y1 = 0;
  if (!range(cols, block.Left, block.Right, x0, x1) || !range(rows, block.Top, block.Bottom, y0, y1))
    return result;
  return QRect(QPoint(x0, y0), QPoint(x1 - 1, y1 - 1));
}

void TorvCustomGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  const QRect dirty = event->rect();
  const TAxisMeasure h = HorzMeasure();
  const TAxisMeasure v = VertMeasure();
  const std::vector<TSpan> cols = VisibleSpans(m_cols, h);
  const std::vector<TSpan> rows = VisibleSpans(m_rows, v);
  const auto split = [](const std::vector<TSpan>& spans, int fixed) {
    auto mid = std::find_if(spans.begin(), spans.end(), [fixed](const TSpan& s) { return s.Index >= fixed; });
    return std::pair{std::vector<TSpan>(spans.begin(), mid), std::vector<TSpan>(mid, spans.end())};
  };
  const auto [fixedCols, bodyCols] = split(cols, FixedCols());
  const auto [fixedRows, bodyRows] = split(rows, FixedRows());

  // What lies right of and below the cells.
  const QRect client = viewport()->rect();
  if (h.GridBoundary < client.width())
    painter.fillRect(QRect(h.GridBoundary, 0, client.width() - h.GridBoundary, client.height()) & dirty, m_color);
  if (v.GridBoundary < client.height())
    painter.fillRect(QRect(0, v.GridBoundary, h.GridBoundary, client.height() - v.GridBoundary) & dirty, m_color);

  PaintArea(painter, dirty, fixedCols, fixedRows, true, true);
  PaintArea(painter, dirty, bodyCols, fixedRows, false, true);
  PaintArea(painter, dirty, fixedCols, bodyRows, true, false);
  PaintArea(painter, dirty, bodyCols, bodyRows, false, false);
  PaintDragLine(painter);
}

void TorvCustomGrid::PaintArea(QPainter& painter, const QRect& dirty, const std::vector<TSpan>& cols,
                               const std::vector<TSpan>& rows, bool fixedCols, bool fixedRows) {
  if (cols.empty() || rows.empty()) return;
  const bool fixedArea = fixedCols || fixedRows;
  const int lwX = LineWidthX();
  const int lwY = LineWidthY();
  for (const TSpan& r : rows) {
    if (r.End + lwY <= dirty.top() || r.Start > dirty.bottom()) continue;
    for (const TSpan& c : cols) {
      if (c.End + lwX <= dirty.left() || c.Start > dirty.right()) continue;
      const QRect cell(c.Start, r.Start, c.End - c.Start, r.End - r.Start);
      if (!cell.isEmpty() && cell.intersects(dirty))
        PaintCell(painter, dirty, c.Index, r.Index, cell, CellState(c.Index, r.Index, fixedArea));
    }
  }
  PaintLines(painter, cols, rows, fixedArea);
}

TGridDrawState TorvCustomGrid::CellState(int col, int row, bool fixedCell) const {
  TGridDrawState state;
  // Fixed cells never show focus or selection, even when current or inside the selection.
  if (fixedCell) return state.With(TGridDrawFlag::gdFixed);
  const bool current = m_current == TGridCoord{col, row};
  const bool focused = current && IsActive();
  if (focused) state.Include(TGridDrawFlag::gdFocused);
  if (Selection().Contains(col, row)) {
    const bool editing = current && EditorShowing();
    const bool markFocused = m_options.Contains(TGridOption::goDrawFocusSelected) ||
                             m_options.Contains(TGridOption::goRowSelect);
    if (!editing && (!focused || markFocused)) state.Include(TGridDrawFlag::gdSelected);
  }
  return state;
}

void TorvCustomGrid::PaintCell(QPainter& painter, const QRect& dirty, int col, int row,
                               const QRect& rect, TGridDrawState state) {
  const bool selected = state.Contains(TGridDrawFlag::gdSelected);
  const bool fixed = state.Contains(TGridDrawFlag::gdFixed);
  const QPalette& pal = palette();
  painter.fillRect(rect, selected ? pal.color(QPalette::Highlight) : fixed ? m_fixedColor : m_color);
  painter.save();
  painter.setClipRect(rect & dirty);
  painter.setFont(font());
  painter.setPen(selected ? pal.color(QPalette::HighlightedText) : pal.color(QPalette::Text));
  painter.setBrush(Qt::NoBrush);
  DrawCell(painter, col, row, rect, state);
  painter.restore();
  const bool focusMark = state.Contains(TGridDrawFlag::gdFocused) && m_defaultDrawing &&
                         !EditorShowing() && !m_options.Contains(TGridOption::goRowSelect);
  if (focusMark) {
    painter.save();
    QPen pen(pal.color(QPalette::Text), 1, Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect.adjusted(0, 0, -1, -1));
    painter.restore();
  }
}

void TorvCustomGrid::PaintLines(QPainter& painter, const std::vector<TSpan>& cols,
                                const std::vector<TSpan>& rows, bool fixedArea) {
  const QColor color = fixedArea ? m_fixedLineColor : m_gridLineColor;
  const bool vert = m_options.Contains(fixedArea ? TGridOption::goFixedVertLine : TGridOption::goVertLine);
  const bool horz = m_options.Contains(fixedArea ? TGridOption::goFixedHorzLine : TGridOption::goHorzLine);
  const int lwX = LineWidthX();
  const int lwY = LineWidthY();
  const int left = cols.front().Start;
  const int right = cols.back().End + lwX;
  const int top = rows.front().Start;
  const int bottom = rows.back().End + lwY;
  if (vert && lwX > 0)
    for (const TSpan& c : cols) painter.fillRect(c.End, top, lwX, bottom - top, color);
  if (horz && lwY > 0)
    for (const TSpan& r : rows) painter.fillRect(left, r.End, right - left, lwY, color);
}

// The line that shows where a dragged row or column would land.
QRect TorvCustomGrid::DragLineRect() const {
  if (m_movePos < 0) return {};
  if (m_gridState == TGridState::gsRowMoving) {
    const QRect cell = CellRect(FixedCols() > 0 ? 0 : LeftCol(), m_movePos);
    if (cell.isNull()) return {};
    const int y = m_movePos > m_moveIndex ? cell.bottom() + 1 : cell.top();
    return QRect(0, y - 1, viewport()->width(), 3);
  }
  if (m_gridState == TGridState::gsColMoving) {
    const QRect cell = CellRect(m_movePos, FixedRows() > 0 ? 0 : TopRow());
    if (cell.isNull()) return {};
    return QRect(cell.left() - 1, 0, 3, viewport()->height());
  }
  return {};
}

void TorvCustomGrid::PaintDragLine(QPainter& painter) {
  const QRect line = DragLineRect();
  if (line.isEmpty()) return;
  painter.fillRect(line.adjusted(line.width() > 3 ? 0 : 1, line.height() > 3 ? 0 : 1,
                                 line.width() > 3 ? 0 : -1, line.height() > 3 ? 0 : -1),
                   palette().color(QPalette::Text));
}

}  // namespace kzm::ui
