// Program entry: the single instances, start-up, the main window and the message loop, and
// saving at the end. Takes --data-folder DIR to keep the passbooks in DIR.
#include "ProgramInstances.h"
#include "StartupProbe.h"

#include "ui/main/Fonts.h"
#include "ui/main/InstanceChannel.h"
#include "ui/main/MainWindow.h"
#include "ui/main/ProgramStart.h"
#include "ui/main/QtWindowSystem.h"

#include <QApplication>
#include <QCommandLineParser>

namespace {

QString DataFolderArgument(const QApplication& app) {
  QCommandLineParser parser;
  const QCommandLineOption dataFolder(QStringLiteral("data-folder"), QStringLiteral("Keep the passbooks in DIR."),
                                      QStringLiteral("DIR"));
  parser.addOption(dataFolder);
  parser.addHelpOption();
  parser.process(app);
  return parser.value(dataFolder);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("tavimrok"));
  QApplication::setOrganizationName(QStringLiteral("Orvik"));
  QApplication::setApplicationDisplayName(QStringLiteral("もるぽ通帳"));
  QApplication::setApplicationVersion(QStringLiteral(KZM_VERSION));
  kzm::ui::InstallFontSubstitutions();
  QApplication::setFont(kzm::ui::ProgramFont());
  const QString dataFolder = DataFolderArgument(app);
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
        mainWindow.OpenStartupWindows();
        result = QApplication::exec();
      }
      kzm::ui::SaveAtExit();
    }
  }
  kzm::SetWindowSystem(nullptr);
  return result;
}
