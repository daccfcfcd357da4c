// Placeholder until the daily and memo windows exist: the openers refuse quietly.
#include "ui/main/DataWindows.h"

namespace kzm::ui {

bool OpenDailyWindow(kzm::TDayNumber) { return false; }
bool OpenMonthMemo(kzm::TDayNumber, kzm::TDayNumber) { return false; }

}  // namespace kzm::ui
