#include "backup/BackupChoices.h"

#include <cstdio>

namespace kzm {

std::string BackupTimeText(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y/%m/%d %H:%M:%S", &local);
  return text;
}

std::string BackupWhenText(const TBackupStore& store, const std::string& path) {
  for (const TBackupInfo& info : store.List()) {
    if (info.path == path) return BackupTimeText(info.time);
  }
  return path.substr(path.rfind('/') + 1);
}

int ReadRestoreMonth(const std::string& text) {
  if (text.size() != 6 || text.find_first_not_of("0123456789") != std::string::npos) return 0;
  const int month = std::stoi(text);
  return month % 100 >= 1 && month % 100 <= 12 ? month : 0;
}

std::string RestoreTargetText(int month) {
  if (month == 0) return "通帳全体";
  return std::to_string(month / 100) + "年" + std::to_string(month % 100) + "月の記入";
}

std::string MonthMember(int month) {
  char name[32];
  std::snprintf(name, sizeof name, "Daily/%06d.kzm", month);
  return name;
}

std::vector<std::string> PassbookFilesAmong(const std::string& passbookFolder, const std::vector<std::string>& paths) {
  const std::string prefix = passbookFolder + "/";
  std::vector<std::string> files;
  for (const std::string& path : paths) {
    if (path.starts_with(prefix)) files.push_back(path.substr(prefix.size()));
  }
  return files;
}

}  // namespace kzm
