#pragma once

// What a screen reader is told of a control that paints a table itself: its cells' texts, where
// they are and which one the person is on. A widget offers it by deriving from TSpokenTable;
// the accessible table the windows make for it (InstallAccessibleTables) asks through these calls, and the
// widget tells readers of changes through the Speak... functions.

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace kzm::ui {

class TSpokenTable {
 public:
  // All rows and columns, the fixed ones (headers) first.
  [[nodiscard]] virtual int SpokenRowCount() const = 0;
  [[nodiscard]] virtual int SpokenColCount() const = 0;
  [[nodiscard]] virtual int SpokenFixedRows() const = 0;
  [[nodiscard]] virtual int SpokenFixedCols() const = 0;
  // The cell as read aloud: its shown text, amounts with their sign and unit.
  [[nodiscard]] virtual QString SpokenCell(int col, int row) const = 0;
  // The cell in the widget's coordinates; empty while scrolled out of view.
  [[nodiscard]] virtual QRect SpokenCellRect(int col, int row) const = 0;
  // The cell at a point of the widget; false outside every cell.
  [[nodiscard]] virtual bool SpokenCellAt(const QPoint& pos, int& col, int& row) const = 0;
  // The cell the person is on, false when there is none.
  [[nodiscard]] virtual bool SpokenCurrent(int& col, int& row) const {
    col = row = -1;
    return false;
  }
  [[nodiscard]] virtual bool SpokenSelected(int col, int row) const {
    int c = 0;
    int r = 0;
    return SpokenCurrent(c, r) && c == col && r == row;
  }

 protected:
  TSpokenTable() = default;
  ~TSpokenTable() = default;
  TSpokenTable(const TSpokenTable&) = default;
  TSpokenTable& operator=(const TSpokenTable&) = default;
};

// The name of an editor open on a cell: 「食費 の 内容」, the row's header then the column's.
[[nodiscard]] QString SpokenEditorName(const QString& rowName, const QString& columnName);

// Tell readers (only while one listens): the current cell moved, a cell's text changed, the
// rows or columns changed in number or order.
void SpeakCurrentMoved(QWidget& widget, const TSpokenTable& table);
void SpeakCellChanged(QWidget& widget, const TSpokenTable& table, int col, int row);
void SpeakTableReset(QWidget& widget);
void SpeakRowsChanged(QWidget& widget, int oldRowCount, int newRowCount);

}  // namespace kzm::ui
