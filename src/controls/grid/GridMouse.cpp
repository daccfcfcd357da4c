// The mouse: selecting, sizing rows and columns by their lines, moving them by fixed cells.
#include "controls/grid/CustomGrid.h"

#include "controls/grid/InplaceEdit.h"

#include <QMouseEvent>
#include <QTimer>

#include <algorithm>

namespace kzm::ui {

namespace {

// How far from a line the pointer may be and still grab it.
constexpr int kSizingTolerance = 3;

// Index of the cell whose far line lies near pos, or -1.
int LineNear(const TGridAxis& axis, const TAxisMeasure& m, int pos) {
  int start = 0;
  for (int i = 0; i < axis.Count(); ++i) {
    if (i == axis.Fixed()) {
      i = std::max(i, m.FirstGridCell);
      if (i >= axis.Count()) break;
      start = m.FixedBoundary;
    }
    const int line = start + axis.Extent(i);
    if (line > m.GridBoundary + kSizingTolerance) break;
    if (pos >= line - kSizingTolerance && pos <= line + m.LineWidth + kSizingTolerance - 1) return i;
    start = line + m.LineWidth;
  }
  return -1;
}

}  // namespace

int TorvCustomGrid::SizingColAt(QPoint pos) const {
  if (!m_options.Contains(TGridOption::goColSizing)) return -1;
  if (pos.y() >= VertMeasure().FixedBoundary) return -1;
  return LineNear(m_cols, HorzMeasure(), pos.x());
}

int TorvCustomGrid::SizingRowAt(QPoint pos) const {
  if (!m_options.Contains(TGridOption::goRowSizing)) return -1;
  if (pos.x() >= HorzMeasure().FixedBoundary) return -1;
  return LineNear(m_rows, VertMeasure(), pos.y());
}

void TorvCustomGrid::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) {
    QAbstractScrollArea::mousePressEvent(event);
    return;
  }
  if (!hasFocus() && !(m_editor && m_editor->hasFocus())) setFocus(Qt::MouseFocusReason);
  StartMouseAction(event);
  m_lastMousePos = event->position().toPoint();
}

void TorvCustomGrid::StartMouseAction(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  if (const int col = SizingColAt(pos); col >= 0) {
    m_gridState = TGridState::gsColSizing;
    m_sizingIndex = col;
    m_sizingOffset = pos.x() - (CellRect(col, FixedRows() > 0 ? 0 : TopRow()).left() + m_cols.Extent(col));
    return;
  }
  if (const int row = SizingRowAt(pos); row >= 0) {
    m_gridState = TGridState::gsRowSizing;
    m_sizingIndex = row;
    m_sizingOffset = pos.y() - (CellRect(FixedCols() > 0 ? 0 : LeftCol(), row).top() + m_rows.Extent(row));
    return;
  }
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  if (cell.X < 0) return;
  const bool inFixedRows = cell.Y < FixedRows();
  const bool inFixedCols = cell.X < FixedCols();
  if (inFixedRows || inFixedCols) {
    if (inFixedRows && !inFixedCols && m_options.Contains(TGridOption::goColMoving) &&
        BeginColumnDrag(cell.X)) {
      m_gridState = TGridState::gsColMoving;
      m_moveIndex = m_movePos = cell.X;
      viewport()->update(DragLineRect());
    } else if (inFixedCols && !inFixedRows && m_options.Contains(TGridOption::goRowMoving) &&
               BeginRowDrag(cell.Y)) {
      m_gridState = TGridState::gsRowMoving;
      m_moveIndex = m_movePos = cell.Y;
      viewport()->update(DragLineRect());
    }
    return;
  }
  const bool editing = m_options.Contains(TGridOption::goEditing) &&
                       !m_options.Contains(TGridOption::goRowSelect);
  if (editing && cell == m_current && !(event->modifiers() & Qt::ShiftModifier)) {
    ShowEditor();
    return;
  }
  const bool extend = (event->modifiers() & Qt::ShiftModifier) &&
                      m_options.Contains(TGridOption::goRangeSelect);
  MoveCurrent(cell.X, cell.Y, !extend, true);
  if (m_options.Contains(TGridOption::goRangeSelect)) m_gridState = TGridState::gsSelecting;
}

void TorvCustomGrid::mouseMoveEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  m_lastMousePos = pos;
  switch (m_gridState) {
    case TGridState::gsNormal:
      if (SizingColAt(pos) >= 0)
        viewport()->setCursor(Qt::SplitHCursor);
      else if (SizingRowAt(pos) >= 0)
        viewport()->setCursor(Qt::SplitVCursor);
      else
        viewport()->unsetCursor();
      break;
    case TGridState::gsColSizing:
    case TGridState::gsRowSizing: ContinueSizing(pos); break;
    case TGridState::gsRowMoving:
    case TGridState::gsColMoving: UpdateMoveTarget(pos); break;
    case TGridState::gsSelecting:
      ExtendSelectionTo(pos);
      if (!viewport()->rect().contains(pos) && !m_scrollTimer->isActive()) m_scrollTimer->start();
      break;
  }
  QAbstractScrollArea::mouseMoveEvent(event);
}

void TorvCustomGrid::ContinueSizing(QPoint pos) {
  if (m_gridState == TGridState::gsColSizing) {
    const int start = CellRect(m_sizingIndex, FixedRows() > 0 ? 0 : TopRow()).left();
    if (start >= 0) SetColWidths(m_sizingIndex, pos.x() - m_sizingOffset - start);
  } else {
    const int start = CellRect(FixedCols() > 0 ? 0 : LeftCol(), m_sizingIndex).top();
    if (start >= 0) SetRowHeights(m_sizingIndex, pos.y() - m_sizingOffset - start);
  }
}

void TorvCustomGrid::ExtendSelectionTo(QPoint pos) {
  const TAxisMeasure h = HorzMeasure();
  const TAxisMeasure v = VertMeasure();
  // Pointer positions over fixed cells or past the cells extend only as far as the body.
  const int x = std::clamp(pos.x(), h.FixedBoundary, std::max(h.FixedBoundary, h.GridBoundary - 1));
  const int y = std::clamp(pos.y(), v.FixedBoundary, std::max(v.FixedBoundary, v.GridBoundary - 1));
  const TGridCoord cell = MouseCoord(x, y);
  if (cell.X < FixedCols() || cell.Y < FixedRows() || cell == m_current) return;
  MoveCurrent(cell.X, cell.Y, false, false);
}

void TorvCustomGrid::AutoScrollStep() {
  if (m_gridState != TGridState::gsSelecting) {
    m_scrollTimer->stop();
    return;
  }
  const QRect client = viewport()->rect();
  const QPoint pos = m_lastMousePos;
  if (client.contains(pos)) {
    m_scrollTimer->stop();
    return;
  }
  TGridCoord top = m_topLeft;
  if (pos.y() < VertMeasure().FixedBoundary) --top.Y;
  if (pos.y() >= client.height()) ++top.Y;
  if (pos.x() < HorzMeasure().FixedBoundary) --top.X;
  if (pos.x() >= client.width()) ++top.X;
  ScrollToTopLeft(top.X, top.Y);
  ExtendSelectionTo(pos);
}

// Where a dragged row or column would land for the pointer at pos.
void TorvCustomGrid::UpdateMoveTarget(QPoint pos) {
  const bool rows = m_gridState == TGridState::gsRowMoving;
  // The cell under the pointer counts even over fixed cells while moving.
  const TGridCoord hit = MouseCoord(pos.x(), pos.y());
  const int target = MoveTargetOnAxis(rows, rows ? hit.Y : hit.X, rows ? pos.y() : pos.x());
  if (target == m_movePos) return;
  viewport()->update(DragLineRect());
  const bool allowed = rows ? CheckRowDrag(m_moveIndex, target) : CheckColumnDrag(m_moveIndex, target);
  if (allowed) m_movePos = target;
  viewport()->update(DragLineRect());
}

int TorvCustomGrid::MoveTargetOnAxis(bool rows, int hit, int pos) {
  const int fixed = rows ? FixedRows() : FixedCols();
  const int count = rows ? RowCount() : ColCount();
  const auto measure = [this, rows] { return rows ? VertMeasure() : HorzMeasure(); };
  const auto scrollTo = [this, rows](int first) {
    if (rows)
      SetTopRow(first);
    else
      SetLeftCol(first);
  };
  TAxisMeasure m = measure();
  if (hit == m_movePos) return m_movePos;
  const bool overFixed = pos < m.FixedBoundary;
  if (m_movePos == fixed && overFixed) return m_movePos;
  if (overFixed) {
    if (m_movePos > fixed) scrollTo((rows ? TopRow() : LeftCol()) - 1);
    return rows ? TopRow() : LeftCol();
  }
  if (pos >= m.FullVisBoundary) {
    if (m_movePos == m.LastFullVisibleCell && m.LastFullVisibleCell < count - 1) {
      scrollTo((rows ? TopRow() : LeftCol()) + 1);
      return measure().LastFullVisibleCell;
    }
    return std::min(m.LastFullVisibleCell + 1, count - 1);
  }
  return hit >= 0 ? hit : m_movePos;
}

void TorvCustomGrid::mouseReleaseEvent(QMouseEvent* event) {
  const TGridState state = m_gridState;
  m_gridState = TGridState::gsNormal;
  m_scrollTimer->stop();
  if (state == TGridState::gsRowMoving || state == TGridState::gsColMoving) {
    const int from = m_moveIndex;
    const int to = m_movePos;
    m_moveIndex = m_movePos = -1;
    InvalidateGrid();
    if (to >= 0 && to != from) {
      if (state == TGridState::gsRowMoving)
        MoveRow(from, to);
      else
        MoveColumn(from, to);
    }
  }
  QAbstractScrollArea::mouseReleaseEvent(event);
}

void TorvCustomGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QPoint pos = event->position().toPoint();
  const TGridCoord cell = MouseCoord(pos.x(), pos.y());
  if (cell == m_current && cell.X >= FixedCols() && cell.Y >= FixedRows() &&
      m_options.Contains(TGridOption::goEditing)) {
    ShowEditor();
    return;
  }
  QAbstractScrollArea::mouseDoubleClickEvent(event);
}

}  // namespace kzm::ui
