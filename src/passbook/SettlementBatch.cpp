#include "passbook/SettlementBatch.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string_view>

#include "foundation/AtomicFile.h"
#include "foundation/DiskWrites.h"
#include "foundation/Files.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "foundation/ThisPc.h"
#include "foundation/WindowSystem.h"
#include "passbook/Profile.h"

namespace kzm {

std::string SettlementFilePath(TMonthKey key) {
  const std::string& folder = CurrentProfile().Folder();
  if (folder.empty()) return {};
  char name[32];
  std::snprintf(name, sizeof name, "%6.6d.mif", key);
  return folder + "/Monthly/" + name;
}

namespace {

std::string MonthlyFolder() { return CurrentProfile().Folder() + "/Monthly"; }
std::string PendingFolder() { return PcOwnPath(MonthlyFolder(), "pending"); }
std::string ReadyMarker() { return PendingFolder() + "/ready"; }

std::string NameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// The pending folder is ours alone. Anything else under its name (a stray file, a link to a
// folder elsewhere, whose files the batch would move or delete) is moved aside first.
bool PendingIsOurs(std::string& why) {
  struct stat st {};
  if (::lstat(PendingFolder().c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return true;
  const std::string aside = MonthlyFolder() + "/" + PcOwnName("pending") + ".stray";
  if (std::rename(PendingFolder().c_str(), aside.c_str()) == 0) return true;
  why = PendingFolder() + " (フォルダではないものがこの名前で置かれています)\n" + SystemErrorText(errno);
  return false;
}

bool PendingIsFolder() {
  struct stat st {};
  return ::lstat(PendingFolder().c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

void DropPending() {
  if (!PendingIsFolder()) return;
  std::vector<std::string> files;
  ListFiles(PendingFolder(), "*", files);
  for (const std::string& file : files) {
    if (file != ReadyMarker()) std::remove(file.c_str());
  }
  std::remove(ReadyMarker().c_str());
  ::rmdir(PendingFolder().c_str());
}

// Moves every pending file over its target. False (errno set) when one could not be moved;
// the others are moved all the same.
bool MovePending() {
  std::vector<std::string> files;
  ListFiles(PendingFolder(), "??????.mif", files);
  bool moved = true;
  for (const std::string& file : files) {
    const std::string target = MonthlyFolder() + "/" + NameOf(file);
    DiskWrites().Note(TDiskStep::dsRename, target);
    if (std::rename(file.c_str(), target.c_str()) != 0) moved = false;
  }
  TFolderSyncBatch renames;
  renames.Add(MonthlyFolder());
  renames.SyncFolders();
  return moved;
}

// A target that is anything but a plain file (a folder, say) would refuse the rename half-way.
bool TargetsTakeFiles(const std::vector<TSettlementFile>& files, std::string& why) {
  for (const TSettlementFile& file : files) {
    const std::string path = SettlementFilePath(file.key);
    if (FolderExists(path)) {
      why = path + "\n" + SystemErrorText(EISDIR);
      return false;
    }
  }
  return true;
}

// The files go down unsynced and the disk is synced once before the marker: a batch over
// hundreds of months costs a few syncs, not one per file.
bool WritePending(const std::vector<TSettlementFile>& files, std::string& why) {
  EnsureFolder(PendingFolder());
  if (!FolderExists(PendingFolder())) {
    why = PendingFolder() + "\n" + SystemErrorText(errno);
    return false;
  }
  for (const TSettlementFile& file : files) {
    if (!WriteFileUnsynced(PendingFolder() + "/" + NameOf(SettlementFilePath(file.key)), file.bytes, &why)) return false;
  }
  return SyncDiskOf(PendingFolder(), &why) && WriteFileAtomic(ReadyMarker(), "", &why);
}

}  // namespace

void FinishSettlementBatch() {
  std::string why;
  if (CurrentProfile().Folder().empty() || !PendingIsOurs(why) || !PendingIsFolder()) return;
  if (FileExists(ReadyMarker())) {
    if (!MovePending())
      WindowSystem().Notify("月の設定の書き込みを最後まで終えられませんでした。\n" + PendingFolder() + "\n" +
                            SystemErrorText(errno));
  }
  DropPending();
}

std::vector<std::pair<TMonthKey, std::string>> ReadyBatchFiles() {
  std::vector<std::pair<TMonthKey, std::string>> ready;
  if (CurrentProfile().Folder().empty() || !PendingIsFolder() || !FileExists(ReadyMarker())) return ready;
  std::vector<std::string> files;
  ListFiles(PendingFolder(), "??????.mif", files);
  for (const std::string& file : files) {
    int32_t key = 0;
    if (TryParseInt(NameOf(file).substr(0, 6), key)) ready.emplace_back(key, file);
  }
  return ready;
}

bool WriteSettlementsTogether(const std::vector<TSettlementFile>& files) {
  std::string why;
  EnsureFolder(MonthlyFolder());
  if (files.size() == 1) {
    if (WriteFileAtomic(SettlementFilePath(files.front().key), files.front().bytes, &why)) return true;
  } else {
    FinishSettlementBatch();
    if (PendingIsOurs(why) && TargetsTakeFiles(files, why) && WritePending(files, why)) {
      const bool moved = MovePending();
      const int error = errno;
      DropPending();
      if (moved) return true;
      why = MonthlyFolder() + "\n" + SystemErrorText(error);
    } else {
      DropPending();
    }
  }
  WindowSystem().Notify("月の設定を保存できませんでした。\n" + why);
  return false;
}

}  // namespace kzm
