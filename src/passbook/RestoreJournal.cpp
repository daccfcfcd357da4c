#include "passbook/RestoreJournal.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "foundation/AtomicFile.h"
#include "foundation/DiskWrites.h"
#include "foundation/ProfileList.h"
#include "foundation/SystemErrors.h"
#include "foundation/ThisPc.h"

namespace kzm {

namespace fs = std::filesystem;

namespace {

std::string RecordPath(const std::string& passbookFolder) { return PcOwnPath(passbookFolder, kRestoreRecordFileName); }

enum class TKind : uint8_t { kMissing, kFolder, kOther };

TKind KindAt(const std::string& path) {
  struct stat status {};
  if (::lstat(path.c_str(), &status) != 0) return TKind::kMissing;
  return S_ISDIR(status.st_mode) ? TKind::kFolder : TKind::kOther;
}

std::string ParentOf(const std::string& path) { return path.substr(0, path.rfind('/')); }

// Removes folder and the folders under it when they hold nothing but folders. Links are never
// followed; a folder with anything else in it stays.
void RemoveEmptyFolders(const std::string& folder) {
  std::error_code error;
  std::vector<std::string> inner;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    if (it->symlink_status(error).type() == fs::file_type::directory) inner.push_back(it->path().string());
  }
  for (const std::string& path : inner) RemoveEmptyFolders(path);
  (void)::rmdir(folder.c_str());
}

// Makes the folders above relative in the passbook. A link or a file where a folder must be is
// refused: a link would carry the restored file out of the passbook.
bool MakeParents(const std::string& passbookFolder, const std::string& relative, TFolderSyncBatch& batch,
                 std::string& error) {
  for (size_t slash = relative.find('/'); slash != std::string::npos; slash = relative.find('/', slash + 1)) {
    const std::string folder = passbookFolder + "/" + relative.substr(0, slash);
    const TKind kind = KindAt(folder);
    if (kind == TKind::kFolder) continue;
    if (kind == TKind::kOther || ::mkdir(folder.c_str(), 0777) != 0) {
      error = folder + " (フォルダであるべき場所に、フォルダでないものがあります)";
      return false;
    }
    batch.Add(ParentOf(folder));
  }
  return true;
}

bool RemoveNamed(const std::string& passbookFolder, const std::vector<std::string>& remove, TFolderSyncBatch& batch,
                 std::string& error) {
  for (const std::string& relative : remove) {
    const std::string path = passbookFolder + "/" + relative;
    if (KindAt(path) != TKind::kOther) continue;
    if (::unlink(path.c_str()) != 0 && errno != ENOENT) {
      error = path + "\n" + SystemErrorText(errno);
      return false;
    }
    batch.Add(ParentOf(path));
  }
  // Folders that only held removed files go too, so that a file may take their place.
  for (const std::string& relative : remove) {
    const size_t slash = relative.find('/');
    if (slash != std::string::npos) RemoveEmptyFolders(passbookFolder + "/" + relative.substr(0, slash));
  }
  return true;
}

// The files under folder, as paths relative to root; only plain files and folders are there,
// as the stage is ours alone.
void StagedFiles(const std::string& root, const std::string& prefix, std::vector<std::string>& files) {
  std::error_code error;
  for (fs::directory_iterator it(root + (prefix.empty() ? "" : "/" + prefix), error), end; !error && it != end;
       it.increment(error)) {
    const std::string relative = (prefix.empty() ? "" : prefix + "/") + it->path().filename().string();
    const fs::file_type type = it->symlink_status(error).type();
    if (type == fs::file_type::directory) {
      StagedFiles(root, relative, files);
    } else if (type == fs::file_type::regular) {
      files.push_back(relative);
    }
  }
}

bool MoveStaged(const std::string& passbookFolder, TFolderSyncBatch& batch, std::string& error) {
  const std::string stage = RestoreStageFiles(passbookFolder);
  std::vector<std::string> files;
  StagedFiles(stage, "", files);
  for (const std::string& relative : files) {
    const std::string target = passbookFolder + "/" + relative;
    if (!MakeParents(passbookFolder, relative, batch, error)) return false;
    // An empty folder where a file goes back (a file the backup holds was a folder since).
    if (KindAt(target) == TKind::kFolder) RemoveEmptyFolders(target);
    DiskWrites().Note(TDiskStep::dsRename, target);
    if (std::rename((stage + "/" + relative).c_str(), target.c_str()) != 0) {
      error = target + "\n" + SystemErrorText(errno);
      return false;
    }
    batch.Add(ParentOf(target));
  }
  return true;
}

bool Finish(const std::string& passbookFolder, const TRestoreRecord& record, std::string& error) {
  TFolderSyncBatch batch;
  if (!RemoveNamed(passbookFolder, record.remove, batch, error) || !MoveStaged(passbookFolder, batch, error)) {
    return false;
  }
  batch.SyncFolders();
  // The record goes last: until then, a stop is finished at the next open.
  if (std::remove(RecordPath(passbookFolder).c_str()) != 0 && errno != ENOENT) {
    error = RecordPath(passbookFolder) + "\n" + SystemErrorText(errno);
    return false;
  }
  batch.Add(passbookFolder);
  batch.SyncFolders();
  DropRestoreStage(passbookFolder);
  return true;
}

TRestoreRecord ReadRecord(TprofileList& file) {
  TRestoreRecord record;
  record.from = file.ReadString("RESTORE", "FROM", "");
  record.before = file.ReadString("RESTORE", "BEFORE", "");
  record.file = file.ReadString("RESTORE", "FILE", "");
  const int count = file.ReadInteger("REMOVE", "COUNT", 0);
  for (int i = 1; i <= count; ++i) {
    std::string path = file.ReadString("REMOVE", std::to_string(i), "");
    if (!path.empty()) record.remove.push_back(std::move(path));
  }
  return record;
}

}  // namespace

std::string RestoreStageFolder(const std::string& passbookFolder) {
  const size_t slash = passbookFolder.rfind('/');
  const std::string parent = slash == std::string::npos ? "." : passbookFolder.substr(0, slash);
  return PcOwnPath(parent, "." + passbookFolder.substr(slash + 1) + ".restore");
}

std::string RestoreStageFiles(const std::string& passbookFolder) {
  return RestoreStageFolder(passbookFolder) + "/files";
}

void DropRestoreStage(const std::string& passbookFolder) {
  const std::string stage = RestoreStageFolder(passbookFolder);
  std::error_code ignored;
  // remove_all takes a link away without following it.
  if (KindAt(stage) != TKind::kMissing) fs::remove_all(stage, ignored);
}

bool SwapInRestore(const std::string& passbookFolder, const TRestoreRecord& record, std::string& error) {
  TprofileList file;
  file.WriteString("RESTORE", "FROM", record.from);
  file.WriteString("RESTORE", "BEFORE", record.before);
  file.WriteString("RESTORE", "FILE", record.file);
  file.WriteBool("RESTORE", "STAGED", true);
  file.WriteBool("RESTORE", "DONE", false);
  file.WriteInteger("REMOVE", "COUNT", static_cast<int32_t>(record.remove.size()));
  for (size_t i = 0; i < record.remove.size(); ++i) file.WriteString("REMOVE", std::to_string(i + 1), record.remove[i]);
  std::string why;
  if (!file.SaveToFile(RecordPath(passbookFolder), &why)) {
    DropRestoreStage(passbookFolder);
    error = "復元の記録を書けなかったので、復元しませんでした。\n" + why;
    return false;
  }
  if (Finish(passbookFolder, record, why)) return true;
  error = "復元の途中でファイルを置けませんでした。次に通帳を開くとき、続きをします。\n" + why;
  return false;
}

std::string SettleStoppedRestore(const std::string& passbookFolder) {
  if (passbookFolder.empty()) return {};
  TprofileList file;
  if (!file.LoadFromFile(RecordPath(passbookFolder))) {
    if (KindAt(RestoreStageFolder(passbookFolder)) == TKind::kMissing) return {};
    DropRestoreStage(passbookFolder);
    return "途中で止まった復元を取りやめました。通帳は復元の前のままです。";
  }
  const TRestoreRecord record = ReadRecord(file);
  if (file.ReadBool("RESTORE", "STAGED", false)) {
    std::string why;
    if (!Finish(passbookFolder, record, why)) {
      return "途中で止まった復元を終えられませんでした。次に開くとき、もう一度試みます。\n" + why;
    }
    return "途中で止まった復元を最後まで終えました (バックアップ " + record.from + ")。";
  }
  const bool done = file.ReadBool("RESTORE", "DONE", true);
  std::remove(RecordPath(passbookFolder).c_str());
  DropRestoreStage(passbookFolder);
  if (done) return {};
  // An earlier version wrote as it read, and its files are not staged: only the person can tell.
  return "以前に途中で止まった復元がありました。通帳の一部だけが戻っているかもしれません。\n"
         "バックアップ " + record.from + " からもう一度復元してください (復元の前の状態: " + record.before + ")。";
}

}  // namespace kzm
