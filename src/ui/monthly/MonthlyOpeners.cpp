// Placeholder until the monthly view exists.
#include "ui/main/DataWindows.h"

namespace kzm::ui {

void ShowMonthOfDay(kzm::TDayNumber) {}

}  // namespace kzm::ui
