#include "ui/statement/FileRow.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "controls/UiBasics.h"

namespace kzm::ui {

TFileRow NewFileRow(const TFileRowText& text, QWidget* owner, std::function<void()> read) {
  TFileRow row;
  row.file = new QLineEdit(owner);
  row.file->setObjectName(QStringLiteral("EditFile"));
  row.label = new QLabel(text.caption, owner);
  row.label->setBuddy(row.file);
  row.browse = NewButton("参照(&B)…", "ButtonBrowse", owner);
  row.read = NewButton("読み込み(&R)", "ButtonRead", owner);
  QObject::connect(row.read, &QPushButton::clicked, owner, read);
  QObject::connect(row.file, &QLineEdit::returnPressed, owner, read);
  QLineEdit* file = row.file;
  QObject::connect(row.browse, &QPushButton::clicked, owner, [owner, file, text, read] {
    const QString path = QFileDialog::getOpenFileName(owner, text.dialogTitle, file->text(), text.filter);
    if (path.isEmpty()) return;
    file->setText(path);
    read();
  });
  return row;
}

void PlaceFileRow(QGridLayout* grid, int row, const TFileRow& fileRow) {
  grid->addWidget(fileRow.label, row, 0);
  grid->addWidget(fileRow.file, row, 1);
  grid->addWidget(fileRow.browse, row, 2);
  grid->addWidget(fileRow.read, row, 3);
}

}  // namespace kzm::ui
