// Program entry: the single instances, start-up, the main window and the message loop, and
// saving at the end. The options are in CommandLine.h.
#include "CommandLine.h"
#include "ProgramInstances.h"
#include "SelfCheck.h"
#include "StartupProbe.h"

#include "ui/common/QtWindowSystem.h"
#include "ui/shell/AboutWindow.h"
#include "ui/shell/GuardedApplication.h"
#include "ui/shell/InstanceChannel.h"
#include "ui/shell/MainWindow.h"
#include "ui/shell/ProgramStart.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
  // Read before Qt starts: Qt ends the program when it finds no display, and asking for help
  // or checking an installation must work over ssh and in scripts.
  const kzm::TCommandLine line = kzm::ReadCommandLine(argc, argv);
  switch (line.action) {
    case kzm::TStartAction::saHelp:
      std::fputs(kzm::HelpText().c_str(), stdout);
      return 0;
    case kzm::TStartAction::saVersion:
      std::fputs(kzm::VersionText().c_str(), stdout);
      return 0;
    case kzm::TStartAction::saMistake:
      std::fprintf(stderr, "%s\n", line.error.c_str());
      return 1;
    case kzm::TStartAction::saSelfCheck: {
      kzm::TProgramInstances instances(line.dataFolder);
      return kzm::RunSelfCheck();
    }
    case kzm::TStartAction::saRun:
      break;
  }
  kzm::ui::TGuardedApplication app(argc, argv);
  kzm::ui::SetUpApplication();
  // Closing the main window ends the program, whatever other windows are open.
  QApplication::setQuitOnLastWindowClosed(false);

  kzm::ui::TQtWindowSystem windowSystem;
  kzm::SetWindowSystem(&windowSystem);
  int result = 0;
  {
    kzm::TProgramInstances instances(line.dataFolder);
    kzm::ui::TInstanceChannel channel;
    if (kzm::ui::StartUp(channel)) {
      {
        kzm::ui::TFmKzmMain mainWindow;
        QObject::connect(&mainWindow, &kzm::ui::TFmKzmMain::Closed, &app, &QApplication::quit, Qt::QueuedConnection);
        if (kzm::TStartupProbe::Wanted()) new kzm::TStartupProbe(mainWindow.SceneArea());
        mainWindow.show();
        // Every window of the program shows the program's icon. Decoding it takes a few
        // milliseconds, so the main window shows first and the icon comes after, once.
        QTimer::singleShot(0, [] { QApplication::setWindowIcon(kzm::ui::ProgramIcon()); });
        mainWindow.StartDailyBackups();
        mainWindow.StartPhoneService();
        mainWindow.OpenStartupWindows();
        result = QApplication::exec();
      }
      kzm::ui::SaveAtExit();
    }
  }
  kzm::SetWindowSystem(nullptr);
  return result;
}
