#include "ui/shell/MainWindow.h"

#include "controls/FormHelper.h"
#include "controls/ImageControl.h"
#include "controls/NoticeEvent.h"
#include "foundation/AppGlobal.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "foundation/WindowSystem.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"
#include "ui/common/DataWindows.h"
#include "ui/common/Openers.h"
#include "ui/common/PassbookWatcher.h"
#include "ui/shell/AboutWindow.h"
#include "ui/shell/HelpWindow.h"
#include "ui/shell/MainScene.h"
#include "ui/shell/MessageList.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>

#include <chrono>
#include <exception>

namespace kzm::ui {

namespace {

constexpr int kTimerMs = 100;

// One menu item: its name, caption, shortcut, whether a separator follows it and what it
// does. Items whose window is not part of the program yet have no action and are shown
// disabled.
struct TMenuItem {
  const char* name;
  const char* caption;
  const char* shortcut;
  bool separatorAfter;
  void (TFmKzmMain::*click)();
};

struct TMenuDef {
  const char* name;
  const char* caption;
  std::initializer_list<TMenuItem> items;
};

}  // namespace

std::string HelpFilePath() { return AppGlobal().AppPath() + "tavimrok_s.html"; }

TFmKzmMain::TFmKzmMain(QWidget* parent)
    : QMainWindow(parent),
      m_random(static_cast<std::uint32_t>(std::chrono::system_clock::now().time_since_epoch().count())) {
  setObjectName(QStringLiteral("FmKzmMain"));
  // A single fixed border with only the system menu and the close box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);

  m_formFunc = new TorvFormFunc(this);
  m_formFunc->setObjectName(QStringLiteral("orvFormFunc1"));
  m_formFunc->SetPreserve(true);
  m_formFunc->SetKeepLocation(true);
  m_formFunc->SetFitScreenPx(16);
  m_formFunc->SetEraseBackGround(true);

  auto* image = new TorvImage(this);
  SetSceneWidget(image);
  BuildMenu();
  m_sceneLogic = std::make_unique<TkzmMainScene>(*image, MascotMessages(), m_random,
                                                 [] { return CurrentProfile().MascotCount(); }, LocalMinuteOfHour);
  // The icons do what the menu items do.
  m_sceneLogic->OnTodayClick = [this] { findChild<QAction*>(QStringLiteral("menuVtoday"))->trigger(); };
  m_sceneLogic->OnMonthClick = [this] { findChild<QAction*>(QStringLiteral("menuVtomonth"))->trigger(); };
  layout()->setSizeConstraint(QLayout::SetFixedSize);
  SetPassbookTitle();
  m_presence = new QLabel(this);
  m_presence->setObjectName(QStringLiteral("PresenceLabel"));
  statusBar()->addWidget(m_presence, 1);
  statusBar()->setSizeGripEnabled(false);
  statusBar()->hide();
  m_passbookWatcher = new TPassbookWatcher(this);
  connect(m_passbookWatcher, &TPassbookWatcher::PresenceChanged, this, &TFmKzmMain::ShowPresence);
  m_passbookWatcher->WatchOpenPassbook();

  m_timer1.setObjectName(QStringLiteral("Timer1"));
  m_timer1.setInterval(kTimerMs);
  connect(&m_timer1, &QTimer::timeout, this, &TFmKzmMain::Timer1Timer);
  m_timer1.start();
}

TFmKzmMain::~TFmKzmMain() {
  if (PhoneHostIfAny() == &m_phone) SetPhoneHost(nullptr);
}

void TFmKzmMain::SetSceneWidget(QWidget* scene) {
  scene->setObjectName(QStringLiteral("orvImage1"));
  scene->setFixedSize(kSceneWidth, kSceneHeight);
  QWidget* old = takeCentralWidget();
  setCentralWidget(scene);
  m_scene = scene;
  if (old) old->deleteLater();
}

void TFmKzmMain::BuildMenu() {
  using M = TFmKzmMain;
  const TMenuDef menus[] = {
      {"menuF",
       "ﾌｧｲﾙ(&F)",
       {
           {"menuFnew", "新規通帳(&N)", "", false, &M::MenuFnewClick},
           {"menuFchange", "通帳切り替え(&L)", "", true, &M::MenuFchangeClick},
           {"MenuFinfoHead", "通帳情報と項目(&I)", "", false, &M::MenuFinfoHeadClick},
           {"MenuFoption", "オプション設定(&O)", "", false, &M::MenuFoptionClick},
           {"MenuFcolor", "配色設定(&C)", "", true, &M::MenuFcolorClick},
           {"menuFfind", "検索(&F)", "", false, &M::MenuFfindClick},
           {"MenuFReplace", "項目の置換(&R)", "", false, &M::MenuFReplaceClick},
           {"MenuFRecurring", "定期的な記入(&T)…", "", false, &M::MenuFRecurringClick},
           {"MenuFImport", "明細の取り込み(&M)…", "", false, &M::MenuFImportClick},
           {"MenuFBackup", "バックアップと復元(&B)…", "", true, &M::MenuFBackupClick},
           {"menuFexit", "終了する(&X)", "Alt+F4", false, &M::MenuFexitClick},
       }},
      {"menuV",
       "表示(&V)",
       {
           {"menuVtoday", "今日の入力(&D)", "Ctrl+D", false, &M::MenuVtodayClick},
           {"menuVtomonth", "今月の表示(&M)", "Ctrl+M", false, &M::MenuVtomonthClick},
           {"MenuVbudget", "予算(&B)", "", false, &M::MenuVbudgetClick},
           {"MenuVyear", "年間の集計(&Y)", "", false, &M::MenuVyearClick},
           {"MenuVcard", "カードの請求(&K)", "", false, &M::MenuVcardClick},
           {"MenuVforecast", "これからの残高(&F)", "", false, &M::MenuVforecastClick},
           {"MenuVmessage", "メッセージ(&S)", "", true, &M::MenuVmessageClick},
           {"menuVclose", "ウィンドウを全て閉じる(&C)", "Ctrl+W", false, &M::MenuVcloseClick},
       }},
      {"menuI",
       "その他(&E)",
       {
           {"N8", "ソフトウェア情報（&I)", "Ctrl+I", true, &M::N8Click},
           {"MenuEhelp", "ヘルプ（&H)", "F1", false, &M::MenuEhelpClick},
       }},
  };
  for (const TMenuDef& def : menus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(def.caption));
    menu->setObjectName(QString::fromUtf8(def.name));
    menu->menuAction()->setObjectName(QString::fromUtf8(def.name));
    for (const TMenuItem& item : def.items) {
      QAction* action = menu->addAction(QString::fromUtf8(item.caption));
      action->setObjectName(QString::fromUtf8(item.name));
      action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
      // Shortcuts work while the main window is active, whatever has the focus in it.
      action->setShortcutContext(Qt::WindowShortcut);
      addAction(action);
      if (item.click) {
        connect(action, &QAction::triggered, this, item.click);
      } else {
        action->setEnabled(false);
      }
      if (item.separatorAfter) menu->addSeparator();
    }
  }
}

void TFmKzmMain::SetPassbookTitle() {
  setWindowTitle(QStringLiteral("もるぽ通帳 ") + QString::fromStdString(CurrentProfile().Name()));
}

void TFmKzmMain::ShowPresence(const QString& text) {
  m_presence->setText(text);
  statusBar()->setVisible(!text.isEmpty());
}

void TFmKzmMain::OpenStartupWindows() {
  // Before a daily window opens: the check waits while one is open.
  CheckRecurring();
  // As the menu's 今月の表示 and 今日の入力 do, month first; a window that is not part of
  // the program yet has its menu item disabled and opens nothing.
  if (CurrentProfile().OpenMonthAtStart()) findChild<QAction*>(QStringLiteral("menuVtomonth"))->trigger();
  if (CurrentProfile().OpenTodayAtStart()) findChild<QAction*>(QStringLiteral("menuVtoday"))->trigger();
}

void TFmKzmMain::StartDailyBackups() {
  m_dailyBackups = true;
  m_dailyBackup.Start(CurrentProfile().Folder());
}

void TFmKzmMain::StartPhoneService() {
  m_phoneFollows = true;
  SetPhoneHost(&m_phone);
  m_phone.Follow(CurrentProfile().Folder());
}

bool TFmKzmMain::event(QEvent* event) {
  if (event->type() == TNoticeEvent::EventType() &&
      static_cast<TNoticeEvent*>(event)->Message() == kNoticePassbookOpened) {
    SetPassbookTitle();
    m_passbookWatcher->WatchOpenPassbook();
    // Asked on the next tick, once the passbook has been opened by whoever opened it.
    if (m_recurringDay != 0) m_recurringDay = -1;
    if (m_dailyBackups) m_dailyBackup.Start(CurrentProfile().Folder());
    if (m_phoneFollows) m_phone.Follow(CurrentProfile().Folder());
    return true;
  }
  return QMainWindow::event(event);
}

void TFmKzmMain::closeEvent(QCloseEvent* event) {
  m_closed = true;
  m_timer1.stop();
  m_phone.Follow(std::string());
  WindowSystem().CloseDataWindows();
  AppGlobal().WriteAppString("STARTUP", "LASTPROFILE", CurrentProfile().Folder());
  event->accept();
  emit Closed();
}

void TFmKzmMain::RunTickStep(const char* prefix, void (TFmKzmMain::*step)()) {
  try {
    (this->*step)();
  } catch (const std::exception& e) {
    WindowSystem().Notify(std::string(prefix) + e.what());
  }
}

void TFmKzmMain::Timer1Timer() {
  // Stopped while it runs, so that a message box shown by a failing step does not let ticks
  // pile up behind it.
  m_timer1.stop();
  RunTickStep("0:", &TFmKzmMain::TickMessages);
  RunTickStep("1:", &TFmKzmMain::TickMascots);
  RunTickStep("2:", &TFmKzmMain::RedrawScene);
  if (!m_closed && m_recurringDay != 0 && m_recurringDay != Today()) RunTickStep("3:", &TFmKzmMain::CheckRecurring);
  if (!m_closed) m_timer1.start();
}

void TFmKzmMain::TickMessages() { m_sceneLogic->TickMessages(); }

void TFmKzmMain::TickMascots() { m_sceneLogic->TickMascots(); }

void TFmKzmMain::RedrawScene() { m_sceneLogic->Redraw(); }

void TFmKzmMain::MenuVmessageClick() { MascotMessages().PickMessage(); }

void TFmKzmMain::MenuFnewClick() { NewPassbook(this); }

void TFmKzmMain::MenuFchangeClick() { SelectPassbook(this); }

void TFmKzmMain::MenuFinfoHeadClick() { OpenPassbookInfo(0, this); }

void TFmKzmMain::MenuFoptionClick() { OpenOptions(0, this); }

void TFmKzmMain::MenuFfindClick() { OpenSearch(); }

void TFmKzmMain::MenuFcolorClick() { OpenColorSetUp(this); }

void TFmKzmMain::MenuFReplaceClick() { OpenReplace(this); }

void TFmKzmMain::MenuFImportClick() { OpenStatementImport(this); }

void TFmKzmMain::MenuFRecurringClick() { OpenRecurringWindow(this); }

void TFmKzmMain::CheckRecurring() {
  const TDayNumber day = Today();
  // Not asked yet (a window was in the way): the next tick asks.
  m_recurringDay = CheckRecurringEntries(this) ? day : -1;
}

void TFmKzmMain::MenuFBackupClick() { OpenBackups(this); }

void TFmKzmMain::MenuFexitClick() { close(); }

void TFmKzmMain::MenuVtodayClick() { OpenDailyWindow(Today()); }

void TFmKzmMain::MenuVtomonthClick() { ShowMonthOfDay(Today()); }

void TFmKzmMain::MenuVbudgetClick() {
  try {
    OpenBudgetWindow(MonthOfDay(Today()));
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
  }
}

void TFmKzmMain::MenuVyearClick() { OpenYearReport(DecodeDate(Today()).year); }

void TFmKzmMain::MenuVcardClick() { OpenCardBillWindow(); }

void TFmKzmMain::MenuVforecastClick() { OpenForecastWindow(); }

void TFmKzmMain::MenuVcloseClick() { WindowSystem().CloseDataWindows(); }

void TFmKzmMain::N8Click() {
  TFmAbout about(this);
  about.exec();
}

void TFmKzmMain::MenuEhelpClick() {
  const std::string path = HelpFilePath();
  if (!FileExists(path)) {
    WindowSystem().Notify("ヘルプファイルが見つかりません。\n" + path);
    return;
  }
  // A desktop without a launcher or a browser still gets the manual, in a window of ours.
  if (!WindowSystem().OpenDocument(path)) ShowHelpWindow(path);
}

}  // namespace kzm::ui
