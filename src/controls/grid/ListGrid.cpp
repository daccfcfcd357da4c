#include "controls/grid/ListGrid.h"

#include <algorithm>

namespace kzm::ui {

void MakeListGrid(TorvDrawGrid& grid, int columnCount) {
  grid.SetColCount(columnCount);
  grid.SetFixedCols(0);
  grid.SetRowCount(2);
  grid.SetFixedRows(1);
  grid.SetBorderStyle(TBorderStyle::bsSingle);
  grid.SetOptions(kDefaultGridOptions.Without(TGridOption::goRangeSelect)
                      .With(TGridOption::goRowSelect)
                      .With(TGridOption::goColSizing)
                      .With(TGridOption::goThumbTracking));
  grid.SetColor(Qt::white);
}

void ShowListRows(TorvDrawGrid& grid, int count) {
  const int rows = std::max(2, count + 1);
  if (grid.Row() >= rows) grid.SetRow(rows - 1);
  grid.SetRowCount(rows);
  grid.SetRowHeights(0, grid.DefaultRowHeight() + 3);
  grid.InvalidateGrid();
}

}  // namespace kzm::ui
