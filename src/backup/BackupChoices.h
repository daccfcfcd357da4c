#pragma once

// What the backup window and the command line show and ask about backups: when one was
// taken, which month to restore and the file that holds it, and which damaged files of the
// passbook a backup could give back.

#include <ctime>
#include <string>
#include <vector>

#include "backup/Backup.h"

namespace kzm {

// "yyyy/mm/dd hh:mm:ss" in local time, as backups are listed.
[[nodiscard]] std::string BackupTimeText(std::time_t time);
// When the backup at path was taken, as listed; its file name when the store does not list it.
[[nodiscard]] std::string BackupWhenText(const TBackupStore& store, const std::string& path);

// The month typed as "yyyymm" (six digits, a month from 1 to 12); 0 for anything else.
[[nodiscard]] int ReadRestoreMonth(const std::string& text);
// What restoring month puts back, for the question before it: "2024年2月の記入", or
// "通帳全体" for month 0.
[[nodiscard]] std::string RestoreTargetText(int month);
// The file of a backup that holds month's entries: "Daily/202402.kzm".
[[nodiscard]] std::string MonthMember(int month);

// The paths that lie in the passbook folder, relative to it, in order; the others are left
// out (a backup of the passbook cannot give them back).
[[nodiscard]] std::vector<std::string> PassbookFilesAmong(const std::string& passbookFolder,
                                                          const std::vector<std::string>& paths);

}  // namespace kzm
