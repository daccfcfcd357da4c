#pragma once

#include <set>
#include <string>
#include <vector>

namespace kzm {

// Notices sent synchronously to every window of the program.
enum TNotice : int {
  kNoticeColorChanged = 1124,    // the colour scheme changed: windows re-read their colours
  kNoticeDataChanged = 1224,     // first = changed day (0: any), second = last day of a range or 0
  kNoticePassbookOpened = 1225,  // another passbook is open now
  kNoticeStoreEdits = 1226,      // edits of a day not yet saved are saved now: an entry from elsewhere lands
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
  // A message box telling that something went well (a count of what was done).
  virtual void Inform(const std::string& text) { Notify(text); }
  // A Yes/No question; true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // The same question where Enter answers No: for what cannot be taken back.
  virtual bool AskYesNoDefaultNo(const std::string& text) { return AskYesNo(text); }
  // Closes every data window (daily, monthly, memo, search, chart), saving what they hold.
  // False when one of them refused to close.
  virtual bool CloseDataWindows() = 0;
  // Height in pixels of "0" in the default font at 9 points.
  virtual int DefaultTextHeight() = 0;
  // Opens a document, folder or link with the desktop's program for it.
  virtual bool OpenDocument(const std::string& pathOrUrl) = 0;
  // Moves a file or folder to the desktop trash; false when that failed.
  virtual bool MoveToRecycleBin(const std::string& path) = 0;

  // Notify, but each text only once while this window system is installed: a file that is
  // read again and again tells its fault once.
  void NotifyOnce(const std::string& text) {
    if (Untold(text)) Notify(text);
  }
  // Whether text has not gone out through NotifyOnce yet; from now on it has.
  virtual bool Untold(const std::string& text) { return m_toldOnce.insert(text).second; }

 private:
  std::set<std::string> m_toldOnce;
};

// The installed window system (the silent default when none is installed).
[[nodiscard]] TWindowSystem& WindowSystem();
// Installs ws (not owned; nullptr restores the silent default).
void SetWindowSystem(TWindowSystem* ws);

// While it lives, the messages for the user are gathered, each text once, and shown as one
// message when it ends: one failure met from several places (a full disk while saving a day)
// makes one message, not a row of them. Everything else goes to the window system installed
// before it, which is installed again at the end.
class TNoticeGroup final : public TWindowSystem {
 public:
  TNoticeGroup();
  ~TNoticeGroup() override;
  TNoticeGroup(const TNoticeGroup&) = delete;
  TNoticeGroup& operator=(const TNoticeGroup&) = delete;

  void BroadcastToForms(int message, int first, int second) override;
  void Notify(const std::string& text) override;
  void Inform(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool AskYesNoDefaultNo(const std::string& text) override;
  bool CloseDataWindows() override;
  int DefaultTextHeight() override;
  bool OpenDocument(const std::string& pathOrUrl) override;
  bool MoveToRecycleBin(const std::string& path) override;
  // Told once is once for the window system the group gathers for.
  bool Untold(const std::string& text) override;

 private:
  TWindowSystem& Outer() { return m_outer ? *m_outer : SilentWindowSystem(); }
  static TWindowSystem& SilentWindowSystem();

  TWindowSystem* m_outer;  // installed before; nullptr for the silent default
  std::vector<std::string> m_texts;
};

}  // namespace kzm
