#pragma once

#include <QDialog>

namespace kzm::ui {

// The program's name, version and icon with a word of thanks; opened modally from the main
// window's menu.
class TFmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit TFmAbout(QWidget* parent = nullptr);
};

// The program's icon (built in), for the windows' title bars.
[[nodiscard]] QIcon ProgramIcon();

}  // namespace kzm::ui
