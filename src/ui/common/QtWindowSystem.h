#pragma once

#include "controls/NoticeEvent.h"
#include "foundation/WindowSystem.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

namespace kzm::ui {

// Marks window as a data window (daily, monthly, memo, search, chart): CloseDataWindows
// closes it.
void MarkAsDataWindow(QWidget* window);
[[nodiscard]] bool IsDataWindow(const QWidget* window);
// Whether CloseDataWindows is closing the window (rather than the user): a window that would
// ask before closing must then close all the same.
[[nodiscard]] bool ClosedByProgram(const QWidget* window);

// The window system the core talks to, over Qt. Create it after the QApplication: from then
// on it remembers the order in which top-level windows are created, because notices must
// reach the windows in that order and Qt's own list of windows has none.
class TQtWindowSystem : public QObject, public kzm::TWindowSystem {
  Q_OBJECT

 public:
  TQtWindowSystem();
  ~TQtWindowSystem() override;

  void BroadcastToForms(int message, int first, int second) override;
  void Notify(const std::string& text) override;
  void Inform(const std::string& text) override;
  bool AskYesNo(const std::string& text) override;
  bool AskYesNoDefaultNo(const std::string& text) override;
  bool CloseDataWindows() override;
  int DefaultTextHeight() override;
  bool OpenDocument(const std::string& pathOrUrl) override;
  bool MoveToRecycleBin(const std::string& path) override;

  // The open top-level windows, oldest first.
  [[nodiscard]] std::vector<QWidget*> Windows();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::vector<QPointer<QWidget>> m_created;
};

// The program's top-level windows, oldest first (Qt's order when no TQtWindowSystem is
// installed).
[[nodiscard]] std::vector<QWidget*> ProgramWindows();

// Moves a newly shown window off another window's exact place (the cascade rule), counting
// the program's ordinary windows and dialogs.
void CascadeForm(QWidget& form);

// Places a window that is about to be shown for the first time centred on the window it is
// opened from (the active one), within that window's screen; with no active window, centred
// on the primary screen's work area.
void CentreOnOpener(QWidget& window);

}  // namespace kzm::ui
