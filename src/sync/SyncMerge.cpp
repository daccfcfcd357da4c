#include "sync/SyncMerge.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <map>

#include "backup/BackupPlace.h"
#include "foundation/AtomicFile.h"
#include "foundation/Files.h"
#include "foundation/OwnFiles.h"
#include "foundation/WindowSystem.h"
#include "passbook/CarryJournal.h"
#include "passbook/MonthFile.h"
#include "passbook/PerPcState.h"
#include "passbook/RestoreJournal.h"
#include "settlement/CarryRun.h"
#include "sync/ConflictNames.h"
#include "sync/FileMerges.h"

namespace kzm {

namespace {

// The folders of a passbook that hold files two PCs change.
constexpr const char* kPlaces[] = {"", "Daily", "Monthly"};

struct TCopy {
  std::string relative;
  std::string made;
};

// The names in folder that may be conflict copies (both engines' marks hold "conflict"). A
// plain readdir without looking at each file: this runs at every open, over hundreds of months.
std::vector<std::string> ConflictLikeNames(const std::string& folder) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return names;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name.find("conflict") != std::string_view::npos && (entry->d_type == DT_REG || entry->d_type == DT_UNKNOWN)) {
      names.emplace_back(name);
    }
  }
  ::closedir(dir);
  return names;
}

// The conflict copies of each file (relative path), oldest first. Links are left alone: one
// could lead out of the passbook.
std::map<std::string, std::vector<TCopy>> FindCopies(const std::string& folder) {
  std::map<std::string, std::vector<TCopy>> groups;
  for (const std::string place : kPlaces) {
    const std::string prefix = place.empty() ? place : place + "/";
    for (const std::string& name : ConflictLikeNames(folder + "/" + prefix)) {
      std::string original;
      std::string made;
      struct stat status {};
      if (!ParseConflictName(name, original, made)) continue;
      if (::lstat((folder + "/" + prefix + name).c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
      groups[prefix + original].push_back({prefix + name, made});
    }
  }
  for (auto& [file, copies] : groups) {
    std::sort(copies.begin(), copies.end(), [](const TCopy& a, const TCopy& b) { return a.made < b.made; });
  }
  return groups;
}

int64_t ChangedAt(const std::string& path) {
  struct stat status {};
  return ::stat(path.c_str(), &status) == 0 ? status.st_mtim.tv_sec * 1000000000LL + status.st_mtim.tv_nsec : 0;
}

// What becomes of one file: the bytes to put in (none: the file stays as it is), the copies
// to remove, the months to build again, the base to keep.
struct TFilePlan {
  TMergedFile outcome;
  bool write = false;
  std::string bytes;
  std::vector<std::string> remove;
  std::set<TMonthKey> carry;
  bool keepBase = false;
  std::string base;
};

TMonthKey MonthOfName(const std::string& relative) {
  const std::string name = relative.substr(relative.rfind('/') + 1);
  if (name.size() < 6 || name.find_first_not_of("0123456789") < 6) return 0;
  return std::stoi(name.substr(0, 6));
}

bool PlanFile(const std::string& folder, const std::string& relative, const std::vector<TCopy>& copies,
              TFilePlan& plan, std::string& error) {
  plan.outcome.file = relative;
  plan.outcome.copies = static_cast<int>(copies.size());
  const TFileKind kind = KindOfFile(relative);
  if (kind == TFileKind::fkSettlement) {
    for (const TCopy& copy : copies) plan.remove.push_back(copy.relative);
    if (const TMonthKey month = MonthOfName(relative)) plan.carry.insert(month);
    plan.outcome.kept = "決算のファイルは統合せず、記入から作り直します。";
    return true;
  }
  if (kind == TFileKind::fkUnknown) {
    plan.outcome.kept = "このPCの版をそのまま残しました。";
    plan.outcome.needsPerson = "統合のしかたが分からないファイルです。写し「" + copies.front().relative +
                               "」と見比べ、要らないほうを消してください。";
    return true;
  }
  const std::string path = folder + "/" + relative;
  std::string ours;
  if (!ReadOwnFile(path, kMaxMonthFileSize, "", ours, error)) return false;
  const bool oursMissing = !FileExists(path);
  TVersions versions;
  for (const TCopy& copy : copies) {
    std::string theirs;
    if (!ReadOwnFile(folder + "/" + copy.relative, kMaxMonthFileSize, "", theirs, error)) return false;
    versions.theirs.push_back({std::move(theirs), ChangedAt(folder + "/" + copy.relative)});
    plan.remove.push_back(copy.relative);
  }
  versions.ours = {std::move(ours), oursMissing ? 0 : ChangedAt(path)};
  // A copy without its file: the oldest copy stands in for it, so that nothing counts as removed.
  if (oursMissing) {
    versions.ours = std::move(versions.theirs.front());
    versions.theirs.erase(versions.theirs.begin());
  }
  std::string base;
  const bool haveBase = kind == TFileKind::fkMonth && ReadMergeBase(folder, relative, base);
  const TFileResult result = MergeFile(kind, relative, haveBase ? &base : nullptr, versions);
  plan.outcome.kept = result.kept;
  plan.outcome.needsPerson = result.needsPerson;
  plan.write = oursMissing || result.bytes != versions.ours.bytes;
  plan.bytes = result.bytes;
  if (kind == TFileKind::fkMonth) {
    plan.keepBase = true;
    plan.base = result.common;
    if (const TMonthKey month = MonthOfName(relative); month && plan.write) plan.carry.insert(month);
  }
  return true;
}

bool StageFiles(const std::string& folder, const std::vector<TFilePlan>& plans, std::string& error) {
  DropRestoreStage(folder);
  const std::string stage = RestoreStageFiles(folder);
  for (const TFilePlan& plan : plans) {
    if (!plan.write) continue;
    const std::string path = stage + "/" + plan.outcome.file;
    EnsureFolder(path.substr(0, path.rfind('/')));
    if (!WriteFileUnsynced(path, plan.bytes, &error)) return false;
  }
  EnsureFolder(stage);
  return SyncDiskOf(stage, &error);
}

}  // namespace

bool TSyncMerge::NeedsPerson() const {
  return !ok || std::any_of(files.begin(), files.end(), [](const TMergedFile& f) { return !f.needsPerson.empty(); });
}

TSyncMerge MergeConflictCopies(const std::string& passbookFolder) {
  TSyncMerge merge;
  const auto groups = FindCopies(passbookFolder);
  if (groups.empty()) return merge;
  const auto refuse = [&merge](const std::string& why) {
    merge.ok = false;
    merge.files.clear();
    merge.message = "同期の写しを統合できませんでした。通帳は変えていません。\n" + why;
    return merge;
  };
  if (FileExists(passbookFolder + "/" + kRestoreRecordFileName)) return refuse("途中の復元が残っています。");
  std::string error;
  std::vector<TFilePlan> plans;
  for (const auto& [relative, copies] : groups) {
    TFilePlan plan;
    if (!PlanFile(passbookFolder, relative, copies, plan, error)) return refuse(error);
    plans.push_back(std::move(plan));
  }
  // Only copies left to a person: nothing to back up or change, only to tell again.
  if (std::all_of(plans.begin(), plans.end(), [](const TFilePlan& p) { return p.remove.empty(); })) {
    for (TFilePlan& plan : plans) merge.files.push_back(std::move(plan.outcome));
    return merge;
  }
  TBackupStore store = BackupStoreOf(passbookFolder);
  const TBackupOutcome backup = store.Take(TBackupReason::brManual, kSyncMergeReason);
  if (!backup.ok) return refuse("バックアップできませんでした。\n" + backup.message);
  std::set<TMonthKey> carry;
  TRestoreRecord record{kSyncMergeReason, backup.path, {}, {}};
  for (const TFilePlan& plan : plans) {
    carry.insert(plan.carry.begin(), plan.carry.end());
    record.remove.insert(record.remove.end(), plan.remove.begin(), plan.remove.end());
  }
  // Noted first, so that a merge stopped after its files moved in still has its months built.
  if (!carry.empty() && !NoteMonthsToCarry(passbookFolder, carry, error)) return refuse(error);
  if (!StageFiles(passbookFolder, plans, error)) {
    DropRestoreStage(passbookFolder);
    return refuse(error);
  }
  if (!SwapInRestore(passbookFolder, record, error)) {
    merge.ok = false;
    merge.message = error;
    return merge;
  }
  for (TFilePlan& plan : plans) {
    if (plan.keepBase) KeepMergeBase(passbookFolder, plan.outcome.file, plan.base, plan.bytes);
    merge.files.push_back(std::move(plan.outcome));
  }
  merge.message = "統合の前の状態をバックアップしました: " + backup.path;
  return merge;
}

std::string MergeReport(const TSyncMerge& merge) {
  std::string report;
  for (const TMergedFile& file : merge.files) {
    report += file.file + ": " + file.kept;
    if (!file.needsPerson.empty()) report += " 要確認: " + file.needsPerson;
    report += "\n";
  }
  if (!merge.message.empty()) report += merge.message + "\n";
  return report;
}

bool OpenPassbookSynced(const std::string& folder, TPassbookAccess access) {
  if (!OpenPassbookCarried(folder, access)) return false;
  if (access != TPassbookAccess::paWrite) return true;
  const TSyncMerge merge = MergeConflictCopies(folder);
  if (merge.files.empty() && merge.ok) return true;
  std::string report = MergeReport(merge);
  if (!report.empty() && report.back() == '\n') report.pop_back();
  WindowSystem().Notify("ほかのPCとの同期で生まれた写しを統合しました。\n" + report);
  return !merge.ok || OpenPassbookCarried(folder, access);
}

}  // namespace kzm
