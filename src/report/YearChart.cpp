#include "report/YearChart.h"

#include <algorithm>

namespace kzm {

int TYearChartScale::BarHeight(int64_t amount, int height) const {
  return static_cast<int>(std::clamp<int64_t>(amount, 0, top) * height / top);
}

TYearChartScale YearChartScale(const std::vector<int64_t>& current, const std::vector<int64_t>& previous) {
  TYearChartScale scale;
  for (int64_t v : current) scale.top = std::max(scale.top, v);
  for (int64_t v : previous) scale.top = std::max(scale.top, v);
  return scale;
}

}  // namespace kzm
