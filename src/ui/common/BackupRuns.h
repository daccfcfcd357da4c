#pragma once

// Backups taken by the program itself: the first opening of a passbook on a day, on a thread
// of its own beside the windows, and before a change to many entries, at once.

#include <string>
#include <thread>

#include "backup/Backup.h"

namespace kzm::ui {

// The day's first backup of a passbook. Start is called on the window thread; the backup
// then runs on its own thread over files only, so that the program starts without waiting.
// A failure or a file left out is told once the backup has ended.
class TDailyBackup {
 public:
  TDailyBackup() = default;
  ~TDailyBackup();
  TDailyBackup(const TDailyBackup&) = delete;
  TDailyBackup& operator=(const TDailyBackup&) = delete;

  // Backs the passbook up unless it was backed up for opening today already. Nothing without
  // a folder.
  void Start(const std::string& passbookFolder);
  // Waits for a backup that is running.
  void Wait();

 private:
  std::thread m_thread;
};

// Backs the open passbook up before a change to many entries. When that fails the user is
// asked whether to go on without it; false when the change should not be made.
bool BackupBeforeChange(TBackupReason reason);

}  // namespace kzm::ui
