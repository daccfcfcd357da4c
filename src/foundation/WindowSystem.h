#pragma once

#include <string>

namespace kzm {

// Notices sent synchronously to every window of the program.
enum TNotice : int {
  kNoticeColorChanged = 1124,    // the colour scheme changed: windows re-read their colours
  kNoticeDataChanged = 1224,     // first = changed day (0: any), second = last day of a range or 0
  kNoticePassbookOpened = 1225,  // another passbook is open now
};

// What the core asks of the window system. The core never shows a window itself; the UI
// installs its implementation at start-up, tests install a small recording one. Without
// any, a silent default answers: no windows, questions answered "no".
class TWindowSystem {
 public:
  virtual ~TWindowSystem() = default;

  // Delivers the notice to every window, in window order, before returning.
  virtual void BroadcastToForms(int message, int first, int second) = 0;
  // A message box with the text (an error or information the user must see).
  virtual void Notify(const std::string& text) = 0;
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // Closes every data window (daily, monthly, memo, search, chart), saving what they hold.
  // False when one of them refused to close.
  virtual bool CloseDataWindows() = 0;
  // Height in pixels of "0" in the default font at 9 points.
  virtual int DefaultTextHeight() = 0;
  // Opens a document, folder or link with the desktop's program for it.
  virtual bool OpenDocument(const std::string& pathOrUrl) = 0;
  // Moves a file or folder to the desktop trash; false when that failed.
  virtual bool MoveToRecycleBin(const std::string& path) = 0;
};

// The installed window system (the silent default when none is installed).
[[nodiscard]] TWindowSystem& WindowSystem();
// Installs ws (not owned; nullptr restores the silent default).
void SetWindowSystem(TWindowSystem* ws);

}  // namespace kzm
