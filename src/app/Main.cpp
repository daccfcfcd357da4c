// Program entry. Until the main window exists this opens a plain window with the product
// name and version; the data folder can already be chosen with --data-folder DIR.
#include "foundation/AppGlobal.h"
#include "ui/main/QtWindowSystem.h"

#include <QApplication>
#include <QLabel>
#include <QStringList>

#include <cstring>

int main(int argc, char** argv) {
  // --data-folder DIR keeps this run's data in DIR, without changing the user's setting.
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--data-folder") == 0) kzm::AppGlobal().UseDataFolder(argv[i + 1]);
  }
  QApplication app(argc, argv);
  QApplication::setApplicationDisplayName(QStringLiteral("もるぽ通帳"));
  kzm::ui::TQtWindowSystem windowSystem;
  kzm::SetWindowSystem(&windowSystem);

  QLabel label(QStringLiteral("もるぽ通帳 %1\n%2")
                   .arg(QStringLiteral(KZM_VERSION), QString::fromStdString(kzm::AppGlobal().DataFolder())));
  label.setMinimumSize(280, 120);
  label.setAlignment(Qt::AlignCenter);
  label.show();
  const int result = QApplication::exec();
  kzm::SetWindowSystem(nullptr);
  return result;
}
