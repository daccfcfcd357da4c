// Program entry. Until the main window exists this opens a plain window with the product
// name and version; the data folder can already be chosen with --data-folder DIR.
#include "ui/main/QtWindowSystem.h"

#include <QApplication>
#include <QLabel>
#include <QStringList>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("もるぽ通帳"));
  kzm::ui::TQtWindowSystem windowSystem;
  kzm::SetWindowSystem(&windowSystem);

  QLabel label(QStringLiteral("もるぽ通帳 %1").arg(QStringLiteral(KZM_VERSION)));
  label.setMinimumSize(280, 120);
  label.setAlignment(Qt::AlignCenter);
  label.show();
  const int result = QApplication::exec();
  kzm::SetWindowSystem(nullptr);
  return result;
}
