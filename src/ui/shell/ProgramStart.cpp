#include "ui/shell/ProgramStart.h"

#include "controls/Fonts.h"
#include "foundation/AppGlobal.h"
#include "foundation/ColorScheme.h"
#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "passbook/StartUp.h"
#include "sync/SyncMerge.h"
#include "ui/common/AccessibleControls.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/shell/InstanceChannel.h"
#include "ui/shell/MainWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace kzm::ui {

namespace {

TFmKzmMain* RunningMainWindow() {
  for (QWidget* w : ProgramWindows()) {
    if (auto* main = qobject_cast<TFmKzmMain*>(w)) return main;
  }
  return nullptr;
}

// Qt's translations of its own texts ("はい", "キャンセル", the file and print dialogs, the
// context menus of edits). Without the translation files installed Qt speaks English.
void InstallQtTranslations() {
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  QLocale::setDefault(japanese);
  const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  auto* translator = new QTranslator(qApp);
  if (translator->load(japanese, QStringLiteral("qt"), QStringLiteral("_"), folder) ||
      translator->load(japanese, QStringLiteral("qtbase"), QStringLiteral("_"), folder)) {
    QCoreApplication::installTranslator(translator);
  } else {
    delete translator;
  }
}

}  // namespace

void SetUpApplication() {
  QApplication::setApplicationName(QStringLiteral(KZM_INTERNAL_NAME));
  QApplication::setOrganizationName(QStringLiteral(KZM_COMPANY_NAME));
  QApplication::setApplicationVersion(QStringLiteral(KZM_VERSION));
  // Ties the windows to the desktop entry (its icon and name in the task bar).
  QGuiApplication::setDesktopFileName(QStringLiteral("jp.orvik.tavimrok"));
  InstallQtTranslations();
  InstallFontSubstitutions();
  QApplication::setFont(ProgramFont());
  InstallAccessibleControls();
}

bool ClaimSingleInstance(TInstanceChannel& channel, const QString& channelName) {
  if (AppGlobal().IsAlreadyRunning()) {
    if (!TInstanceChannel::BringForward(channelName)) WindowSystem().Notify("別のユーザーが起動中です。");
    return false;
  }
  channel.Listen(channelName, [] {
    if (TFmKzmMain* main = RunningMainWindow()) BringWindowForward(*main);
  });
  return true;
}

bool OpenStartupPassbook() {
  ListPassbooks();
  const TStartupChoice choice =
      ChooseStartupPassbook(PassbookFolders(), AppGlobal().ReadAppBool("STARTUP", "SELECTION", false),
                            AppGlobal().ReadAppString("STARTUP", "LASTPROFILE", ""));
  switch (choice.action) {
    case TStartupAction::saNewPassbook:
      return NewPassbook();
    case TStartupAction::saOpen:
      // Held by another writer (told): the person may choose another passbook.
      return OpenPassbookSynced(choice.folder) || SelectPassbook();
    case TStartupAction::saSelect:
      return SelectPassbook();
  }
  return false;
}

bool StartUp(TInstanceChannel& channel) {
  ColorScheme().LoadDefaultColors();
  if (!ClaimSingleInstance(channel, TInstanceChannel::DefaultName())) return false;
  return OpenStartupPassbook();
}

bool SaveAtExit() {
  const bool profileSaved = CurrentProfile().Save();
  const bool monthSaved = CurrentMonthData().Save();
  return profileSaved && monthSaved;
}

}  // namespace kzm::ui
