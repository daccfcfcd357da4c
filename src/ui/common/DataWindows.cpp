#include "ui/common/DataWindows.h"

#include <QWidget>

#include "foundation/WindowSystem.h"
#include "ui/common/QtWindowSystem.h"

namespace kzm::ui {

void RegisterDataWindow(QWidget* window) { MarkAsDataWindow(window); }

TOpenWindows DescribeOpenWindows() {
  TOpenWindows open;
  for (QWidget* w : ProgramWindows()) {
    open.windows.push_back(w);
    const auto* info = dynamic_cast<const TDataWindowInfo*>(w);
    open.described.push_back(info && IsDataWindow(w) ? info->DataWindowInfo() : kzm::TDataWindow{});
  }
  return open;
}

void BringForward(QWidget* window) {
  if (window->isMinimized()) window->showNormal();
  window->raise();
  window->activateWindow();
}

bool ApplyWindowRule(const kzm::TWindowRuleAnswer& answer, const TOpenWindows& open) {
  if (answer.allowed) return true;
  if (answer.window >= 0 && answer.window < static_cast<int>(open.windows.size()))
    BringForward(open.windows[static_cast<size_t>(answer.window)]);
  if (!answer.message.empty()) WindowSystem().Notify(answer.message);
  return false;
}

bool SaveAllDataWindows() {
  bool saved = true;
  for (QWidget* w : ProgramWindows()) {
    auto* info = dynamic_cast<TDataWindowInfo*>(w);
    if (info && IsDataWindow(w)) saved = info->SaveWindowData() && saved;
  }
  return saved;
}

bool AnyDailyWindowOpen() {
  const TOpenWindows open = DescribeOpenWindows();
  return !ApplyWindowRule(kzm::NoDailyWindowOpen(open.described), open);
}

}  // namespace kzm::ui
