#include "views/AxisLabels.h"

#include <cstddef>

namespace kzm {

namespace {

int RightOf(const TAxisLabel& label) { return label.left + label.width; }

// Every step-th label from the second, or none when two of them would meet.
bool EveryStepFits(const std::vector<TAxisLabel>& labels, size_t step, int gap, int limit, std::vector<bool>& shown) {
  shown.assign(labels.size(), false);
  const TAxisLabel* previous = nullptr;
  for (size_t i = 1; i < labels.size(); i += step) {
    if (RightOf(labels[i]) > limit) continue;
    if (previous && labels[i].left < RightOf(*previous) + gap) return false;
    shown[i] = true;
    previous = &labels[i];
  }
  return true;
}

}  // namespace

std::vector<bool> LabelsThatFit(const std::vector<TAxisLabel>& labels, int gap, int limit) {
  std::vector<bool> shown(labels.size(), false);
  if (labels.empty()) return shown;
  // A single label always fits, so the search ends.
  for (size_t step = 1; !EveryStepFits(labels, step, gap, limit, shown); ++step) {
  }
  shown[0] = true;
  for (size_t i = 1; i < labels.size() && labels[i].left < RightOf(labels[0]) + gap; ++i) shown[i] = false;
  return shown;
}

}  // namespace kzm
