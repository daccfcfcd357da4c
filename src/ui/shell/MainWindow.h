#pragma once

// TFmKzmMain: the program's main window, a 280 × 120 picture scene under a menu that opens
// every other window. Closing it ends the program and records the open passbook as the one
// to start on next time.

#include <QMainWindow>
#include <QTimer>

#include <memory>
#include <string>

#include "foundation/RandomSource.h"
#include "ui/common/BackupRuns.h"
#include "ui/common/PhoneHost.h"

class QAction;
class QLabel;
class QMenu;

namespace kzm::ui {

class TorvFormFunc;
class TkzmMainScene;
class TPassbookWatcher;

class TFmKzmMain : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr int kSceneWidth = 280;
  static constexpr int kSceneHeight = 120;

  explicit TFmKzmMain(QWidget* parent = nullptr);
  ~TFmKzmMain() override;

  // The 280 × 120 area of the picture scene (orvImage1); the scene control fills it.
  [[nodiscard]] QWidget* SceneArea() const { return m_scene; }
  // Replaces the scene area's placeholder by the scene control (taken over by the window).
  void SetSceneWidget(QWidget* scene);
  [[nodiscard]] TorvFormFunc& FormFunc() const { return *m_formFunc; }
  // The picture scene with the mascots.
  [[nodiscard]] TkzmMainScene& Scene() const { return *m_sceneLogic; }
  // Follows what other PCs change in the passbook and says who else has it open.
  [[nodiscard]] TPassbookWatcher& PassbookWatcher() const { return *m_passbookWatcher; }

  // Opens the windows the passbook asks for at start (month view, then today's entry).
  void OpenStartupWindows();
  // From now on the first opening of a passbook on a day is backed up, beginning with the
  // passbook open now; the backup runs beside the windows.
  void StartDailyBackups();
  // From now on the phone service follows the open passbook: started when it is switched on
  // for the passbook, moved when another opens, stopped when the window closes.
  void StartPhoneService();

 signals:
  // The window closed: the program ends.
  void Closed();

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildMenu();
  void SetPassbookTitle();
  // Shows text below the scene (another PC has the passbook open), or hides the line.
  void ShowPresence(const QString& text);
  void Timer1Timer();
  // Runs one step of a tick; an error is shown with the step's prefix and the tick goes on.
  void RunTickStep(const char* prefix, void (TFmKzmMain::*step)());
  // The steps the scene and the mascots fill in.
  void TickMessages();
  void TickMascots();
  void RedrawScene();

  void MenuFnewClick();
  void MenuFchangeClick();
  void MenuFinfoHeadClick();
  void MenuFoptionClick();
  void MenuFfindClick();
  void MenuFcolorClick();
  void MenuFReplaceClick();
  void MenuFImportClick();
  void MenuFRecurringClick();
  // Offers the recurring entries due (when no daily window is open; else on a later tick).
  void CheckRecurring();
  void MenuFBackupClick();
  void MenuFexitClick();
  void MenuVmessageClick();
  void MenuVtodayClick();
  void MenuVtomonthClick();
  void MenuVbudgetClick();
  void MenuVyearClick();
  void MenuVcardClick();
  void MenuVforecastClick();
  void MenuVcloseClick();
  void N8Click();
  void MenuEhelpClick();

  // The day the recurring entries were last checked; 0 before the start-up windows, -1 when
  // a passbook opened since. A tick that finds another day checks again.
  int32_t m_recurringDay = 0;
  QWidget* m_scene = nullptr;
  TorvFormFunc* m_formFunc = nullptr;
  TSeededRandom m_random;
  std::unique_ptr<TkzmMainScene> m_sceneLogic;
  QTimer m_timer1;
  bool m_closed = false;
  bool m_dailyBackups = false;
  TDailyBackup m_dailyBackup;
  bool m_phoneFollows = false;
  TPhoneHost m_phone;
  TPassbookWatcher* m_passbookWatcher = nullptr;
  QLabel* m_presence = nullptr;
};

// The help manual beside the program.
[[nodiscard]] std::string HelpFilePath();

}  // namespace kzm::ui
