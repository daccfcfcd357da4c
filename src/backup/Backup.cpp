#include "backup/Backup.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string_view>
#include <system_error>

#include "backup/BackupArchive.h"
#include "backup/BackupComment.h"
#include "backup/BackupKeep.h"
#include "backup/BackupOwner.h"
#include "backup/BackupWalk.h"
#include "foundation/AtomicFile.h"
#include "foundation/DiskWrites.h"
#include "foundation/Files.h"
#include "foundation/SystemErrors.h"

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

// "起動", "項目の置換の前", "明細の取り込みの前", "定期的な記入の前", "復元の前", "手動".
const char* BackupReasonText(TBackupReason reason) {
  return NameOf(reason).text;
}

// libzip writes "<name>.XXXXXX" beside the file it makes, and a backup makes its zip as
// "<zip>.tmp<pid>-<thread>" before giving it its name: a process stopped half-way leaves
// either behind. Those of processes that are gone are removed.
void RemoveStaleZipTemps(const std::string& folder) {
  std::vector<std::string> files;
  if (!ListFiles(folder, "*.zip.tmp*", files)) return;
  for (const std::string& path : files) {
    const std::string name = FileNameOf(path);
    const long pid = std::strtol(name.c_str() + name.find(".zip.tmp") + 8, nullptr, 10);
    if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) std::remove(path.c_str());
  }
}

std::string TempZipPath(const std::string& folder) {
  return folder + "/backup.zip.tmp" + std::to_string(::getpid()) + "-" + std::to_string(::syscall(SYS_gettid));
}

// The members libzip wrote must be the files as they were measured: a file changed in
// between would otherwise go into the backup unlike its manifest.
bool MatchesManifest(const std::string& path, const TManifest& manifest, std::string& error) {
  TZipReader reader;
  if (!reader.Open(path, error)) return false;
  const std::vector<TZipMember> written = reader.Members();
  bool same = written.size() == manifest.members.size() + 1;
  for (size_t i = 0; same && i < manifest.members.size(); ++i) {
    const TZipMember& a = written[i];
    const TZipMember& b = manifest.members[i];
    same = a.name == b.name && a.size == b.size && a.crc == b.crc;
  }
  if (!same) error = "バックアップの途中で通帳のファイルが変わりました。もう一度バックアップしてください。";
  return same;
}

// Syncs the file at from and gives it the name to, which must not exist yet. 0, or the errno
// of what failed (EEXIST: to was taken meanwhile).
int PutInPlace(const std::string& from, const std::string& to, std::string& error) {
  DiskWrites().Note(TDiskStep::dsSyncFile, from);
  const int fd = ::open(from.c_str(), O_RDONLY | O_CLOEXEC);
  const bool synced = fd >= 0 && ::fsync(fd) == 0;
  const int syncError = errno;
  if (fd >= 0) ::close(fd);
  DiskWrites().Note(TDiskStep::dsRename, to);
  if (!synced || ::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
    const int failure = synced ? errno : syncError;
    error = to + "\n" + SystemErrorText(failure);
    return failure;
  }
  TFolderSyncBatch batch;
  batch.Add(to.substr(0, to.rfind('/')));
  return 0;
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
  // A passbook that cannot hold its id is still backed up; its backups then name no owner.
  std::string idError;
  TManifest manifest{PassbookIdOf(m_passbookFolder, idError), {}};
  std::vector<TPassbookFile> files;
  CollectPassbookFiles(m_passbookFolder, files, outcome.unreadable);
  if (files.empty()) {
    outcome.message = "バックアップできるファイルがありませんでした: " + m_passbookFolder;
    if (!outcome.unreadable.empty()) outcome.message += "\n" + UnreadableMessage(outcome.unreadable);
    return outcome;
  }
  EnsureFolder(m_backupFolder);
  RemoveStaleTempFiles(m_backupFolder);
  RemoveStaleZipTemps(m_backupFolder);
  const std::string temp = TempZipPath(m_backupFolder);
  const std::string text = reasonText.empty() ? BackupReasonText(reason) : reasonText;
  TZipWriter writer;
  bool written = writer.Open(temp, outcome.message);
  for (size_t i = 0; written && i < files.size(); ++i) {
    const TPassbookFile& file = files[i];
    manifest.members.push_back({file.name, 0, file.size, file.crc});
    written = writer.AddFile(file.name, file.path, file.size, file.modified, outcome.message);
  }
  written = written && writer.AddBytes(kManifestName, ManifestText(manifest), outcome.message) &&
            writer.Close(MakeComment(text, outcome.unreadable), outcome.message) &&
            MatchesManifest(temp, manifest, outcome.message);
  // Two backups in one second (a thread of the window and a change) each get a name.
  for (int tries = 0; written && tries < 100; ++tries) {
    outcome.path = NewBackupPath(reason, Now());
    const int failure = PutInPlace(temp, outcome.path, outcome.message);
    if (failure == 0) break;
    if (failure != EEXIST) written = false;
    outcome.path.clear();
  }
  if (!written || outcome.path.empty()) {
    std::remove(temp.c_str());
    outcome.message = "バックアップを書けませんでした。\n" + outcome.message;
    outcome.path.clear();
    return outcome;
  }
  outcome.ok = true;
  outcome.files = static_cast<int>(files.size());
  outcome.message.clear();
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

std::string TBackupStore::NewestReadableCopy(const std::string& file) const {
  for (const TBackupInfo& info : List()) {
    TZipReader reader;
    std::string bytes, ignored;
    if (reader.Open(info.path, ignored) && reader.Read(file, bytes, ignored)) return info.path;
  }
  return {};
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
