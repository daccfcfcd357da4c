#pragma once

// The lists of found and read rows (search results, statement rows) share one grid set-up.

#include "controls/grid/GridControl.h"

namespace kzm::ui {

// Makes grid a list: columnCount columns under one fixed header row, no fixed column, whole
// rows selected, columns sized by dragging, thumb tracking, white; two rows while empty.
void MakeListGrid(TorvDrawGrid& grid, int columnCount);

// Shows count rows under the header (still two rows while empty), the current row kept
// inside a list that shrank, and paints the grid again.
void ShowListRows(TorvDrawGrid& grid, int count);

}  // namespace kzm::ui
