#pragma once

// Which labels along a chart's axis are drawn, so that none runs into another.

#include <vector>

namespace kzm {

// A label's place along the axis, in pixels: where its text starts and how wide it is.
struct TAxisLabel {
  int left = 0;
  int width = 0;
};

// The labels to draw, one flag per label. The first (the chart's start) always shows; of the
// others every k-th from the second, with the smallest k at which each stands at least gap
// pixels clear of the one before. Another that still runs into the first is left out, and so
// is one that would end past limit (the chart's right edge).
[[nodiscard]] std::vector<bool> LabelsThatFit(const std::vector<TAxisLabel>& labels, int gap, int limit);

}  // namespace kzm
