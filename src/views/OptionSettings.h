#pragma once

// The settings of the options window: which passbook opens at start (application.ini) and,
// for the open passbook, the windows it opens with and the Enter-key path of the daily grid;
// and where backups go (Backup.ini, see BackupPlace.h).

#include <string>

namespace kzm {

struct TOptionSettings {
  bool selection = false;  // STARTUP/SELECTION: choose from the list at every start
  bool openMonth = false;
  bool openToday = false;
  bool calendar = false;
  bool enterToItem = true;
  bool enterToAmount = true;
  bool enterToAccount = true;
  bool enterToNote = true;
  std::string backupFolder;  // empty: "バックアップ" in the data folder
};

// The settings as they are now (application.ini and CurrentProfile()).
[[nodiscard]] TOptionSettings ReadOptionSettings();
// Writes SELECTION to application.ini at once, the backup folder to Backup.ini, and the rest
// into CurrentProfile(), then saves it. False when something could not be written or the
// backup folder lies inside a passbook; the user has been told.
bool StoreOptionSettings(const TOptionSettings& settings);

}  // namespace kzm
