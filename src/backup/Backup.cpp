#include "backup/Backup.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <string_view>
#include <system_error>

#include "backup/BackupArchive.h"
#include "backup/BackupChoices.h"
#include "backup/BackupKeep.h"
#include "backup/BackupWalk.h"
#include "foundation/AtomicFile.h"
#include "foundation/Files.h"
#include "foundation/ProfileList.h"

namespace kzm {

namespace fs = std::filesystem;

namespace {

struct TReasonName {
  TBackupReason reason;
  const char* code;  // in file names
  const char* text;  // for the user
};

constexpr TReasonName kReasons[] = {
    {TBackupReason::brOpen, "open", "起動"},
    {TBackupReason::brReplace, "replace", "項目の置換の前"},
    {TBackupReason::brImport, "import", "明細の取り込みの前"},
    {TBackupReason::brRecurring, "recurring", "定期的な記入の前"},
    {TBackupReason::brRestore, "restore", "復元の前"},
    {TBackupReason::brManual, "manual", "手動"},
};

const TReasonName& NameOf(TBackupReason reason) {
  for (const TReasonName& name : kReasons) {
    if (name.reason == reason) return name;
  }
  return kReasons[std::size(kReasons) - 1];
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// Reads "yyyymmdd-hhmmss-<code>[-n].zip"; false for any other name.
bool ParseBackupName(std::string_view name, std::time_t& time, TBackupReason& reason) {
  if (name.size() < 21 || !name.ends_with(".zip") || name[8] != '-' || name[15] != '-') return false;
  if (!IsDigits(name.substr(0, 8)) || !IsDigits(name.substr(9, 6))) return false;
  std::string_view code = name.substr(16, name.size() - 20);
  if (const size_t dash = code.find('-'); dash != std::string_view::npos) {
    if (!IsDigits(code.substr(dash + 1))) return false;
    code = code.substr(0, dash);
  }
  const auto found = std::find_if(std::begin(kReasons), std::end(kReasons),
                                  [&](const TReasonName& r) { return code == r.code; });
  if (found == std::end(kReasons)) return false;
  const auto number = [&](size_t at, size_t length) { return std::stoi(std::string(name.substr(at, length))); };
  std::tm local{};
  local.tm_year = number(0, 4) - 1900;
  local.tm_mon = number(4, 2) - 1;
  local.tm_mday = number(6, 2);
  local.tm_hour = number(9, 2);
  local.tm_min = number(11, 2);
  local.tm_sec = number(13, 2);
  local.tm_isdst = -1;
  time = std::mktime(&local);
  reason = found->reason;
  return time != static_cast<std::time_t>(-1);
}

std::string FileNameOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The comment's values of key, in order.
std::vector<std::string> CommentValues(const std::string& comment, std::string_view key) {
  std::vector<std::string> values;
  size_t start = 0;
  while (start < comment.size()) {
    size_t end = comment.find('\n', start);
    if (end == std::string::npos) end = comment.size();
    const std::string_view line(comment.data() + start, end - start);
    if (line.size() > key.size() && line.starts_with(key) && line[key.size()] == '\t') {
      values.emplace_back(line.substr(key.size() + 1));
    }
    start = end + 1;
  }
  return values;
}

std::string MakeComment(const std::string& reasonText, const std::vector<std::string>& unreadable) {
  std::string comment = "reason\t" + reasonText + "\n";
  for (const std::string& path : unreadable) comment += "unreadable\t" + path + "\n";
  return comment;
}

std::string UnreadableMessage(const std::vector<std::string>& unreadable) {
  std::string text = "読めないファイルがあったので、バックアップに入れられませんでした (ほかのファイルは入れました):";
  for (const std::string& path : unreadable) text += "\n  " + path;
  return text;
}

// "起動", "項目の置換の前", "明細の取り込みの前", "定期的な記入の前", "復元の前", "手動".
const char* BackupReasonText(TBackupReason reason) {
  return NameOf(reason).text;
}

}  // namespace

TBackupStore::TBackupStore(std::string passbookFolder, std::string backupFolder, TBackupClock clock)
    : m_passbookFolder(std::move(passbookFolder)), m_backupFolder(std::move(backupFolder)), m_clock(std::move(clock)) {}

std::time_t TBackupStore::Now() const {
  return m_clock ? m_clock() : std::time(nullptr);
}

std::string TBackupStore::NewBackupPath(TBackupReason reason, std::time_t now) const {
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
  const std::string base = m_backupFolder + "/" + stamp + "-" + NameOf(reason).code;
  std::string path = base + ".zip";
  for (int n = 2; FileExists(path); ++n) path = base + "-" + std::to_string(n) + ".zip";
  return path;
}

TBackupOutcome TBackupStore::Take(TBackupReason reason, const std::string& reasonText) {
  return TakeKeeping(reason, reasonText, {});
}

TBackupOutcome TBackupStore::TakeKeeping(TBackupReason reason, const std::string& reasonText,
                                         const std::string& keep) {
  TBackupOutcome outcome;
  if (std::string why = CheckBackupFolder(m_backupFolder); !why.empty()) {
    outcome.message = std::move(why);
    return outcome;
  }
  if (!FolderExists(m_passbookFolder)) {
    outcome.message = "通帳のフォルダがありません: " + m_passbookFolder;
    return outcome;
  }
  std::vector<TBackupMember> members;
  CollectPassbookFiles(m_passbookFolder, members, outcome.unreadable);
  if (members.empty()) {
    outcome.message = "バックアップできるファイルがありませんでした: " + m_passbookFolder;
    if (!outcome.unreadable.empty()) outcome.message += "\n" + UnreadableMessage(outcome.unreadable);
    return outcome;
  }
  std::string zipBytes;
  const std::string text = reasonText.empty() ? BackupReasonText(reason) : reasonText;
  if (!BuildZip(members, MakeComment(text, outcome.unreadable), zipBytes, outcome.message)) return outcome;
  EnsureFolder(m_backupFolder);
  // What a backup killed half-way left: never under a backup's name, so only tidied here.
  RemoveStaleTempFiles(m_backupFolder);
  const std::time_t now = Now();
  outcome.path = NewBackupPath(reason, now);
  if (!WriteFileAtomic(outcome.path, zipBytes, &outcome.message)) {
    outcome.message = "バックアップを書けませんでした。\n" + outcome.message;
    outcome.path.clear();
    return outcome;
  }
  outcome.ok = true;
  outcome.files = static_cast<int>(members.size());
  if (!outcome.unreadable.empty()) outcome.message = UnreadableMessage(outcome.unreadable);
  Prune(keep);
  return outcome;
}

std::vector<TBackupInfo> TBackupStore::List() const {
  std::vector<TBackupInfo> backups;
  std::vector<std::string> files;
  if (!ListFiles(m_backupFolder, "*.zip", files)) return backups;
  for (std::string& path : files) {
    TBackupInfo info;
    if (!ParseBackupName(FileNameOf(path), info.time, info.reason)) continue;
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
    info.size = status.st_size;
    info.reasonText = BackupReasonText(info.reason);
    // Only a backup by hand may carry a reason of its own; the others need not be opened.
    TZipReader reader;
    std::string ignored;
    if (info.reason == TBackupReason::brManual && reader.Open(path, ignored)) {
      const std::vector<std::string> given = CommentValues(reader.Comment(), "reason");
      if (!given.empty() && !given[0].empty()) info.reasonText = given[0];
    }
    info.path = std::move(path);
    backups.push_back(std::move(info));
  }
  std::sort(backups.begin(), backups.end(), [](const TBackupInfo& a, const TBackupInfo& b) {
    return a.time != b.time ? a.time > b.time : a.path > b.path;
  });
  return backups;
}

bool TBackupStore::OpenedToday() const {
  const std::time_t now = Now();
  std::tm today{};
  localtime_r(&now, &today);
  for (const TBackupInfo& info : List()) {
    if (info.reason != TBackupReason::brOpen) continue;
    std::tm taken{};
    localtime_r(&info.time, &taken);
    if (taken.tm_year == today.tm_year && taken.tm_yday == today.tm_yday) return true;
  }
  return false;
}

int TBackupStore::Prune(const std::string& keep) {
  const std::vector<TBackupInfo> backups = List();
  std::vector<TKeepCandidate> candidates;
  for (const TBackupInfo& info : backups) {
    candidates.push_back({info.time, info.reason != TBackupReason::brOpen});
  }
  const std::vector<bool> kept = BackupsToKeep(candidates, Now());
  int removed = 0;
  for (size_t i = 0; i < backups.size(); ++i) {
    std::error_code ignored;
    if (!kept[i] && backups[i].path != keep && fs::remove(backups[i].path, ignored)) ++removed;
  }
  return removed;
}

bool TBackupStore::Restore(const std::string& backupPath, int month, std::string& error, std::string* before) {
  return RestoreFile(backupPath, month == 0 ? std::string() : MonthMember(month), error, before);
}

std::string TBackupStore::NewestReadableCopy(const std::string& file) const {
  for (const TBackupInfo& info : List()) {
    TZipReader reader;
    std::string bytes, ignored;
    if (reader.Open(info.path, ignored) && reader.Read(file, bytes, ignored)) return info.path;
  }
  return {};
}

bool TBackupStore::RestoreFile(const std::string& backupPath, const std::string& file, std::string& error,
                               std::string* before) {
  // The backup is checked before anything changes.
  TZipReader reader;
  if (!reader.Open(backupPath, error)) return false;
  const std::vector<std::string> names = reader.Names();
  if (!file.empty() && std::find(names.begin(), names.end(), file) == names.end()) {
    error = "このバックアップには " + file + " がありません。";
    return false;
  }
  for (const std::string& name : names) {
    if (!IsSafeMemberName(name)) {
      error = "バックアップに通帳の外を指すファイル名があるので、復元しませんでした: " + name;
      return false;
    }
  }
  // The backup restored from stays, whatever the keep rules say of it.
  const TBackupOutcome saved = TakeKeeping(TBackupReason::brRestore, {}, backupPath);
  if (!saved.ok) {
    error = "今の状態をバックアップできなかったので、復元しませんでした。\n" + saved.message;
    return false;
  }
  if (before) *before = saved.path;
  // A file that could not be saved would be lost by a whole restore.
  if (file.empty() && !saved.unreadable.empty()) {
    error = "今の通帳に読めないファイルがあり、復元すると失われるので、復元しませんでした。\n" +
            UnreadableMessage(saved.unreadable);
    return false;
  }
  TprofileList record;
  record.WriteString("RESTORE", "FROM", backupPath);
  record.WriteString("RESTORE", "BEFORE", saved.path);
  record.WriteString("RESTORE", "FILE", file);
  record.WriteBool("RESTORE", "DONE", false);
  const std::string recordPath = m_passbookFolder + "/" + kRestoreRecordFileName;
  std::string why;
  if (!record.SaveToFile(recordPath, &why)) {
    error = "復元の記録を書けなかったので、復元しませんでした。\n" + why;
    return false;
  }
  if (!WriteBack(backupPath, file, error)) return false;
  record.WriteBool("RESTORE", "DONE", true);
  if (!record.SaveToFile(recordPath, &why)) {
    error = "復元はできましたが、その記録を書けませんでした。\n" + why;
    return false;
  }
  return true;
}

bool TBackupStore::FinishStoppedRestore(std::string& error) {
  const std::string recordPath = m_passbookFolder + "/" + kRestoreRecordFileName;
  TprofileList record;
  if (!record.LoadFromFile(recordPath) || record.ReadBool("RESTORE", "DONE", true)) return true;
  const std::string from = record.ReadString("RESTORE", "FROM", "");
  const std::string file = record.ReadString("RESTORE", "FILE", "");
  if (!WriteBack(from, file, error)) return false;
  record.WriteBool("RESTORE", "DONE", true);
  std::string why;
  if (!record.SaveToFile(recordPath, &why)) {
    error = "復元の記録を書けませんでした。\n" + why;
    return false;
  }
  return true;
}

bool TBackupStore::WriteBack(const std::string& backupPath, const std::string& file, std::string& error) {
  TZipReader reader;
  if (!reader.Open(backupPath, error)) return false;
  std::vector<std::string> names = file.empty() ? reader.Names() : std::vector<std::string>{file};
  std::set<std::string> restored;
  for (const std::string& name : names) {
    if (!IsSafeMemberName(name)) {
      error = "バックアップに通帳の外を指すファイル名があります: " + name;
      return false;
    }
    std::string bytes;
    if (!reader.Read(name, bytes, error)) return false;
    const std::string path = m_passbookFolder + "/" + name;
    EnsureFolder(path.substr(0, path.rfind('/')));
    if (!WriteFileAtomic(path, bytes, &error)) {
      error = "復元の途中でファイルを書けませんでした。もう一度復元してください。\n" + error;
      return false;
    }
    restored.insert(name);
  }
  if (!file.empty()) return true;
  // Files the backup could not read were left where they were; keep them.
  for (const std::string& path : CommentValues(reader.Comment(), "unreadable")) restored.insert(path);
  return RemoveFilesOtherThan(m_passbookFolder, restored, error);
}

std::string CheckBackupFolder(const std::string& folder) {
  if (folder.empty()) return "バックアップのフォルダが決まっていません。";
  std::error_code ignored;
  fs::path path = fs::weakly_canonical(fs::absolute(fs::path(folder), ignored), ignored);
  for (;;) {
    if (FileExists((path / "nbkr.ini").string())) {
      return "バックアップのフォルダが通帳のフォルダの中にあります。ほかのフォルダにしてください: " + folder;
    }
    if (!path.has_parent_path() || path.parent_path() == path) return {};
    path = path.parent_path();
  }
}

}  // namespace kzm
