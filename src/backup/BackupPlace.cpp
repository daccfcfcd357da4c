#include "backup/BackupPlace.h"

#include <cerrno>
#include <cstdio>
#include <vector>

#include "foundation/Files.h"
#include "foundation/SystemErrors.h"

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

bool KeepBackupsOfRenamed(const std::string& oldFolder, const std::string& newFolder, std::string& error) {
  const std::string from = BackupStoreOf(oldFolder).BackupFolder();
  const std::string to = BackupStoreOf(newFolder).BackupFolder();
  if (from == to || !FolderExists(from)) return true;
  if (!FolderExists(to) && std::rename(from.c_str(), to.c_str()) == 0) return true;
  EnsureFolder(to);
  std::vector<std::string> zips;
  ListFiles(from, "*.zip", zips);
  for (const std::string& path : zips) {
    const std::string target = to + path.substr(path.rfind('/'));
    if (FileExists(target)) continue;
    if (std::rename(path.c_str(), target.c_str()) != 0) {
      error = "通帳の名前を変えましたが、バックアップを移せませんでした: " + path + "\n" + SystemErrorText(errno);
      return false;
    }
  }
  return true;
}

}  // namespace kzm
