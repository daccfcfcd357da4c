// A window to look at the round buttons and the help balloon before the program's own
// windows use them: every style in every state, buttons to press and the balloon.
// Run it from the program folder (build/bin) so that it finds the resource archive.
#include <QApplication>
#include <QDir>
#include <QTimer>

#include "DemoWindow.h"
#include "graphics/GraphicSource.h"
#include "ui/common/QtWindowSystem.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kzm::ui::TQtWindowSystem windowSystem;
  kzm::SetWindowSystem(&windowSystem);
  const std::string folder = QCoreApplication::applicationDirPath().toStdString();
  kzm::TGraphicSource source(folder + "/resource/");
  source.AddArchive(folder + "/zevazuvu.arc");
  kzm::SetImageSource(&source);

  int result = 0;
  {
    kzm::demo::TDemoWindow window;
    window.show();
    // --quit-after MS closes the window by itself, for screenshots in scripts.
    const QStringList args = QCoreApplication::arguments();
    const qsizetype at = args.indexOf(QStringLiteral("--quit-after"));
    if (at >= 0 && at + 1 < args.size()) QTimer::singleShot(args[at + 1].toInt(), &app, &QApplication::quit);
    result = QApplication::exec();
  }
  kzm::SetImageSource(nullptr);
  kzm::SetWindowSystem(nullptr);
  return result;
}
