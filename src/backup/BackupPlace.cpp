#include "backup/BackupPlace.h"

#include "foundation/AppGlobal.h"
#include "foundation/ProfileList.h"
#include "foundation/Text.h"

namespace kzm {

namespace {

std::string SettingsPath() {
  return AppGlobal().DataPath() + kBackupSettingsFileName;
}

std::string WithoutTrailingSlashes(std::string folder) {
  while (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return folder;
}

// The folder holding every passbook's backup folder.
std::string BackupRootFolder() {
  const std::string chosen = ChosenBackupFolder();
  return chosen.empty() ? AppGlobal().DataPath() + kDefaultBackupFolderName : chosen;
}

}  // namespace

std::string ChosenBackupFolder() {
  TprofileList settings;
  settings.LoadFromFile(SettingsPath());
  return WithoutTrailingSlashes(std::string(Trim(settings.ReadString("BACKUP", "FOLDER", ""))));
}

bool ChooseBackupFolder(const std::string& folder, std::string& error) {
  const std::string chosen = WithoutTrailingSlashes(std::string(Trim(folder)));
  if (!chosen.empty()) {
    error = CheckBackupFolder(chosen);
    if (!error.empty()) return false;
  }
  TprofileList settings;
  settings.LoadFromFile(SettingsPath());
  settings.WriteString("BACKUP", "FOLDER", chosen);
  return settings.SaveToFile(SettingsPath(), &error);
}

TBackupStore BackupStoreOf(const std::string& passbookFolder, TBackupClock clock) {
  const std::string folder = WithoutTrailingSlashes(passbookFolder);
  const std::string name = folder.substr(folder.rfind('/') + 1);
  return TBackupStore(folder, BackupRootFolder() + "/" + name, std::move(clock));
}

}  // namespace kzm
