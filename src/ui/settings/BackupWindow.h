#pragma once

// TFmBackup: バックアップと復元. The open passbook's backups, newest first, with their time,
// reason and size; a backup taken now; a whole passbook or one month's file put back; the
// backup folder opened in the file manager.

#include <QDialog>

#include <string>

#include "backup/Backup.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace kzm::ui {

class TFmBackup : public QDialog {
  Q_OBJECT

 public:
  // Offers readable copies of damaged month files once the window's loop runs.
  explicit TFmBackup(QWidget* parent = nullptr);

  // The backup selected in the list; empty when none.
  [[nodiscard]] std::string SelectedBackup() const;

 private:
  void CreateControls();
  void FillList();
  void ButtonBackupClick();
  void ButtonRestoreClick();
  void ButtonRestoreMonthClick();
  void ButtonOpenFolderClick();
  // The selected backup put back, whole (month 0) or one month's file, after the user agreed.
  void RestoreSelected(int month);
  // Closes the data windows through their saving path, stores what memory holds, restores
  // backup (file: one file of it, empty for all), and opens the passbook again from its files.
  void RunRestore(const std::string& backup, const std::string& file);
  // For each month file of the passbook that could not be read, offers the newest backup
  // holding a readable copy.
  void OfferReadableCopies();

  TBackupStore m_store;
  QTreeWidget* m_list = nullptr;
  QLineEdit* m_month = nullptr;
};

}  // namespace kzm::ui
