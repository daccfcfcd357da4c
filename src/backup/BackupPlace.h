#pragma once

// Where the backups of the data folder's passbooks go: a folder of the user's choice, else
// "バックアップ" in the data folder, beside the passbooks (it holds no nbkr.ini, so the passbook
// list never takes it for one). Each passbook has a sub-folder named as the passbook.
//
// The choice is kept in a file of its own in the data folder, Backup.ini: [BACKUP] FOLDER,
// empty or missing for the default. Reads the program's data folder: call from the window
// thread, then hand the paths to a TBackupStore.

#include <string>

#include "backup/Backup.h"

namespace kzm {

inline constexpr const char* kBackupSettingsFileName = "Backup.ini";
inline constexpr const char* kDefaultBackupFolderName = "バックアップ";

// The folder chosen by the user, empty for the default.
[[nodiscard]] std::string ChosenBackupFolder();
// Stores the choice (empty: the default). False, with error, when the folder would lie
// inside a passbook or the setting could not be written.
bool ChooseBackupFolder(const std::string& folder, std::string& error);
// Moves the backups of a passbook that was renamed from oldFolder to newFolder along with it,
// so that they stay its own and a new passbook under the old name starts with none. A backup
// whose name the new folder holds already stays where it was. False, with error in Japanese,
// when one could not be moved.
bool KeepBackupsOfRenamed(const std::string& oldFolder, const std::string& newFolder, std::string& error);
// The store of the passbook at passbookFolder.
[[nodiscard]] TBackupStore BackupStoreOf(const std::string& passbookFolder, TBackupClock clock = {});

}  // namespace kzm
