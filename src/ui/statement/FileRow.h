#pragma once

// The row at the top of the import windows that names the file to read: the labelled field,
// 参照 (a file dialog; the chosen file is read at once) and 読み込み, which like Enter in the
// field reads the named file.

#include <QString>

#include <functional>

class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kzm::ui {

struct TFileRow {
  QLineEdit* file = nullptr;
  QLabel* label = nullptr;
  QPushButton* browse = nullptr;
  QPushButton* read = nullptr;
};

struct TFileRowText {
  QString caption;      // the label, with its accelerator
  QString dialogTitle;  // of the file dialog
  QString filter;       // the file dialog's filter
};

// Made where the window makes its first controls, so that they come first in the Tab order;
// read runs on 読み込み, on Enter in the field and once a file is chosen.
[[nodiscard]] TFileRow NewFileRow(const TFileRowText& text, QWidget* owner, std::function<void()> read);
// Lays the row out in row of grid, over four columns.
void PlaceFileRow(QGridLayout* grid, int row, const TFileRow& fileRow);

}  // namespace kzm::ui
