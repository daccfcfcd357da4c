#pragma once

// TStatementGrid: the rows of a statement being imported, one per line under a header: tick,
// date, text, amount, category and duplicate mark. Space or a click in the tick column ticks
// and unticks a row; an unreadable row shows why and cannot be ticked.

#include "controls/grid/GridControl.h"

#include <functional>

namespace kzm {
class TStatementImport;
}

namespace kzm::ui {

enum TStatementColumn : int {
  kStatementTick,
  kStatementDate,
  kStatementText,
  kStatementAmount,
  kStatementCategory,
  kStatementMark,
  kStatementColumnCount
};

class TStatementGrid : public TorvDrawGrid {
  Q_OBJECT

 public:
  // Shows import's rows; import must outlive the grid.
  TStatementGrid(kzm::TStatementImport& import, QWidget* parent = nullptr);

  // Call after the import's rows were read or classified again.
  void RowsChanged();
  // The import's row index of the current line, -1 when there is none.
  [[nodiscard]] int CurrentIndex() const;
  // Ticks or unticks the row at index (unless it is unreadable).
  void ToggleTick(int index);

  // A tick changed.
  std::function<void()> OnTicksChanged;
  // Another row became the current one (its index).
  std::function<void(int)> OnCurrentChanged;
  // Enter, F2 or a double click on a row: the user wants to choose its category.
  std::function<void()> OnEditCategory;

  // A tick read as 「取り込む」 or 「取り込まない」, an amount with its sign.
  [[nodiscard]] QString SpokenCell(int col, int row) const override;

 protected:
  void DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ApplyFontMetrics();

  kzm::TStatementImport& m_import;
};

}  // namespace kzm::ui
