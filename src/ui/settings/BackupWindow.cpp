#include "ui/settings/BackupWindow.h"

#include <QDesktopServices>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include <string>

#include "backup/BackupChoices.h"
#include "backup/BackupPlace.h"
#include "controls/UiBasics.h"
#include "foundation/Files.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/CarryRun.h"
#include "ui/common/Openers.h"

namespace kzm::ui {

namespace {

QString SizeText(int64_t bytes) {
  if (bytes < 1024) return QString::fromUtf8("%1 バイト").arg(bytes);
  return QString::fromUtf8("%1 KB").arg(QString::fromStdString(FormatThousands((bytes + 1023) / 1024)));
}

QPushButton* AddButton(QBoxLayout* row, const char* name, const char* caption) {
  QPushButton* button = NewButton(caption, name, nullptr);
  row->addWidget(button);
  return button;
}

}  // namespace

TFmBackup::TFmBackup(QWidget* parent) : QDialog(parent), m_store(BackupStoreOf(CurrentProfile().Folder())) {
  setObjectName(QStringLiteral("FmBackup"));
  setWindowTitle(QString::fromUtf8("バックアップと復元 - ") + QString::fromStdString(CurrentProfile().Name()));
  CreateControls();
  FillList();
  QTimer::singleShot(0, this, &TFmBackup::OfferReadableCopies);
}

void TFmBackup::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  auto* where = new QLabel(QString::fromUtf8("置き場所: ") + QString::fromStdString(m_store.BackupFolder()));
  where->setTextInteractionFlags(Qt::TextSelectableByMouse);
  layout->addWidget(where);
  m_list = new QTreeWidget;
  m_list->setObjectName(QStringLiteral("ListBackups"));
  m_list->setAccessibleName(QStringLiteral("バックアップの一覧"));
  m_list->setRootIsDecorated(false);
  m_list->setHeaderLabels({QString::fromUtf8("日時"), QString::fromUtf8("理由"), QString::fromUtf8("大きさ")});
  m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  m_list->setMinimumSize(480, 260);
  layout->addWidget(m_list);

  auto* wholeRow = new QHBoxLayout;
  connect(AddButton(wholeRow, "ButtonBackup", "今すぐバックアップ(&B)"), &QPushButton::clicked, this,
          &TFmBackup::ButtonBackupClick);
  connect(AddButton(wholeRow, "ButtonRestore", "復元(&R)…"), &QPushButton::clicked, this,
          &TFmBackup::ButtonRestoreClick);
  connect(AddButton(wholeRow, "ButtonOpenFolder", "フォルダを開く(&F)"), &QPushButton::clicked, this,
          &TFmBackup::ButtonOpenFolderClick);
  layout->addLayout(wholeRow);

  auto* monthRow = new QHBoxLayout;
  monthRow->addWidget(new QLabel(QString::fromUtf8("ひと月だけ (年月 YYYYMM):")));
  m_month = new QLineEdit;
  m_month->setObjectName(QStringLiteral("EditMonth"));
  m_month->setAccessibleName(QStringLiteral("ひと月だけ復元する年月"));
  m_month->setInputMask(QStringLiteral("999999"));
  m_month->setMaximumWidth(90);
  monthRow->addWidget(m_month);
  connect(AddButton(monthRow, "ButtonRestoreMonth", "この月だけ復元(&M)…"), &QPushButton::clicked, this,
          &TFmBackup::ButtonRestoreMonthClick);
  monthRow->addStretch();
  connect(AddButton(monthRow, "ButtonClose", "閉じる"), &QPushButton::clicked, this, &QDialog::accept);
  layout->addLayout(monthRow);
}

void TFmBackup::FillList() {
  m_list->clear();
  for (const TBackupInfo& info : m_store.List()) {
    auto* item = new QTreeWidgetItem(m_list, {Q(BackupTimeText(info.time)), Q(info.reasonText),
                                              SizeText(info.size)});
    item->setData(0, Qt::UserRole, QString::fromStdString(info.path));
    item->setTextAlignment(2, Qt::AlignRight | Qt::AlignVCenter);
  }
  if (m_list->topLevelItemCount() > 0) m_list->setCurrentItem(m_list->topLevelItem(0));
}

std::string TFmBackup::SelectedBackup() const {
  const QTreeWidgetItem* item = m_list->currentItem();
  return item ? item->data(0, Qt::UserRole).toString().toStdString() : std::string();
}

void TFmBackup::ButtonBackupClick() {
  // What the open windows hold belongs in the copy.
  CurrentMonthData().Save();
  CurrentProfile().Save();
  const TBackupOutcome outcome = m_store.Take(TBackupReason::brManual);
  if (!outcome.message.empty()) WindowSystem().Notify(outcome.message);
  FillList();
}

void TFmBackup::ButtonRestoreClick() {
  RestoreSelected(0);
}

void TFmBackup::ButtonRestoreMonthClick() {
  const int month = ReadRestoreMonth(m_month->text().toStdString());
  if (month == 0) {
    WindowSystem().Notify("復元する月を、年月 (例 202412) で入れてください。");
    m_month->setFocus();
    return;
  }
  RestoreSelected(month);
}

void TFmBackup::RestoreSelected(int month) {
  const std::string backup = SelectedBackup();
  if (backup.empty()) {
    WindowSystem().Notify("復元するバックアップを一覧から選んでください。");
    return;
  }
  const QTreeWidgetItem* item = m_list->currentItem();
  const std::string when = item->text(0).toStdString();
  if (!WindowSystem().AskYesNo(RestoreTargetText(month) + "を " + when + " のバックアップの状態に戻します。\n" +
                               "今の状態は先にバックアップします。よろしいですか?")) {
    return;
  }
  RunRestore(backup, month == 0 ? std::string() : MonthMember(month));
}

void TFmBackup::RunRestore(const std::string& backup, const std::string& file) {
  // The windows save what is typed in them as they close; memory is then written out, so the
  // backup taken before the restore holds everything.
  if (!WindowSystem().CloseDataWindows()) return;
  if (!CurrentMonthData().Save() || !CurrentProfile().Save()) return;
  TRestoreOutcome outcome = m_store.Restore(backup, file);
  // Another passbook's backup only when the person says so.
  if (outcome.otherPassbook &&
      WindowSystem().AskYesNo(outcome.message + "\nこの通帳をそのバックアップの状態に置き換えてよろしいですか?")) {
    outcome = m_store.Restore(backup, file, true);
  }
  // Whatever happened, memory must show the files as they are now; a restored month carries
  // its balances forward as it opens.
  OpenPassbookCarried(m_store.PassbookFolder());
  FillList();
  if (!outcome.ok) {
    if (!outcome.otherPassbook) WindowSystem().Notify(outcome.message);
    return;
  }
  WindowSystem().Inform("復元しました。復元の前の状態は「復元の前」のバックアップにあります。");
}

void TFmBackup::OfferReadableCopies() {
  for (const std::string& file : PassbookFilesAmong(m_store.PassbookFolder(), CurrentMonthData().ReadFailures())) {
    const std::string copy = m_store.NewestReadableCopy(file);
    if (copy.empty()) continue;
    if (WindowSystem().AskYesNo("「" + file + "」が読めません。\n" + BackupWhenText(m_store, copy) +
                                " のバックアップに読めるコピーがあります。このファイルだけ戻しますか?")) {
      RunRestore(copy, file);
    }
  }
}

void TFmBackup::ButtonOpenFolderClick() {
  EnsureFolder(m_store.BackupFolder());
  QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(m_store.BackupFolder())));
}

void OpenBackups(QWidget* parent) {
  if (CurrentProfile().Folder().empty()) return;
  TFmBackup window(parent);
  window.exec();
}

}  // namespace kzm::ui
