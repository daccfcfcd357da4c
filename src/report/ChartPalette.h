#pragma once

// The colours of the spending chart's payment categories, by the category's position among
// the payment categories: 13 fixed colours, then colours drawn from a fixed seed, so every
// run gives the same palette.

#include "foundation/IntegerList.h"

namespace kzm {

// Builds the palette (77 colours, $BBGGRR).
[[nodiscard]] TIntegerList BuildChartPalette();
// The program's palette, built on first use.
[[nodiscard]] TIntegerList& ChartPalette();

}  // namespace kzm
