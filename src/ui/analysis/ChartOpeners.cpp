// Placeholder until the spending chart exists.
#include "ui/main/DataWindows.h"

namespace kzm::ui {

void OpenSpendingChart(int) {}

}  // namespace kzm::ui
