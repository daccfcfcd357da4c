#pragma once

// TMonthlyGrid: the plain grid of the monthly view. It holds no texts: one fixed header row,
// then the rows from TopRow and the columns from LeftCol, each cell painted by OnDrawCell.
// No lines, selection, editing or scroll bars of its own; the window scrolls it. Readers
// see a table whose cells say what OnSpokenCell says.

#include "controls/grid/SpokenTable.h"

#include <QWidget>

#include <functional>

namespace kzm::ui {

class TMonthlyGrid : public QWidget, public TSpokenTable {
  Q_OBJECT

 public:
  explicit TMonthlyGrid(QWidget* parent = nullptr);

  [[nodiscard]] int RowCount() const { return m_rowCount; }
  void SetRowCount(int rows);
  [[nodiscard]] int ColCount() const { return m_colCount; }
  void SetColCount(int cols);
  [[nodiscard]] int DefaultRowHeight() const { return m_rowHeight; }
  void SetDefaultRowHeight(int height);
  [[nodiscard]] int DefaultColWidth() const { return m_colWidth; }
  void SetDefaultColWidth(int width);
  // The first data row shown under the header (from 1) and the first column shown.
  [[nodiscard]] int TopRow() const { return m_topRow; }
  void SetTopRow(int row);
  [[nodiscard]] int LeftCol() const { return m_leftCol; }
  void SetLeftCol(int col);
  // Whole columns and data rows that fit.
  [[nodiscard]] int VisibleColCount() const;
  [[nodiscard]] int VisibleRowCount() const;

  // The cell's rectangle in the grid; empty when it is scrolled out of view.
  [[nodiscard]] QRect CellRect(int col, int row) const;
  // The cell under a point of the grid; false outside every cell.
  bool MouseToCell(const QPoint& pos, int& col, int& row) const;

  // Paints one cell: the painter is clipped to rect.
  std::function<void(QPainter& painter, int col, int row, const QRect& rect)> OnDrawCell;
  // When set, a border between header cells can be dragged: called with the new column
  // width while the mouse moves, and with done on release.
  std::function<void(int width, bool done)> OnColumnResize;
  // What a cell reads to a screen reader.
  std::function<QString(int col, int row)> OnSpokenCell;

  [[nodiscard]] int SpokenRowCount() const override { return m_rowCount; }
  [[nodiscard]] int SpokenColCount() const override { return m_colCount; }
  [[nodiscard]] int SpokenFixedRows() const override { return 1; }
  [[nodiscard]] int SpokenFixedCols() const override { return 0; }
  [[nodiscard]] QString SpokenCell(int col, int row) const override {
    return OnSpokenCell ? OnSpokenCell(col, row) : QString();
  }
  [[nodiscard]] QRect SpokenCellRect(int col, int row) const override { return CellRect(col, row); }
  [[nodiscard]] bool SpokenCellAt(const QPoint& pos, int& col, int& row) const override {
    return MouseToCell(pos, col, row);
  }
  [[nodiscard]] bool SpokenCurrent(int& col, int& row) const override;

  // With a cursor the grid takes the keyboard focus: the arrows, Home, End and the page keys
  // move a current cell over the data rows, and Enter reports it (Activated). The window
  // scrolls the cell into view when told it moved.
  void SetCursorEnabled(bool value);
  [[nodiscard]] int CurrentCol() const { return m_current.x(); }
  [[nodiscard]] int CurrentRow() const { return m_current.y(); }
  void SetCurrent(int col, int row);

 signals:
  void MouseDown(Qt::MouseButton button, int col, int row);
  void MouseUp(Qt::MouseButton button, int col, int row);
  void MouseMove(int col, int row);
  void CurrentMoved(int col, int row);
  void Activated(int col, int row);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // The row at a visible position (0 the header), -1 past the last.
  [[nodiscard]] int RowAt(int y) const;
  [[nodiscard]] int ColAt(int x) const;
  // How many shown columns lie left of the header border at pos; 0 when pos is on none.
  [[nodiscard]] int BorderAt(const QPoint& pos) const;
  [[nodiscard]] int DraggedWidth(int x) const;

  int m_rowCount = 1;
  int m_colCount = 1;
  int m_rowHeight = 18;
  int m_colWidth = 64;
  int m_topRow = 1;
  int m_leftCol = 0;
  int m_dragColumns = 0;  // while a border is dragged: the columns left of it
  bool m_cursor = false;
  QPoint m_current{0, 1};  // column, row
};

}  // namespace kzm::ui
