// The grid as a screen reader reads it: its cells, where they are, which one is current.
#include "controls/grid/CustomGrid.h"

namespace kzm::ui {

QString TorvCustomGrid::SpokenCell(int, int) const { return {}; }

QRect TorvCustomGrid::SpokenCellRect(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
  const QRect cell = CellRect(col, row);
  return cell.isEmpty() ? QRect() : cell.translated(viewport()->pos());
}

bool TorvCustomGrid::SpokenCellAt(const QPoint& pos, int& col, int& row) const {
  const QPoint inside = pos - viewport()->pos();
  const TGridCoord cell = MouseCoord(inside.x(), inside.y());
  col = cell.X;
  row = cell.Y;
  return col >= 0 && row >= 0;
}

bool TorvCustomGrid::SpokenCurrent(int& col, int& row) const {
  col = m_current.X;
  row = m_current.Y;
  return col >= 0 && row >= 0 && col < ColCount() && row < RowCount();
}

bool TorvCustomGrid::SpokenSelected(int col, int row) const { return Selection().Contains(col, row); }

QString TorvCustomGrid::SpokenEditorTitle(int col, int row) const {
  return SpokenEditorName(FixedCols() > 0 ? SpokenCell(0, row) : QString(),
                          FixedRows() > 0 ? SpokenCell(col, 0) : QString());
}

}  // namespace kzm::ui
