// The current cell, scrolling and the keyboard.
#include "controls/grid/CustomGrid.h"

#include "controls/grid/InplaceEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>

namespace kzm::ui {

bool TorvCustomGrid::IsActive() const {
  return hasFocus() || (m_editor && m_editor->hasFocus());
}

void TorvCustomGrid::SetCol(int col) {
  if (col != m_current.X) FocusCell(col, m_current.Y, true);
}

void TorvCustomGrid::SetRow(int row) {
  if (row != m_current.Y) FocusCell(m_current.X, row, true);
}

void TorvCustomGrid::SetLeftCol(int col) { ScrollToTopLeft(col, m_topLeft.Y); }
void TorvCustomGrid::SetTopRow(int row) { ScrollToTopLeft(m_topLeft.X, row); }

void TorvCustomGrid::FocusCell(int col, int row, bool moveAnchor) {
  MoveCurrent(col, row, moveAnchor, true);
}

void TorvCustomGrid::MoveCurrent(int col, int row, bool moveAnchor, bool show) {
  CheckCol(col);
  CheckRow(row);
  if (!SelectCell(col, row)) return;
  PlaceCurrent({col, row}, moveAnchor, show);
}

void TorvCustomGrid::PlaceCurrent(TGridCoord cell, bool moveAnchor, bool show) {
  const bool moved = !(cell == m_current);
  if (moved) {
    CommitEditor();
    if (!m_options.Contains(TGridOption::goAlwaysShowEditor)) m_editorMode = false;
  }
  const TGridRect oldSelection = Selection();
  const TGridCoord oldCurrent = m_current;
  m_current = cell;
  if (moveAnchor || !m_options.Contains(TGridOption::goRangeSelect)) m_anchor = cell;
  if (m_options.Contains(TGridOption::goRowSelect)) m_anchor.X = ColCount() - 1;
  if (show) ClampInView(cell);
  InvalidateBlock(oldSelection);
  InvalidateBlock(Selection());
  InvalidateCell(oldCurrent.X, oldCurrent.Y);
  InvalidateCell(cell.X, cell.Y);
  UpdateEditor();
  if (moved) SpeakCurrentMoved(*this, *this);
}

void TorvCustomGrid::ClampInView(TGridCoord cell) {
  TGridCoord top = m_topLeft;
  const TAxisMeasure h = HorzMeasure();
  const TAxisMeasure v = VertMeasure();
  if (cell.X >= FixedCols()) {
    if (cell.X < top.X)
      top.X = cell.X;
    else if (cell.X > h.LastFullVisibleCell)
      top.X = FirstCellShowingLast(m_cols, cell.X, viewport()->width(), LineWidthX());
  }
  if (cell.Y >= FixedRows()) {
    if (cell.Y < top.Y)
      top.Y = cell.Y;
    else if (cell.Y > v.LastFullVisibleCell)
      top.Y = FirstCellShowingLast(m_rows, cell.Y, viewport()->height(), LineWidthY());
  }
  ScrollToTopLeft(top.X, top.Y);
}

void TorvCustomGrid::ScrollToTopLeft(int col, int row) {
  const int maxCol = MaxFirstCell(m_cols, viewport()->width(), LineWidthX());
  const int maxRow = MaxFirstCell(m_rows, viewport()->height(), LineWidthY());
  const TGridCoord target{std::clamp(col, FixedCols(), std::max(FixedCols(), maxCol)),
                          std::clamp(row, FixedRows(), std::max(FixedRows(), maxRow))};
  if (target == m_topLeft) return;
  const TGridCoord old = m_topLeft;
  m_topLeft = target;
  ScrollPixels(old);
  UpdateScrollRange();
  TopLeftChanged();
  UpdateEditor();
}

// Moves what is already painted and leaves only the uncovered strip to be painted, when a
// single axis scrolled by less than its scrolling area.
void TorvCustomGrid::ScrollPixels(TGridCoord oldTopLeft) {
  const bool horz = oldTopLeft.X != m_topLeft.X;
  const bool vert = oldTopLeft.Y != m_topLeft.Y;
  if ((horz && vert) || m_gridState == TGridState::gsRowMoving ||
      m_gridState == TGridState::gsColMoving) {
    InvalidateGrid();
    return;
  }
  const TGridAxis& axis = horz ? m_cols : m_rows;
  const int lw = horz ? LineWidthX() : LineWidthY();
  const int from = horz ? oldTopLeft.X : oldTopLeft.Y;
  const int to = horz ? m_topLeft.X : m_topLeft.Y;
  // The old first cell may be gone with cells the axis lost: there is nothing to move then.
  if (std::max(from, to) > axis.Count()) {
    InvalidateGrid();
    return;
  }
  int64_t delta = 0;
  for (int i = std::min(from, to); i < std::max(from, to); ++i) delta += axis.Extent(i) + lw;
  const TAxisMeasure m = horz ? HorzMeasure() : VertMeasure();
  const QRect client = viewport()->rect();
  const QRect area = horz ? QRect(m.FixedBoundary, 0, client.width() - m.FixedBoundary, client.height())
                          : QRect(0, m.FixedBoundary, client.width(), client.height() - m.FixedBoundary);
  if (delta >= (horz ? area.width() : area.height()) || area.isEmpty()) {
    InvalidateGrid();
    return;
  }
  const int shift = static_cast<int>(to > from ? -delta : delta);
  if (horz)
    viewport()->scroll(shift, 0, area);
  else
    viewport()->scroll(0, shift, area);
}

void TorvCustomGrid::UpdateScrollRange() {
  const int maxCol = MaxFirstCell(m_cols, viewport()->width(), LineWidthX());
  const int maxRow = MaxFirstCell(m_rows, viewport()->height(), LineWidthY());
  // A bigger window or fewer cells may leave the view scrolled past what is needed.
  const TGridCoord clamped{std::clamp(m_topLeft.X, FixedCols(), std::max(FixedCols(), maxCol)),
                           std::clamp(m_topLeft.Y, FixedRows(), std::max(FixedRows(), maxRow))};
  if (!(clamped == m_topLeft)) {
    m_topLeft = clamped;
    InvalidateGrid();
    TopLeftChanged();
  }
  m_horzBar = ScrollBarSetup(ColCount(), FixedCols(), m_topLeft.X, VisibleColCount(), maxCol, m_horzBar);
  m_vertBar = ScrollBarSetup(RowCount(), FixedRows(), m_topLeft.Y, VisibleRowCount(), maxRow, m_vertBar);
  ApplyScrollBar(horizontalScrollBar(), m_horzBar);
  ApplyScrollBar(verticalScrollBar(), m_vertBar);
  if (m_barsWhenNeeded) UpdateScrollBarPolicy();
}

// A page-based range (the thumb covers Page of Max − Min + 1) becomes Qt's range of thumb
// positions.
void TorvCustomGrid::ApplyScrollBar(QScrollBar* bar, const TScrollBarSetup& setup) {
  const QSignalBlocker blocker(bar);
  bar->setEnabled(setup.Enabled);
  if (setup.Enabled) {
    bar->setRange(setup.Min, std::max(setup.Min, setup.Max - setup.Page + 1));
    bar->setPageStep(std::max(1, setup.Page));
    bar->setSingleStep(1);
  }
  if (bar->value() != setup.Position) bar->setValue(setup.Position);
}

void TorvCustomGrid::ScrollBarAction(Qt::Orientation orientation, int action) {
  const bool horz = orientation == Qt::Horizontal;
  QScrollBar* bar = horz ? horizontalScrollBar() : verticalScrollBar();
  TScrollRequest request;
  switch (action) {
    case QAbstractSlider::SliderSingleStepSub: request = TScrollRequest::LineUp; break;
    case QAbstractSlider::SliderSingleStepAdd: request = TScrollRequest::LineDown; break;
    case QAbstractSlider::SliderPageStepSub: request = TScrollRequest::PageUp; break;
    case QAbstractSlider::SliderPageStepAdd: request = TScrollRequest::PageDown; break;
    case QAbstractSlider::SliderToMinimum: request = TScrollRequest::Top; break;
    case QAbstractSlider::SliderToMaximum: request = TScrollRequest::Bottom; break;
    case QAbstractSlider::SliderMove:
      // Without thumb tracking the view follows when the thumb is let go.
      if (!m_options.Contains(TGridOption::goThumbTracking)) return;
      request = TScrollRequest::ThumbTrack;
      break;
    default: return;
  }
  const int fixed = horz ? FixedCols() : FixedRows();
  const int first = horz ? m_topLeft.X : m_topLeft.Y;
  const int maxFirst = horz ? MaxFirstCell(m_cols, viewport()->width(), LineWidthX())
                            : MaxFirstCell(m_rows, viewport()->height(), LineWidthY());
  const int visible = horz ? VisibleColCount() : VisibleRowCount();
  const int target = ScrollTarget(request, first, fixed, maxFirst, visible, bar->sliderPosition());
  if (horz)
    ScrollToTopLeft(target, m_topLeft.Y);
  else
    ScrollToTopLeft(m_topLeft.X, target);
  bar->setSliderPosition((horz ? m_topLeft.X : m_topLeft.Y) - fixed);
}

void TorvCustomGrid::ScrollBarReleased(Qt::Orientation orientation) {
  const bool horz = orientation == Qt::Horizontal;
  QScrollBar* bar = horz ? horizontalScrollBar() : verticalScrollBar();
  const int fixed = horz ? FixedCols() : FixedRows();
  const int target = fixed + bar->sliderPosition();
  if (horz)
    ScrollToTopLeft(target, m_topLeft.Y);
  else
    ScrollToTopLeft(m_topLeft.X, target);
  UpdateScrollRange();
}

// The grid scrolls in whole cells itself; the pixel scrolling of the base does not apply.
void TorvCustomGrid::scrollContentsBy(int, int) {}

void TorvCustomGrid::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollRange();
  UpdateEditor();
}

void TorvCustomGrid::wheelEvent(QWheelEvent* event) {
  m_wheelRemainder += event->angleDelta().y();
  const int steps = m_wheelRemainder / 120;
  m_wheelRemainder -= steps * 120;
  if (steps != 0) ScrollByWheelSteps(steps);
  event->accept();
}

void TorvCustomGrid::ScrollByWheelSteps(int steps) {
  const int lines = std::max(1, QApplication::wheelScrollLines());
  SetTopRow(m_topLeft.Y - steps * lines);
}

void TorvCustomGrid::focusInEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusInEvent(event);
  if (EditorShowing() && m_editorCell.X >= 0) m_editor->setFocus();
  InvalidateCell(m_current.X, m_current.Y);
  if (!m_quietFocus) SpeakCurrentMoved(*this, *this);
}

void TorvCustomGrid::SetFocusQuietly() {
  m_quietFocus = true;
  setFocus(Qt::OtherFocusReason);
  m_quietFocus = false;
}

void TorvCustomGrid::focusOutEvent(QFocusEvent* event) {
  QAbstractScrollArea::focusOutEvent(event);
  InvalidateCell(m_current.X, m_current.Y);
}

// With goTabs the Tab key moves between cells instead of leaving the grid.
bool TorvCustomGrid::focusNextPrevChild(bool next) {
  if (m_options.Contains(TGridOption::goTabs)) return false;
  return QAbstractScrollArea::focusNextPrevChild(next);
}

void TorvCustomGrid::keyPressEvent(QKeyEvent* event) {
  if (EditingKey(event) || NavigationKey(event)) {
    event->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(event);
}

TGridCoord TorvCustomGrid::TabTarget(bool forward) const {
  TGridCoord cell = m_current;
  const int firstCol = FixedCols();
  const int lastCol = ColCount() - 1;
  for (int guard = 0; guard < ColCount() * 2; ++guard) {
    if (forward) {
      if (++cell.X > lastCol) {
        if (cell.Y + 1 >= RowCount()) return m_current;
        cell = {firstCol, cell.Y + 1};
      }
    } else if (--cell.X < firstCol) {
      if (cell.Y - 1 < FixedRows()) return m_current;
      cell = {lastCol, cell.Y - 1};
    }
    if (TabStops(cell.X)) return cell;
  }
  return m_current;
}

bool TorvCustomGrid::NavigationKey(QKeyEvent* event) {
  // Nothing to move onto in an empty body or without scrollable columns.
  if (RowCount() <= FixedRows() || ColCount() <= FixedCols()) return false;
  const bool ctrl = event->modifiers() & Qt::ControlModifier;
  const bool shift = event->modifiers() & Qt::ShiftModifier;
  const bool rowSelect = m_options.Contains(TGridOption::goRowSelect);
  TGridCoord to = m_current;
  bool keepAnchor = shift && m_options.Contains(TGridOption::goRangeSelect);
  const int page = std::max(1, VisibleRowCount());
  switch (event->key()) {
    case Qt::Key_Up: --to.Y; break;
    case Qt::Key_Down: ++to.Y; break;
    case Qt::Key_Left:
      if (rowSelect) {
        SetLeftCol(m_topLeft.X - 1);
        return true;
      }
      --to.X;
      break;
    case Qt::Key_Right:
      if (rowSelect) {
        SetLeftCol(m_topLeft.X + 1);
        return true;
      }
      ++to.X;
      break;
    case Qt::Key_Home:
      to.X = FixedCols();
      if (ctrl) to.Y = FixedRows();
      break;
    case Qt::Key_End:
      to.X = ColCount() - 1;
      if (ctrl) to.Y = RowCount() - 1;
      break;
    case Qt::Key_PageUp:
      if (ctrl) {
        to.Y = m_topLeft.Y;
      } else {
        SetTopRow(m_topLeft.Y - page);
        to.Y -= page;
      }
      break;
    case Qt::Key_PageDown:
      if (ctrl) {
        to.Y = std::max(m_topLeft.Y, VertMeasure().LastFullVisibleCell);
      } else {
        SetTopRow(m_topLeft.Y + page);
        to.Y += page;
      }
      break;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      if (!m_options.Contains(TGridOption::goTabs) || ctrl) return false;
      to = TabTarget(event->key() == Qt::Key_Tab && !shift);
      keepAnchor = false;
      break;
    default: return false;
  }
  to.X = std::clamp(to.X, FixedCols(), ColCount() - 1);
  to.Y = std::clamp(to.Y, FixedRows(), RowCount() - 1);
  if (!(to == m_current)) FocusCell(to.X, to.Y, !keepAnchor);
  return true;
}

}  // namespace kzm::ui
