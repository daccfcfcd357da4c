#include "ui/common/BackupRuns.h"

#include <QApplication>
#include <QMetaObject>

#include "backup/BackupPlace.h"
#include "foundation/WindowSystem.h"
#include "passbook/Profile.h"

namespace kzm::ui {

TDailyBackup::~TDailyBackup() {
  Wait();
}

void TDailyBackup::Start(const std::string& passbookFolder) {
  if (passbookFolder.empty()) return;
  Wait();
  // Where the backups go is read here, on the window thread; the thread touches files only.
  m_thread = std::thread([store = BackupStoreOf(passbookFolder)]() mutable {
    if (store.OpenedToday()) return;
    const TBackupOutcome outcome = store.Take(TBackupReason::brOpen);
    if (outcome.message.empty()) return;
    const std::string text = (outcome.ok ? "" : "起動のときのバックアップができませんでした。\n") + outcome.message;
    QMetaObject::invokeMethod(qApp, [text] { WindowSystem().Notify(text); }, Qt::QueuedConnection);
  });
}

void TDailyBackup::Wait() {
  if (m_thread.joinable()) m_thread.join();
}

bool BackupBeforeChange(TBackupReason reason) {
  const std::string& folder = CurrentProfile().Folder();
  if (folder.empty()) return true;
  TBackupStore store = BackupStoreOf(folder);
  const TBackupOutcome outcome = store.Take(reason);
  if (outcome.ok) {
    if (!outcome.message.empty()) WindowSystem().Notify(outcome.message);
    return true;
  }
  return WindowSystem().AskYesNo("変更の前のバックアップができませんでした。\n" + outcome.message +
                                 "\n\nバックアップなしで続けますか?");
}

}  // namespace kzm::ui
