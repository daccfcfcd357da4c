#pragma once

// The rules that keep data windows off each other's days, decided over a description of the
// open windows that the window system supplies (every top-level window, in window order).
// The window system carries a refusal out: it shows the message and brings the named window
// forward.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Dates.h"

namespace kzm {

enum class TDataWindowKind : uint8_t {
  dwOther,    // not a data window (the main window, a dialog)
  dwMonthly,  // monthly view: first..last is its period
  dwDaily,    // daily entry window: first is its day
  dwSearch,
  dwChart,
  dwMemo,  // month memo window: first..last is its range
};

struct TDataWindow {
  TDataWindowKind kind = TDataWindowKind::dwOther;
  TDayNumber first = 0;
  TDayNumber last = 0;
};

// The answer of a rule: allowed, or the message to show and the window (an index into the
// description) to bring forward.
struct TWindowRuleAnswer {
  bool allowed = true;
  std::string message;
  int window = -1;
};

// May a daily window show day? asking is the index of the daily window that asks (when it
// loads another day), -1 for a window yet to be opened. Refused for another daily window on
// that day or a month memo whose range holds it.
[[nodiscard]] TWindowRuleAnswer CanOpenDailyWindow(const std::vector<TDataWindow>& windows, int asking,
                                                   TDayNumber day);

// May a month memo for first..last open? Refused for a memo whose range meets it or a daily
// window on one of its days.
[[nodiscard]] TWindowRuleAnswer CanOpenMonthMemo(const std::vector<TDataWindow>& windows, TDayNumber first,
                                                 TDayNumber last);

// Refused while any daily window is open (the first one comes forward): actions that change
// entries behind the daily windows' backs wait for them to close.
[[nodiscard]] TWindowRuleAnswer NoDailyWindowOpen(const std::vector<TDataWindow>& windows);

// The data windows to close, in window order.
[[nodiscard]] std::vector<int> DataWindowsToClose(const std::vector<TDataWindow>& windows);

// The monthly views whose period holds day, in window order; none means a new view is needed.
[[nodiscard]] std::vector<int> MonthlyViewsShowing(const std::vector<TDataWindow>& windows, TDayNumber day);

}  // namespace kzm
