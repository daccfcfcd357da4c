// Properties, counts and extents of the grid.
#include "controls/grid/CustomGrid.h"

#include "controls/grid/InplaceEdit.h"

#include <QPalette>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <climits>

namespace kzm::ui {

TorvCustomGrid::TorvCustomGrid(QWidget* parent) : QAbstractScrollArea(parent) {
  m_sortFlags.assign(5, TGridSortFlag::gsfNone);
  m_fixedColor = palette().color(QPalette::Button);
  m_color = palette().color(QPalette::Base);
  setFocusPolicy(Qt::WheelFocus);
  viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
  viewport()->setMouseTracking(true);
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  UpdateScrollBarPolicy();
  for (auto [bar, orientation] : {std::pair{horizontalScrollBar(), Qt::Horizontal},
                                  std::pair{verticalScrollBar(), Qt::Vertical}}) {
    connect(bar, &QScrollBar::actionTriggered, this,
            [this, o = orientation](int action) { ScrollBarAction(o, action); });
    connect(bar, &QScrollBar::sliderReleased, this,
            [this, o = orientation] { ScrollBarReleased(o); });
  }
  m_scrollTimer = new QTimer(this);
  m_scrollTimer->setInterval(60);
  connect(m_scrollTimer, &QTimer::timeout, this, &TorvCustomGrid::AutoScrollStep);
  resize(ColCount() * DefaultColWidth(), RowCount() * DefaultRowHeight());
  UpdateScrollRange();
}

TorvCustomGrid::~TorvCustomGrid() = default;

void TorvCustomGrid::CheckCol(int col) const {
  if (col < 0 || col >= ColCount()) throw EInvalidGridOperation(kGridIndexOutOfRange);
}

void TorvCustomGrid::CheckRow(int row) const {
  if (row < 0 || row >= RowCount()) throw EInvalidGridOperation(kGridIndexOutOfRange);
}

void TorvCustomGrid::SetColCount(int value) {
  if (value == ColCount()) return;
  value = std::max(value, 1);
  const int oldFixedCols = FixedCols();
  if (FixedCols() >= value) m_cols.SetFixed(value - 1);
  try {
    ChangeSize(value, RowCount());
  } catch (...) {
    m_cols.SetFixed(oldFixedCols);
    UpdateScrollRange();
    throw;
  }
  m_sortFlags.resize(static_cast<size_t>(ColCount()), TGridSortFlag::gsfNone);
  if (m_options.Contains(TGridOption::goRowSelect)) {
    m_anchor.X = ColCount() - 1;
    InvalidateGrid();
  }
}

void TorvCustomGrid::SetRowCount(int value) {
  if (value == RowCount()) return;
  // The body may become empty, but fixed rows are never given up for it.
  value = std::max({value, 1, FixedRows()});
  ChangeSize(ColCount(), value);
}

void TorvCustomGrid::SetFixedCols(int value) {
  if (value < 0) throw EInvalidGridOperation(kGridIndexOutOfRange);
  if (value >= ColCount()) throw EInvalidGridOperation(kFixedColTooBig);
  m_cols.SetFixed(value);
  ResetPosition();
}

void TorvCustomGrid::SetFixedRows(int value) {
  if (value < 0) throw EInvalidGridOperation(kGridIndexOutOfRange);
  if (value >= RowCount()) throw EInvalidGridOperation(kFixedRowTooBig);
  m_rows.SetFixed(value);
  ResetPosition();
}

// After the fixed counts change the view starts again at the first scrollable cell.
void TorvCustomGrid::ResetPosition() {
  CommitEditor();
  m_topLeft = {FixedCols(), FixedRows()};
  m_current = m_topLeft;
  m_anchor = m_current;
  if (m_options.Contains(TGridOption::goRowSelect)) m_anchor.X = ColCount() - 1;
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
}

void TorvCustomGrid::ChangeSize(int newColCount, int newRowCount) {
  const int oldColCount = ColCount();
  const int oldRowCount = RowCount();
  const int oldFixedCols = FixedCols();
  const int oldFixedRows = FixedRows();
  const TGridCoord oldTopLeft = m_topLeft;
  const TGridCoord oldCurrent = m_current;
  const TGridCoord oldAnchor = m_anchor;
  try {
    ApplySize(newColCount, newRowCount, oldColCount, oldRowCount);
  } catch (...) {
    m_cols.SetFixed(oldFixedCols);
    m_rows.SetFixed(oldFixedRows);
    ApplySize(oldColCount, oldRowCount, ColCount(), RowCount());
    m_topLeft = oldTopLeft;
    m_current = oldCurrent;
    m_anchor = oldAnchor;
    UpdateScrollRange();
    InvalidateGrid();
    UpdateEditor();
    throw;
  }
}

void TorvCustomGrid::ApplySize(int newColCount, int newRowCount, int oldColCount,
                               int oldRowCount) {
  const TGridCoord oldTopLeft = m_topLeft;
  // Refused before anything grows, so a silly count cannot allocate memory first.
  if (m_cols.TotalExtent(newColCount, LineWidthX()) > INT_MAX ||
      m_rows.TotalExtent(newRowCount, LineWidthY()) > INT_MAX)
    throw EInvalidGridOperation(kGridTooLarge);
  CommitEditor();
  m_cols.SetCount(newColCount);
  m_rows.SetCount(newRowCount);
  if (newColCount < FixedCols()) m_cols.SetFixed(newColCount);
  if (newRowCount < FixedRows()) m_rows.SetFixed(newRowCount);
  m_topLeft.X = std::max(m_topLeft.X, FixedCols());
  m_topLeft.Y = std::max(m_topLeft.Y, FixedRows());
  if (!m_tabStops.empty()) m_tabStops.resize(static_cast<size_t>(newColCount), true);
  // The upper bound wins: a grid without scrollable rows keeps its last fixed row current.
  const TGridCoord cell{std::min(std::max(m_current.X, FixedCols()), newColCount - 1),
                        std::min(std::max(m_current.Y, FixedRows()), newRowCount - 1)};
  // Not asked of SelectCell: the old cell may no longer exist, so there is no refusing.
  if (!(cell == m_current)) PlaceCurrent(cell, true, true);
  m_anchor = m_current;
  if (m_options.Contains(TGridOption::goRowSelect)) m_anchor.X = ColCount() - 1;
  UpdateScrollRange();
  InvalidateSizeChange(oldColCount, oldRowCount, oldTopLeft);
  SizeChanged(oldColCount, oldRowCount);
  UpdateEditor();
  if (newColCount != oldColCount)
    SpeakTableReset(*this);
  else
    SpeakRowsChanged(*this, oldRowCount, newRowCount);
}

// When the first visible cells stayed, only the strips from the first added or removed
// column and row onwards need painting again.
void TorvCustomGrid::InvalidateSizeChange(int oldColCount, int oldRowCount,
                                          TGridCoord oldTopLeft) {
  if (!(oldTopLeft == m_topLeft)) {
    InvalidateGrid();
    return;
  }
  const QRect all = viewport()->rect();
  const TAxisMeasure h = HorzMeasure();
  const TAxisMeasure v = VertMeasure();
  if (oldColCount != ColCount()) {
    const int first = std::min(oldColCount, ColCount());
    int x = first >= ColCount() ? h.GridBoundary : CellStart(m_cols, h, first);
    if (x < 0) x = first < m_topLeft.X ? 0 : h.GridBoundary;
    viewport()->update(QRect(x - LineWidthX(), 0, all.width() - x + LineWidthX(), all.height()));
  }
  if (oldRowCount != RowCount()) {
    const int first = std::min(oldRowCount, RowCount());
    int y = first >= RowCount() ? v.GridBoundary : CellStart(m_rows, v, first);
    if (y < 0) y = first < m_topLeft.Y ? 0 : v.GridBoundary;
    viewport()->update(QRect(0, y - LineWidthY(), all.width(), all.height() - y + LineWidthY()));
  }
}

void TorvCustomGrid::SetDefaultColWidth(int value) {
  if (value == DefaultColWidth() && !m_cols.HasExtents()) return;
  m_cols.SetDefaultExtent(value);
  ColWidthsChanged();
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
}

void TorvCustomGrid::SetDefaultRowHeight(int value) {
  if (value == DefaultRowHeight() && !m_rows.HasExtents()) return;
  m_rows.SetDefaultExtent(value);
  RowHeightsChanged();
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
}

int TorvCustomGrid::ColWidths(int col) const {
  CheckCol(col);
  return m_cols.Extent(col);
}

void TorvCustomGrid::SetColWidths(int col, int width) {
  CheckCol(col);
  width = std::max(width, 0);
  if (width == m_cols.Extent(col)) return;
  const int64_t total = m_cols.TotalExtent(ColCount(), LineWidthX()) - m_cols.Extent(col) + width;
  if (total > INT_MAX) throw EInvalidGridOperation(kGridTooLarge);
  m_cols.SetExtent(col, width);
  ColWidthsChanged();
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
}

int TorvCustomGrid::RowHeights(int row) const {
  CheckRow(row);
  return m_rows.Extent(row);
}

void TorvCustomGrid::SetRowHeights(int row, int height) {
  CheckRow(row);
  height = std::max(height, 0);
  if (height == m_rows.Extent(row)) return;
  const int64_t total = m_rows.TotalExtent(RowCount(), LineWidthY()) - m_rows.Extent(row) + height;
  if (total > INT_MAX) throw EInvalidGridOperation(kGridTooLarge);
  m_rows.SetExtent(row, height);
  RowHeightsChanged();
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
}

void TorvCustomGrid::SetGridLineWidth(int value) {
  value = std::max(value, 0);
  if (value == m_gridLineWidth) return;
  m_gridLineWidth = value;
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
}

bool TorvCustomGrid::TabStops(int col) const {
  CheckCol(col);
  return m_tabStops.empty() || m_tabStops[static_cast<size_t>(col)];
}

void TorvCustomGrid::SetTabStops(int col, bool value) {
  CheckCol(col);
  if (m_tabStops.empty()) m_tabStops.assign(static_cast<size_t>(ColCount()), true);
  m_tabStops[static_cast<size_t>(col)] = value;
}

void TorvCustomGrid::SetFixedColor(const QColor& value) {
  if (value == m_fixedColor) return;
  m_fixedColor = value;
  InvalidateGrid();
}

void TorvCustomGrid::SetColor(const QColor& value) {
  if (value == m_color) return;
  m_color = value;
  InvalidateGrid();
}

void TorvCustomGrid::SetFixedLineColor(const QColor& value) {
  if (value == m_fixedLineColor) return;
  m_fixedLineColor = value;
  InvalidateGrid();
}

void TorvCustomGrid::SetGridLineColor(const QColor& value) {
  if (value == m_gridLineColor) return;
  m_gridLineColor = value;
  InvalidateGrid();
}

TGridSortFlag TorvCustomGrid::SortFlag(int col) const {
  CheckCol(col);
  return m_sortFlags[static_cast<size_t>(col)];
}

void TorvCustomGrid::SetSortFlag(int col, TGridSortFlag flag) {
  CheckCol(col);
  if (m_sortFlags[static_cast<size_t>(col)] == flag) return;
  m_sortFlags[static_cast<size_t>(col)] = flag;
  InvalidateCol(col);
}

void TorvCustomGrid::SetOptions(TGridOptions value) {
  if (value == m_options) return;
  const bool linesChanged =
      value.Contains(TGridOption::goVertLine) != m_options.Contains(TGridOption::goVertLine) ||
      value.Contains(TGridOption::goHorzLine) != m_options.Contains(TGridOption::goHorzLine);
  m_options = value;
  if (m_options.Contains(TGridOption::goRowSelect)) {
    m_anchor.X = ColCount() - 1;
    m_current.X = std::max(m_current.X, FixedCols());
  }
  if (!m_options.Contains(TGridOption::goEditing) || m_options.Contains(TGridOption::goRowSelect))
    HideEditor();
  if (m_options.Contains(TGridOption::goAlwaysShowEditor)) m_editorMode = true;
  if (linesChanged) UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
}

void TorvCustomGrid::SetScrollBars(TScrollStyle value) {
  if (value == m_scrollBars) return;
  m_scrollBars = value;
  UpdateScrollBarPolicy();
  UpdateScrollRange();
}

void TorvCustomGrid::SetBarsWhenNeeded(bool value) {
  m_barsWhenNeeded = value;
  UpdateScrollRange();
  UpdateScrollBarPolicy();
}

void TorvCustomGrid::UpdateScrollBarPolicy() {
  const bool horz = m_scrollBars == TScrollStyle::ssHorizontal || m_scrollBars == TScrollStyle::ssBoth;
  const bool vert = m_scrollBars == TScrollStyle::ssVertical || m_scrollBars == TScrollStyle::ssBoth;
  // Unless asked otherwise, bars stay in place (greyed when nothing scrolls) so the cells never
  // jump sideways; bars shown only while needed follow every change of the ranges.
  const auto policy = [this](bool wanted, const TScrollBarSetup& bar) {
    return wanted && (bar.Enabled || !m_barsWhenNeeded) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff;
  };
  setHorizontalScrollBarPolicy(policy(horz, m_horzBar));
  setVerticalScrollBarPolicy(policy(vert, m_vertBar));
}

void TorvCustomGrid::SetBorderStyle(TBorderStyle value) {
  if (value == m_borderStyle) return;
  m_borderStyle = value;
  setFrameStyle(value == TBorderStyle::bsSingle ? (QFrame::StyledPanel | QFrame::Sunken)
                                                : QFrame::NoFrame);
}

void TorvCustomGrid::SetDefaultDrawing(bool value) {
  if (value == m_defaultDrawing) return;
  m_defaultDrawing = value;
  InvalidateGrid();
}

int TorvCustomGrid::LineWidthX() const {
  return m_options.Contains(TGridOption::goVertLine) ? m_gridLineWidth : 0;
}

int TorvCustomGrid::LineWidthY() const {
  return m_options.Contains(TGridOption::goHorzLine) ? m_gridLineWidth : 0;
}

TAxisMeasure TorvCustomGrid::HorzMeasure() const {
  return MeasureAxis(m_cols, m_topLeft.X, viewport()->width(), LineWidthX());
}

TAxisMeasure TorvCustomGrid::VertMeasure() const {
  return MeasureAxis(m_rows, m_topLeft.Y, viewport()->height(), LineWidthY());
}

int TorvCustomGrid::VisibleColCount() const {
  return std::max(0, HorzMeasure().LastFullVisibleCell - m_topLeft.X + 1);
}

int TorvCustomGrid::VisibleRowCount() const {
  return std::max(0, VertMeasure().LastFullVisibleCell - m_topLeft.Y + 1);
}

QRect TorvCustomGrid::CellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
  const TAxisMeasure h = HorzMeasure();
  const TAxisMeasure v = VertMeasure();
  const int x = CellStart(m_cols, h, col);
  const int y = CellStart(m_rows, v, row);
  if (x < 0 || y < 0) return {};
  const int right = std::min(x + m_cols.Extent(col), h.GridBoundary);
  const int bottom = std::min(y + m_rows.Extent(row), v.GridBoundary);
  return QRect(x, y, right - x, bottom - y);
}

TGridCoord TorvCustomGrid::MouseCoord(int x, int y) const {
  const int col = CellAtPixel(m_cols, HorzMeasure(), x);
  const int row = CellAtPixel(m_rows, VertMeasure(), y);
  if (col < 0 || row < 0) return {-1, -1};
  return {col, row};
}

TGridRect TorvCustomGrid::Selection() const {
  TGridRect r{std::min(m_anchor.X, m_current.X), std::min(m_anchor.Y, m_current.Y),
              std::max(m_anchor.X, m_current.X), std::max(m_anchor.Y, m_current.Y)};
  if (m_options.Contains(TGridOption::goRowSelect)) {
    r.Left = FixedCols();
    r.Right = ColCount() - 1;
  }
  return r;
}

void TorvCustomGrid::SetSelection(const TGridRect& rect) {
  CheckCol(rect.Left);
  CheckCol(rect.Right);
  CheckRow(rect.Top);
  CheckRow(rect.Bottom);
  const TGridRect old = Selection();
  MoveCurrent(rect.Left, rect.Top, true, true);
  if (!(m_current == TGridCoord{rect.Left, rect.Top})) return;
  m_anchor = {rect.Right, rect.Bottom};
  InvalidateBlock(old);
  InvalidateBlock(Selection());
}

void TorvCustomGrid::InvalidateCell(int col, int row) {
  const QRect r = CellRect(col, row);
  if (!r.isEmpty())
    viewport()->update(r.adjusted(0, 0, std::max(1, LineWidthX()), std::max(1, LineWidthY())));
}

void TorvCustomGrid::InvalidateCol(int col) {
  InvalidateBlock({col, 0, col, RowCount() - 1});
}

void TorvCustomGrid::InvalidateRow(int row) {
  InvalidateBlock({0, row, ColCount() - 1, row});
}

void TorvCustomGrid::InvalidateGrid() { viewport()->update(); }

void TorvCustomGrid::InvalidateBlock(const TGridRect& block) {
  const QRect r = BlockRect(VisibleSpans(m_cols, HorzMeasure()),
                            VisibleSpans(m_rows, VertMeasure()), block);
  if (!r.isEmpty()) viewport()->update(r);
}

void TorvCustomGrid::MoveColumn(int fromIndex, int toIndex) {
  CheckCol(fromIndex);
  CheckCol(toIndex);
  if (fromIndex == toIndex) return;
  CommitEditor();
  m_cols.MoveCell(fromIndex, toIndex);
  auto follow = [fromIndex, toIndex](int& pos) {
    if (pos == fromIndex)
      pos = toIndex;
    else if (pos > fromIndex && pos <= toIndex)
      --pos;
    else if (pos < fromIndex && pos >= toIndex)
      ++pos;
  };
  follow(m_current.X);
  follow(m_anchor.X);
  if (!m_tabStops.empty()) {
    const bool stop = m_tabStops[static_cast<size_t>(fromIndex)];
    m_tabStops.erase(m_tabStops.begin() + fromIndex);
    m_tabStops.insert(m_tabStops.begin() + toIndex, stop);
  }
  ColumnMoved(fromIndex, toIndex);
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
  SpeakTableReset(*this);
}

void TorvCustomGrid::MoveRow(int fromIndex, int toIndex) {
  CheckRow(fromIndex);
  CheckRow(toIndex);
  if (fromIndex == toIndex) return;
  CommitEditor();
  m_rows.MoveCell(fromIndex, toIndex);
  auto follow = [fromIndex, toIndex](int& pos) {
    if (pos == fromIndex)
      pos = toIndex;
    else if (pos > fromIndex && pos <= toIndex)
      --pos;
    else if (pos < fromIndex && pos >= toIndex)
      ++pos;
  };
  follow(m_current.Y);
  follow(m_anchor.Y);
  RowMoved(fromIndex, toIndex);
  UpdateScrollRange();
  InvalidateGrid();
  UpdateEditor();
  SpeakTableReset(*this);
}

void TorvCustomGrid::DeleteColumn(int col) {
  CheckCol(col);
  if (ColCount() <= 1) throw EInvalidGridOperation(kTooManyDeleted);
  MoveColumn(col, ColCount() - 1);
  SetColCount(ColCount() - 1);
}

void TorvCustomGrid::DeleteRow(int row) {
  CheckRow(row);
  if (RowCount() - 1 < std::max(1, FixedRows())) throw EInvalidGridOperation(kTooManyDeleted);
  MoveRow(row, RowCount() - 1);
  SetRowCount(RowCount() - 1);
}

void TorvCustomGrid::DrawCell(QPainter&, int, int, const QRect&, TGridDrawState) {}
bool TorvCustomGrid::SelectCell(int, int) { return true; }
QString TorvCustomGrid::GetEditText(int, int) { return {}; }
void TorvCustomGrid::SetEditText(int, int, const QString&) {}
QString TorvCustomGrid::GetEditMask(int, int) { return {}; }
void TorvCustomGrid::ColumnMoved(int, int) {}
void TorvCustomGrid::RowMoved(int, int) {}
void TorvCustomGrid::TopLeftChanged() {}
void TorvCustomGrid::SizeChanged(int, int) {}
void TorvCustomGrid::ColWidthsChanged() {}
void TorvCustomGrid::RowHeightsChanged() {}
bool TorvCustomGrid::BeginColumnDrag(int) { return true; }
bool TorvCustomGrid::BeginRowDrag(int) { return true; }
bool TorvCustomGrid::CheckColumnDrag(int, int) { return true; }
bool TorvCustomGrid::CheckRowDrag(int, int) { return true; }

}  // namespace kzm::ui
