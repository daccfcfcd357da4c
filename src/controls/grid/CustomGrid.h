#pragma once

#include "controls/grid/GridAxis.h"
#include "controls/grid/GridScroll.h"
#include "controls/grid/GridTypes.h"
#include "controls/grid/InplaceEdit.h"
#include "controls/grid/SpokenTable.h"

#include <QAbstractScrollArea>
#include <QColor>
#include <QPointer>
#include <QString>

#include <vector>

class QPainter;
class QScrollBar;
class QTimer;

namespace kzm::ui {


// An owner-painted grid of cells: fixed rows and columns that do not scroll, a current cell
// and a selection, sizing and moving of rows and columns by mouse, an in-place editor,
// keyboard and wheel navigation. Scroll bars count whole cells. Descendants paint the cells
// (DrawCell) and supply the editor's text; to a screen reader it is a table (SpokenCell).
class TorvCustomGrid : public QAbstractScrollArea, public TSpokenTable {
  Q_OBJECT

 public:
  explicit TorvCustomGrid(QWidget* parent = nullptr);
  ~TorvCustomGrid() override;

  // Counts. RowCount may equal FixedRows (an empty body); see SetRowCount.
  [[nodiscard]] int ColCount() const { return m_cols.Count(); }
  void SetColCount(int value);
  [[nodiscard]] int RowCount() const { return m_rows.Count(); }
  void SetRowCount(int value);
  [[nodiscard]] int FixedCols() const { return m_cols.Fixed(); }
  void SetFixedCols(int value);
  [[nodiscard]] int FixedRows() const { return m_rows.Fixed(); }
  void SetFixedRows(int value);

  // Extents in pixels.
  [[nodiscard]] int DefaultColWidth() const { return m_cols.DefaultExtent(); }
  void SetDefaultColWidth(int value);
  [[nodiscard]] int DefaultRowHeight() const { return m_rows.DefaultExtent(); }
  void SetDefaultRowHeight(int value);
  [[nodiscard]] int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  [[nodiscard]] int RowHeights(int row) const;
  void SetRowHeights(int row, int height);
  [[nodiscard]] int GridLineWidth() const { return m_gridLineWidth; }
  void SetGridLineWidth(int value);
  // Whether Tab stops on a column (with goTabs).
  [[nodiscard]] bool TabStops(int col) const;
  void SetTabStops(int col, bool value);

  // Colours.
  [[nodiscard]] QColor FixedColor() const { return m_fixedColor; }
  void SetFixedColor(const QColor& value);
  [[nodiscard]] QColor Color() const { return m_color; }
  void SetColor(const QColor& value);
  [[nodiscard]] QColor FixedLineColor() const { return m_fixedLineColor; }
  void SetFixedLineColor(const QColor& value);
  [[nodiscard]] QColor GridLineColor() const { return m_gridLineColor; }
  void SetGridLineColor(const QColor& value);

  // Sort markers: one flag per column, always ColCount of them.
  [[nodiscard]] bool Sort() const { return m_sort; }
  void SetSort(bool value) { m_sort = value; }
  [[nodiscard]] TGridSortFlag SortFlag(int col) const;
  void SetSortFlag(int col, TGridSortFlag flag);
  [[nodiscard]] int SortFlagCount() const { return static_cast<int>(m_sortFlags.size()); }

  [[nodiscard]] TGridOptions Options() const { return m_options; }
  void SetOptions(TGridOptions value);
  [[nodiscard]] TScrollStyle ScrollBars() const { return m_scrollBars; }
  void SetScrollBars(TScrollStyle value);
  // Off (the default): the bars always show, greyed while nothing scrolls. On: only while.
  void SetBarsWhenNeeded(bool value);
  [[nodiscard]] TBorderStyle BorderStyle() const { return m_borderStyle; }
  void SetBorderStyle(TBorderStyle value);
  [[nodiscard]] bool DefaultDrawing() const { return m_defaultDrawing; }
  void SetDefaultDrawing(bool value);

  // Fully visible scrollable columns / rows.
  [[nodiscard]] int VisibleColCount() const;
  [[nodiscard]] int VisibleRowCount() const;

  // The current cell; setting it asks SelectCell first and scrolls it into view.
  [[nodiscard]] int Col() const { return m_current.X; }
  void SetCol(int col);
  [[nodiscard]] int Row() const { return m_current.Y; }
  void SetRow(int row);
  // First visible scrollable column / row.
  [[nodiscard]] int LeftCol() const { return m_topLeft.X; }
  void SetLeftCol(int col);
  [[nodiscard]] int TopRow() const { return m_topLeft.Y; }
  void SetTopRow(int row);
  [[nodiscard]] TGridRect Selection() const;
  void SetSelection(const TGridRect& rect);

  [[nodiscard]] bool EditorMode() const { return m_editorMode; }
  void SetEditorMode(bool value);
  [[nodiscard]] TInplaceEdit* InplaceEditor() const { return m_editor; }
  [[nodiscard]] TGridState GridState() const { return m_gridState; }

  // Rectangle of a cell in the viewport; empty when the cell is not visible.
  [[nodiscard]] QRect CellRect(int col, int row) const;
  // The cell at a viewport point, or (-1, -1).
  [[nodiscard]] TGridCoord MouseCoord(int x, int y) const;
  [[nodiscard]] TAxisMeasure HorzMeasure() const;
  [[nodiscard]] TAxisMeasure VertMeasure() const;
  // The scroll bars as cells count them (range, page, thumb).
  [[nodiscard]] const TScrollBarSetup& HorzScrollSetup() const { return m_horzBar; }
  [[nodiscard]] const TScrollBarSetup& VertScrollSetup() const { return m_vertBar; }

  void MoveColumn(int fromIndex, int toIndex);
  void MoveRow(int fromIndex, int toIndex);
  void DeleteColumn(int col);
  void DeleteRow(int row);

  void InvalidateCell(int col, int row);
  void InvalidateCol(int col);
  void InvalidateRow(int row);
  void InvalidateGrid();

  void ShowEditor();
  void HideEditor();
  // Reloads the editor's text from the cell (what was typed is dropped).
  void InvalidateEditor();

  // The grid as a screen reader reads it; descendants say what a cell reads (SpokenCell).
  [[nodiscard]] int SpokenRowCount() const override { return RowCount(); }
  [[nodiscard]] int SpokenColCount() const override { return ColCount(); }
  [[nodiscard]] int SpokenFixedRows() const override { return FixedRows(); }
  [[nodiscard]] int SpokenFixedCols() const override { return FixedCols(); }
  [[nodiscard]] QString SpokenCell(int col, int row) const override;
  [[nodiscard]] QRect SpokenCellRect(int col, int row) const override;
  [[nodiscard]] bool SpokenCellAt(const QPoint& pos, int& col, int& row) const override;
  [[nodiscard]] bool SpokenCurrent(int& col, int& row) const override;
  [[nodiscard]] bool SpokenSelected(int col, int row) const override;
  // The name of an editor open on the cell: the row's header, then the column's.
  [[nodiscard]] virtual QString SpokenEditorTitle(int col, int row) const;

 protected:
  // Paints one cell; the background is already filled and the font set.
  virtual void DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                        TGridDrawState state);
  // Asked before the current cell moves; false keeps it where it is.
  virtual bool SelectCell(int col, int row);
  virtual QString GetEditText(int col, int row);
  virtual void SetEditText(int col, int row, const QString& value);
  virtual QString GetEditMask(int col, int row);
  virtual bool CanEditShow() const;
  virtual void ColumnMoved(int fromIndex, int toIndex);
  virtual void RowMoved(int fromIndex, int toIndex);
  virtual void TopLeftChanged();
  virtual void SizeChanged(int oldColCount, int oldRowCount);
  virtual void ColWidthsChanged();
  virtual void RowHeightsChanged();
  // May refuse to start dragging a column / row.
  virtual bool BeginColumnDrag(int origin);
  virtual bool BeginRowDrag(int origin);
  // May refuse a drop target while dragging.
  virtual bool CheckColumnDrag(int origin, int destination);
  virtual bool CheckRowDrag(int origin, int destination);

  // Moves the current cell after asking SelectCell; the anchor follows when moveAnchor (or
  // without range selection); show scrolls the cell into view.
  void MoveCurrent(int col, int row, bool moveAnchor, bool show);
  // Takes the focus for a moment (an editor of the descendant's own comes back at once): a
  // screen reader is not told of the cell it already heard.
  void SetFocusQuietly();
  void FocusCell(int col, int row, bool moveAnchor);
  void ScrollToTopLeft(int col, int row);
  void ClampInView(TGridCoord cell);

  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  friend class TInplaceEdit;

  struct TSpan {
    int Index;
    int Start;  // first pixel of the cell
    int End;    // first pixel of the line after it
  };

  [[nodiscard]] int LineWidthX() const;
  [[nodiscard]] int LineWidthY() const;
  [[nodiscard]] bool IsActive() const;
  [[nodiscard]] bool EditorShowing() const;
  // Visible cells of an axis: the fixed ones, then the scrollable ones from the first.
  static std::vector<TSpan> VisibleSpans(const TGridAxis& axis, const TAxisMeasure& m);
  static QRect BlockRect(const std::vector<TSpan>& cols, const std::vector<TSpan>& rows,
                         const TGridRect& block);

  void ChangeSize(int newColCount, int newRowCount);
  void ApplySize(int newColCount, int newRowCount, int oldColCount, int oldRowCount);
  void InvalidateSizeChange(int oldColCount, int oldRowCount, TGridCoord oldTopLeft);
  void CheckCol(int col) const;
  void CheckRow(int row) const;
  void ResetPosition();
  void PlaceCurrent(TGridCoord cell, bool moveAnchor, bool show);
  void InvalidateBlock(const TGridRect& block);
  void ScrollPixels(TGridCoord oldTopLeft);
  void UpdateScrollRange();
  void ApplyScrollBar(QScrollBar* bar, const TScrollBarSetup& setup);
  void ScrollBarAction(Qt::Orientation orientation, int action);
  void ScrollBarReleased(Qt::Orientation orientation);
  void UpdateScrollBarPolicy();

  void PaintArea(QPainter& painter, const QRect& dirty, const std::vector<TSpan>& cols,
                 const std::vector<TSpan>& rows, bool fixedCols, bool fixedRows);
  void PaintCell(QPainter& painter, const QRect& dirty, int col, int row, const QRect& rect,
                 TGridDrawState state);
  void PaintLines(QPainter& painter, const std::vector<TSpan>& cols,
                  const std::vector<TSpan>& rows, bool fixedArea);
  [[nodiscard]] TGridDrawState CellState(int col, int row, bool fixedCell) const;
  void PaintDragLine(QPainter& painter);
  [[nodiscard]] QRect DragLineRect() const;

  bool NavigationKey(QKeyEvent* event);
  bool EditingKey(QKeyEvent* event);
  [[nodiscard]] TGridCoord TabTarget(bool forward) const;
  void ScrollByWheelSteps(int steps);

  [[nodiscard]] int SizingColAt(QPoint pos) const;
  [[nodiscard]] int SizingRowAt(QPoint pos) const;
  void StartMouseAction(QMouseEvent* event);
  void ContinueSizing(QPoint pos);
  void UpdateMoveTarget(QPoint pos);
  int MoveTargetOnAxis(bool rows, int hit, int pos);
  void ExtendSelectionTo(QPoint pos);
  void AutoScrollStep();

  void UpdateEditor();
  void CommitEditor();
  void EditorKey(QKeyEvent* event);
  void ShowEditorChar(const QString& text);

  TGridAxis m_cols{5, 1, 64};
  TGridAxis m_rows{5, 1, 24};
  std::vector<bool> m_tabStops;
  std::vector<TGridSortFlag> m_sortFlags;
  int m_gridLineWidth = 1;
  QColor m_fixedColor;
  QColor m_color;
  QColor m_fixedLineColor{0, 0, 0};
  QColor m_gridLineColor{0xC0, 0xC0, 0xC0};
  bool m_sort = false;
  TGridOptions m_options = kDefaultGridOptions;
  TScrollStyle m_scrollBars = TScrollStyle::ssBoth;
  bool m_barsWhenNeeded = false;
  TBorderStyle m_borderStyle = TBorderStyle::bsSingle;
  bool m_defaultDrawing = true;

  TGridCoord m_topLeft{1, 1};
  TGridCoord m_current{1, 1};
  TGridCoord m_anchor{1, 1};
  TScrollBarSetup m_horzBar;
  TScrollBarSetup m_vertBar;

  TGridState m_gridState = TGridState::gsNormal;
  int m_sizingIndex = -1;
  int m_sizingOffset = 0;  // pointer minus the cell's far edge when sizing started
  int m_moveIndex = -1;
  int m_movePos = -1;
  QPoint m_lastMousePos;
  QTimer* m_scrollTimer = nullptr;
  int m_wheelRemainder = 0;

  bool m_quietFocus = false;
  bool m_editorMode = false;
  QPointer<TInplaceEdit> m_editor;
  TGridCoord m_editorCell{-1, -1};  // the cell whose text the editor holds
  QString m_editorLoadedText;
};

}  // namespace kzm::ui
