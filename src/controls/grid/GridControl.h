#pragma once

#include "controls/grid/CustomGrid.h"

#include <QStringList>
#include <QVariant>

#include <functional>
#include <vector>

namespace kzm::ui {

// The grid with its cell events: whoever uses the grid paints and edits cells through them.
class TorvCustomDrawGrid : public TorvCustomGrid {
  Q_OBJECT

 public:
  using TDrawCellEvent = std::function<void(TorvCustomDrawGrid& sender, QPainter& canvas, int col,
                                            int row, const QRect& rect, TGridDrawState state)>;
  using TSelectCellEvent =
      std::function<void(TorvCustomDrawGrid& sender, int col, int row, bool& canSelect)>;
  using TGetEditEvent =
      std::function<void(TorvCustomDrawGrid& sender, int col, int row, QString& value)>;
  using TSetEditEvent =
      std::function<void(TorvCustomDrawGrid& sender, int col, int row, const QString& value)>;
  using TMovedEvent = std::function<void(TorvCustomDrawGrid& sender, int fromIndex, int toIndex)>;
  using TNotifyEvent = std::function<void(TorvCustomDrawGrid& sender)>;

  explicit TorvCustomDrawGrid(QWidget* parent = nullptr) : TorvCustomGrid(parent) {}

  TDrawCellEvent OnDrawCell;
  TSelectCellEvent OnSelectCell;
  TGetEditEvent OnGetEditText;
  TSetEditEvent OnSetEditText;
  TGetEditEvent OnGetEditMask;
  TMovedEvent OnColumnMoved;
  TMovedEvent OnRowMoved;
  TNotifyEvent OnTopLeftChanged;
  // What a cell reads to a screen reader, as painted by OnDrawCell.
  std::function<QString(int col, int row)> OnSpokenCell;

  [[nodiscard]] QString SpokenCell(int col, int row) const override;

 protected:
  void DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                TGridDrawState state) override;
  bool SelectCell(int col, int row) override;
  QString GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const QString& value) override;
  QString GetEditMask(int col, int row) override;
  void ColumnMoved(int fromIndex, int toIndex) override;
  void RowMoved(int fromIndex, int toIndex) override;
  void TopLeftChanged() override;
};

// The draw grid as windows place it; every property is already public.
class TorvDrawGrid : public TorvCustomDrawGrid {
  Q_OBJECT

 public:
  explicit TorvDrawGrid(QWidget* parent = nullptr) : TorvCustomDrawGrid(parent) {}
};

// A grid holding a text and an object per cell. It draws the texts itself (DefaultDrawing)
// and, with Sort, the sort marker of each column after the text of its fixed cells.
class TorvGrid : public TorvDrawGrid {
  Q_OBJECT

 public:
  explicit TorvGrid(QWidget* parent = nullptr);

  [[nodiscard]] QString Cells(int col, int row) const;
  void SetCells(int col, int row, const QString& text);
  [[nodiscard]] QVariant Objects(int col, int row) const;
  void SetObjects(int col, int row, const QVariant& object);
  // The texts of a row, one per column.
  [[nodiscard]] QStringList Rows(int row) const;
  // Replaces a row's texts: the list fills the row from column 0, the rest becomes empty.
  void SetRows(int row, const QStringList& texts);

  [[nodiscard]] QString SpokenCell(int col, int row) const override { return Cells(col, row); }

 protected:
  void DrawCell(QPainter& canvas, int col, int row, const QRect& rect,
                TGridDrawState state) override;
  QString GetEditText(int col, int row) override;
  void SetEditText(int col, int row, const QString& value) override;
  void ColumnMoved(int fromIndex, int toIndex) override;
  void RowMoved(int fromIndex, int toIndex) override;
  void SizeChanged(int oldColCount, int oldRowCount) override;

 private:
  struct TCell {
    QString Text;
    QVariant Object;
  };
  using TRow = std::vector<TCell>;  // empty until a cell of the row is set

  void CheckCell(int col, int row) const;
  TCell& CellAt(int col, int row);
  [[nodiscard]] const TCell* FindCell(int col, int row) const;
  void DrawSortMarker(QPainter& canvas, int col, const QRect& rect, const QString& text);

  std::vector<TRow> m_rows;
};

}  // namespace kzm::ui
