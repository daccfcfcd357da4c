#include "ui/settings/OptionWindow.h"

#include "backup/Backup.h"
#include "controls/CentreOnScreen.h"
#include "foundation/WindowSystem.h"
#include "ui/common/PhoneHost.h"
#include "ui/settings/PhonePage.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kzm::ui {

namespace {

QCheckBox* NewCheckBox(const char* caption, const char* name, bool checked, QWidget* parent) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setChecked(checked);
  return box;
}

}  // namespace

TFmOption::TFmOption(const TOptionSettings& settings, const std::string& dataFolder, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("FmOption"));
  setWindowTitle(QStringLiteral("オプション設定"));
  setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowCloseButtonHint);
  m_pages = new QTabWidget(this);
  m_pages->setObjectName(QStringLiteral("PageControl1"));
  m_pages->setAccessibleName(QStringLiteral("オプションのページ"));
  m_pages->addTab(CreateStartupPage(settings), QStringLiteral("起動時"));
  m_pages->addTab(CreateInputPage(settings), QStringLiteral("今日の入力"));
  m_pages->addTab(CreateDataPage(dataFolder, settings.backupFolder), QStringLiteral("データ"));
  m_pages->addTab(new TPhonePage(PhoneHostIfAny(), this), QStringLiteral("スマホから記入"));

  auto* cancel = new QPushButton(QStringLiteral("キャンセル"), this);
  cancel->setObjectName(QStringLiteral("ButtonCancel"));
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ButtonSetUpAll"));
  ok->setDefault(true);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(ok, &QPushButton::clicked, this, &TFmOption::ButtonSetUpAllClick);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(cancel);
  buttons->addWidget(ok);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_pages);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  CentreOnScreenWhenShown(*this);
}

QWidget* TFmOption::CreateStartupPage(const TOptionSettings& settings) {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TSstartup"));
  auto* profileBox = new QGroupBox(QStringLiteral("開く通帳"), page);
  profileBox->setObjectName(QStringLiteral("rgStartUpProfile"));
  auto* last = new QRadioButton(QStringLiteral("最後に開いていた通帳"), profileBox);
  m_chooseFromList = new QRadioButton(QStringLiteral("一覧から選ぶ"), profileBox);
  m_chooseFromList->setObjectName(QStringLiteral("rgStartUpProfileList"));
  (settings.selection ? m_chooseFromList : last)->setChecked(true);
  auto* profileLayout = new QVBoxLayout(profileBox);
  profileLayout->addWidget(last);
  profileLayout->addWidget(m_chooseFromList);

  auto* windowBox = new QGroupBox(QStringLiteral("表示ウィンドウ"), page);
  windowBox->setObjectName(QStringLiteral("gbStartUpWindow"));
  m_startMonthly = NewCheckBox("月間表示", "cbStartUpMonthly", settings.openMonth, windowBox);
  m_startDaily = NewCheckBox("今日の入力", "cbStartUpDaily", settings.openToday, windowBox);
  m_startCalendar = NewCheckBox("カレンダー", "cbStartUpCalendar", settings.calendar, windowBox);
  m_startCalendar->setEnabled(false);  // there is no calendar window to open
  auto* windowLayout = new QVBoxLayout(windowBox);
  for (QCheckBox* box : {m_startMonthly, m_startDaily, m_startCalendar}) windowLayout->addWidget(box);

  auto* layout = new QHBoxLayout(page);
  layout->addWidget(profileBox);
  layout->addWidget(windowBox);
  return page;
}

QWidget* TFmOption::CreateInputPage(const TOptionSettings& settings) {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TSinput"));
  auto* box = new QGroupBox(QStringLiteral("Enterでの移動"), page);
  box->setObjectName(QStringLiteral("GroupBox1"));
  m_enter[0] = NewCheckBox("項目", "CBenter1", settings.enterToItem, box);
  m_enter[1] = NewCheckBox("金額", "CBenter2", settings.enterToAmount, box);
  m_enter[2] = NewCheckBox("出金", "CBenter3", settings.enterToAccount, box);
  m_enter[3] = NewCheckBox("備考", "CBenter4", settings.enterToNote, box);
  auto* boxLayout = new QHBoxLayout(box);
  for (QCheckBox* enter : m_enter) boxLayout->addWidget(enter);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(box);
  layout->addStretch();
  return page;
}

QWidget* TFmOption::CreateDataPage(const std::string& dataFolder, const std::string& backupFolder) {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("TSdata"));
  auto* edit = new QLineEdit(QString::fromStdString(dataFolder), page);
  edit->setObjectName(QStringLiteral("LEdatadir"));
  edit->setReadOnly(true);
  edit->setMinimumWidth(320);
  auto* open = new QPushButton(QStringLiteral("開く"), page);
  open->setObjectName(QStringLiteral("Button1"));
  connect(open, &QPushButton::clicked, this, [edit] {
    const std::string folder = edit->text().toStdString();
    // Without a file manager nothing would happen at all.
    if (!WindowSystem().OpenDocument(folder)) WindowSystem().Notify("データ保存フォルダを開けませんでした。\n" + folder);
  });
  auto* row = new QHBoxLayout;
  row->addWidget(edit);
  row->addWidget(open);
  auto* layout = new QVBoxLayout(page);
  auto* dataLabel = new QLabel(QStringLiteral("データ保存フォルダ（変更できません）"), page);
  dataLabel->setBuddy(edit);  // so a screen reader names the field
  layout->addWidget(dataLabel);
  layout->addLayout(row);

  m_backupFolder = new QLineEdit(QString::fromStdString(backupFolder), page);
  m_backupFolder->setObjectName(QStringLiteral("LEbackupdir"));
  m_backupFolder->setPlaceholderText(QStringLiteral("データ保存フォルダの「バックアップ」"));
  auto* browse = new QPushButton(QStringLiteral("参照…"), page);
  browse->setObjectName(QStringLiteral("ButtonBackupBrowse"));
  connect(browse, &QPushButton::clicked, this, [this] {
    const QString chosen = QFileDialog::getExistingDirectory(this, QStringLiteral("バックアップの置き場所"),
                                                             m_backupFolder->text());
    if (!chosen.isEmpty()) m_backupFolder->setText(chosen);
  });
  auto* backupRow = new QHBoxLayout;
  backupRow->addWidget(m_backupFolder);
  backupRow->addWidget(browse);
  auto* backupLabel = new QLabel(QStringLiteral("バックアップの置き場所（空欄なら既定の場所）"), page);
  backupLabel->setBuddy(m_backupFolder);
  layout->addWidget(backupLabel);
  layout->addLayout(backupRow);
  layout->addStretch();
  return page;
}

void TFmOption::ButtonSetUpAllClick() {
  const std::string folder = m_backupFolder->text().trimmed().toStdString();
  if (!folder.empty()) {
    const std::string refusal = CheckBackupFolder(folder);
    if (!refusal.empty()) {
      WindowSystem().Notify(refusal);
      m_pages->setCurrentIndex(2);
      m_backupFolder->setFocus();
      return;
    }
  }
  accept();
}

void TFmOption::SetPage(int page) { m_pages->setCurrentIndex(std::clamp(page, 0, m_pages->count() - 1)); }

TOptionSettings TFmOption::Settings() const {
  TOptionSettings settings;
  settings.selection = m_chooseFromList->isChecked();
  settings.openMonth = m_startMonthly->isChecked();
  settings.openToday = m_startDaily->isChecked();
  settings.calendar = m_startCalendar->isChecked();
  settings.enterToItem = m_enter[0]->isChecked();
  settings.enterToAmount = m_enter[1]->isChecked();
  settings.enterToAccount = m_enter[2]->isChecked();
  settings.enterToNote = m_enter[3]->isChecked();
  settings.backupFolder = m_backupFolder->text().trimmed().toStdString();
  return settings;
}

}  // namespace kzm::ui
