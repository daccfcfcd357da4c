#include "views/WindowRules.h"

namespace kzm {

namespace {

TWindowRuleAnswer Refuse(const char* message, int window) { return {false, message, window}; }

bool Is(const TDataWindow& window, TDataWindowKind kind) { return window.kind == kind; }

}  // namespace

TWindowRuleAnswer CanOpenDailyWindow(const std::vector<TDataWindow>& windows, int asking, TDayNumber day) {
  for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
    const TDataWindow& w = windows[static_cast<size_t>(i)];
    if (i != asking && Is(w, TDataWindowKind::dwDaily) && w.first == day) {
      return Refuse("同じ日の入力ウィンドウが開いています", i);
    }
    if (Is(w, TDataWindowKind::dwMemo) && w.first <= day && day <= w.last) {
      return Refuse("日付の重なる月めもウィンドウが開いています", i);
    }
  }
  return {};
}

TWindowRuleAnswer CanOpenMonthMemo(const std::vector<TDataWindow>& windows, TDayNumber first, TDayNumber last) {
  for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
    const TDataWindow& w = windows[static_cast<size_t>(i)];
    if (Is(w, TDataWindowKind::dwMemo) && w.first <= last && w.last >= first) {
      return Refuse("メモの期間が重なっています", i);
    }
    if (Is(w, TDataWindowKind::dwDaily) && first <= w.first && w.first <= last) {
      return Refuse("重なる日付の入力ウィンドウを閉じてください", i);
    }
  }
  return {};
}

TWindowRuleAnswer NoDailyWindowOpen(const std::vector<TDataWindow>& windows) {
  for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
    if (Is(windows[static_cast<size_t>(i)], TDataWindowKind::dwDaily)) {
      return Refuse("入力中のウィンドウを閉じてください。", i);
    }
  }
  return {};
}

std::vector<int> DataWindowsToClose(const std::vector<TDataWindow>& windows) {
  std::vector<int> result;
  for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
    if (!Is(windows[static_cast<size_t>(i)], TDataWindowKind::dwOther)) result.push_back(i);
  }
  return result;
}

std::vector<int> MonthlyViewsShowing(const std::vector<TDataWindow>& windows, TDayNumber day) {
  std::vector<int> result;
  for (int i = 0; i < static_cast<int>(windows.size()); ++i) {
    const TDataWindow& w = windows[static_cast<size_t>(i)];
    if (Is(w, TDataWindowKind::dwMonthly) && w.first <= day && day <= w.last) result.push_back(i);
  }
  return result;
}

}  // namespace kzm
