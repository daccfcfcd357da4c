#pragma once

// The scale of the chart of one category's months against the year before.

#include <cstdint>
#include <vector>

namespace kzm {

struct TYearChartScale {
  int64_t top = 1;  // the largest amount of either year, at least 1: it fills the chart's height
  // How many of height's pixels the amount stands; an amount below zero has no bar.
  [[nodiscard]] int BarHeight(int64_t amount, int height) const;
};

[[nodiscard]] TYearChartScale YearChartScale(const std::vector<int64_t>& current, const std::vector<int64_t>& previous);

}  // namespace kzm
