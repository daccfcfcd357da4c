#include "controls/ListGrid.h"

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

}  // namespace kzm::ui
