// Program entry: the single instances, start-up, the main window and the message loop, and
// saving at the end. Takes --data-folder DIR to keep the passbooks in DIR, and --self-check.
#include "ProgramInstances.h"
#include "SelfCheck.h"
#include "StartupProbe.h"

#include "ui/main/GuardedApplication.h"
#include "ui/main/InstanceChannel.h"
#include "ui/main/MainWindow.h"
#include "ui/main/ProgramStart.h"
#include "ui/main/QtWindowSystem.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

struct TArguments {
  QString dataFolder;
  bool selfCheck = false;
};

TArguments ReadArguments(const QApplication& app) {
  QCommandLineParser parser;
  const QCommandLineOption dataFolder(QStringLiteral("data-folder"), QStringLiteral("Keep the passbooks in DIR."),
                                      QStringLiteral("DIR"));
  const QCommandLineOption selfCheck(QStringLiteral("self-check"),
                                     QStringLiteral("Say whether the files beside the program are found, and end."));
  parser.addOption(dataFolder);
  parser.addOption(selfCheck);
  parser.addHelpOption();
  parser.addVersionOption();
  parser.process(app);
  return {parser.value(dataFolder), parser.isSet(selfCheck)};
}

}  // namespace

int main(int argc, char** argv) {
  kzm::ui::TGuardedApplication app(argc, argv);
  kzm::ui::SetUpApplication();
  const TArguments arguments = ReadArguments(app);
  const QString& dataFolder = arguments.dataFolder;
  if (arguments.selfCheck) {
    kzm::TProgramInstances instances(dataFolder.toStdString());
    return kzm::RunSelfCheck();
  }
  // Closing the main window ends the program, whatever other windows are open.
  QApplication::setQuitOnLastWindowClosed(false);

  kzm::ui::TQtWindowSystem windowSystem;
  kzm::SetWindowSystem(&windowSystem);
  int result = 0;
  {
    kzm::TProgramInstances instances(dataFolder.toStdString());
    kzm::ui::TInstanceChannel channel;
    if (kzm::ui::StartUp(channel)) {
      {
        kzm::ui::TFmKzmMain mainWindow;
        QObject::connect(&mainWindow, &kzm::ui::TFmKzmMain::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
        if (kzm::TStartupProbe::Wanted()) new kzm::TStartupProbe(mainWindow.SceneArea());
        mainWindow.show();
        mainWindow.StartDailyBackups();
        mainWindow.OpenStartupWindows();
        result = QApplication::exec();
      }
      kzm::ui::SaveAtExit();
    }
  }
  kzm::SetWindowSystem(nullptr);
  return result;
}
