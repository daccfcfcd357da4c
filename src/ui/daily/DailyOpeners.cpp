// The openers of the daily window and the month memo window: each asks the coordination rules
// first and reports a refusal itself.
#include "ui/common/DataWindows.h"
#include "ui/common/Openers.h"
#include "ui/daily/DailyWindow.h"
#include "ui/daily/MemoWindow.h"

namespace kzm::ui {

bool OpenDailyWindow(kzm::TDayNumber day) {
  const TOpenWindows open = DescribeOpenWindows();
  if (!ApplyWindowRule(kzm::CanOpenDailyWindow(open.described, -1, day), open)) return false;
  auto* window = new TFmDaily(day);  // frees itself when closed
  window->show();
  return true;
}

bool OpenMonthMemo(kzm::TDayNumber first, kzm::TDayNumber last) {
  const TOpenWindows open = DescribeOpenWindows();
  if (!ApplyWindowRule(kzm::CanOpenMonthMemo(open.described, first, last), open)) return false;
  auto* window = new TFmMemo();  // frees itself when closed
  window->SetPeriod(first, last);
  window->LoadMemos();
  window->show();
  return true;
}

}  // namespace kzm::ui
