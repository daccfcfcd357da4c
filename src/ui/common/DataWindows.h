#pragma once

// What the data windows (daily, monthly, memo, search, chart) tell the coordination rules,
// which the openers (Openers.h) consult before a data window is made. The rules themselves
// live in the core (views/WindowRules.h); this file only describes the open windows to them
// and carries a refusal out.

#include <vector>

#include "views/WindowRules.h"

class QWidget;

namespace kzm::ui {

// Implemented by every data window: what it shows right now.
class TDataWindowInfo {
 public:
  virtual ~TDataWindowInfo() = default;
  [[nodiscard]] virtual kzm::TDataWindow DataWindowInfo() const = 0;
  // Writes what the window holds but has not saved into the month data (a daily window its
  // modified day), before something changes entries behind its back. False when the user
  // kept something back or the save failed.
  virtual bool SaveWindowData() { return true; }
};

// Asks every data window to save what it holds (SaveWindowData), in window order. False when
// one of them could not.
bool SaveAllDataWindows();

// Marks window (which implements TDataWindowInfo) as a data window: the rules see it and
// CloseDataWindows closes it.
void RegisterDataWindow(QWidget* window);

// The program's windows, oldest first, and what each of them shows (dwOther for windows that
// are no data windows), index for index.
struct TOpenWindows {
  std::vector<QWidget*> windows;
  std::vector<kzm::TDataWindow> described;
};
[[nodiscard]] TOpenWindows DescribeOpenWindows();

// Carries out a rule's answer: when refused, shows its message and brings the named window
// forward (restored when minimised). Returns the answer's allowed.
bool ApplyWindowRule(const kzm::TWindowRuleAnswer& answer, const TOpenWindows& open);

// Brings window forward, restoring it when minimised.
void BringForward(QWidget* window);

// When a daily window is open: brings the first forward, says "入力中のウィンドウを閉じてください。"
// and returns true.
bool AnyDailyWindowOpen();

}  // namespace kzm::ui
