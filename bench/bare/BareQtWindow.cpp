// The yardsticks for the start-up benchmark: a Qt program that shows one empty window of the
// main window's scene size and nothing else, or with --menu the same in a main window under
// a menu bar with the program's three Japanese menu titles (which loads the fonts and the
// menu bar's services). Each reports its first paint the way the program does, when asked.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QWidget>

#include <cstring>

#include "app/StartupProbe.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool withMenu = argc > 1 && std::strcmp(argv[1], "--menu") == 0;
  QMainWindow window;
  auto* scene = new QWidget;
  scene->setFixedSize(280, 120);
  window.setCentralWidget(scene);
  if (withMenu) {
    for (const char* title : {"ﾌｧｲﾙ(&F)", "表示(&V)", "その他(&E)"}) window.menuBar()->addMenu(QString::fromUtf8(title));
  }
  // As the program does: without the probe asked for, the window stays until it is closed.
  if (kzm::TStartupProbe::Wanted()) new kzm::TStartupProbe(scene);
  window.show();
  return QApplication::exec();
}
