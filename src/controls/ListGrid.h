#pragma once

// The lists of found and read rows (search results, statement rows) share one grid set-up.

#include "controls/GridControl.h"

namespace kzm::ui {

// Makes grid a list: columnCount columns under one fixed header row, no fixed column, whole
// rows selected, columns sized by dragging, thumb tracking, white; two rows while empty.
void MakeListGrid(TorvDrawGrid& grid, int columnCount);

}  // namespace kzm::ui
