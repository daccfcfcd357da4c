// Restoring a backup: checked whole, unpacked into the stage, then swapped in under the record.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <set>

#include "backup/Backup.h"
#include "backup/BackupArchive.h"
#include "backup/BackupComment.h"
#include "backup/BackupOwner.h"
#include "backup/BackupWalk.h"
#include "foundation/AtomicFile.h"
#include "foundation/SystemErrors.h"
#include "passbook/CarryJournal.h"
#include "passbook/RestoreJournal.h"

namespace kzm {

namespace {

// Together the members of one backup may take at most this much room on the disk.
constexpr uint64_t kMaxRestoreSize = uint64_t{4} << 30;
constexpr size_t kMaxManifestSize = size_t{16} << 20;

struct TRestorePlan {
  std::vector<TZipMember> members;  // what goes into the passbook
  std::string passbookId;           // the owner the manifest names; empty: not known
  std::vector<std::string> remove;  // files of the passbook that go
};

std::vector<std::string> FoldersAbove(const std::string& name) {
  std::vector<std::string> folders;
  for (size_t slash = name.find('/'); slash != std::string::npos; slash = name.find('/', slash + 1)) {
    folders.push_back(name.substr(0, slash));
  }
  return folders;
}

// Every name safe and once, no file where another member needs a folder, every size sane.
bool CheckMembers(const std::vector<TZipMember>& members, std::string& error) {
  std::set<std::string> names;
  uint64_t total = 0;
  for (const TZipMember& member : members) {
    if (!IsSafeMemberName(member.name)) {
      error = "バックアップに使えないファイル名 (通帳の外を指す、長すぎる、深すぎる) があるので、復元しませんでした: " +
              member.name.substr(0, 200);
      return false;
    }
    if (!names.insert(member.name).second) {
      error = "バックアップに同じ名前のファイルが二つあるので、復元しませんでした: " + member.name;
      return false;
    }
    total += std::min(member.size, kMaxMemberSize + 1);
    if (member.size > kMaxMemberSize || total > kMaxRestoreSize) {
      error = "バックアップのファイルが大きすぎるので、復元しませんでした: " + member.name;
      return false;
    }
  }
  for (const TZipMember& member : members) {
    for (const std::string& folder : FoldersAbove(member.name)) {
      if (names.contains(folder)) {
        error = "バックアップの " + folder + " がファイルとフォルダの両方になっているので、復元しませんでした。";
        return false;
      }
    }
  }
  return true;
}

// The manifest must name exactly the members, with their sizes and CRCs.
bool CheckManifest(const TZipReader& reader, const TZipMember& entry, const std::vector<TZipMember>& members,
                   TRestorePlan& plan, std::string& error) {
  std::string text;
  TManifest manifest;
  if (entry.size > kMaxManifestSize || !reader.Read(entry.name, text, error) ||
      !ParseManifest(text, manifest, error)) {
    error = "バックアップの目録が壊れているので、復元しませんでした。\n" + error;
    return false;
  }
  bool same = manifest.members.size() == members.size();
  for (size_t i = 0; same && i < members.size(); ++i) {
    const auto listed = std::find_if(manifest.members.begin(), manifest.members.end(),
                                     [&](const TZipMember& m) { return m.name == members[i].name; });
    same = listed != manifest.members.end() && listed->size == members[i].size && listed->crc == members[i].crc;
  }
  if (!same) {
    error = "バックアップの中身が目録と合わないので (あとから変えられたか、壊れています)、復元しませんでした。";
    return false;
  }
  plan.passbookId = manifest.passbookId;
  return true;
}

// Reads what the backup holds and what of it goes back (file: that one alone).
bool PlanMembers(const TZipReader& reader, const std::string& file, TRestorePlan& plan, std::string& error) {
  const std::vector<TZipMember> all = reader.Members();
  std::vector<TZipMember> members;
  const TZipMember* manifest = nullptr;
  for (const TZipMember& member : all) {
    if (member.name == kManifestName) {
      manifest = &member;
    } else {
      members.push_back(member);
    }
  }
  if (!CheckMembers(members, error)) return false;
  if (std::none_of(members.begin(), members.end(), [](const TZipMember& m) { return m.name == "nbkr.ini"; })) {
    error = "通帳のバックアップではないので (nbkr.ini がありません)、復元しませんでした。";
    return false;
  }
  if (manifest && !CheckManifest(reader, *manifest, members, plan, error)) return false;
  // The records of a run and the lock were never meant to be in a backup (older ones may hold
  // the lock), and the passbook keeps its own id whatever backup it is put back from.
  std::erase_if(members, [](const TZipMember& m) { return IsLeftOut(m.name) || m.name == kPassbookIdFileName; });
  if (!file.empty()) {
    std::erase_if(members, [&](const TZipMember& m) { return m.name != file; });
    if (members.empty()) {
      error = "このバックアップには " + file + " がありません。";
      return false;
    }
  }
  plan.members = std::move(members);
  return true;
}

// What of the passbook goes (whole restore), and whether each member can take its place: no
// link or file where it needs a folder, no file kept where it would be a folder.
bool PlanPlaces(const std::string& passbookFolder, const std::string& comment, bool whole, TRestorePlan& plan,
                std::string& error) {
  const std::set<std::string> entries = PassbookEntries(passbookFolder);
  std::set<std::string> keep;
  for (const TZipMember& member : plan.members) keep.insert(member.name);
  // What the backup could not read stays as it is; so does the passbook's id.
  for (std::string& path : CommentValues(comment, "unreadable")) keep.insert(std::move(path));
  keep.insert(kPassbookIdFileName);
  std::set<std::string> remaining;
  for (const std::string& entry : entries) {
    if (!whole || keep.contains(entry)) {
      remaining.insert(entry);
    } else {
      plan.remove.push_back(entry);
    }
  }
  for (const TZipMember& member : plan.members) {
    for (const std::string& folder : FoldersAbove(member.name)) {
      if (remaining.contains(folder)) {
        error = "通帳の " + folder + " がフォルダではない (リンクなど) ので、復元しませんでした。";
        return false;
      }
    }
    const auto inside = remaining.lower_bound(member.name + "/");
    if (inside != remaining.end() && inside->starts_with(member.name + "/")) {
      error = "通帳の " + member.name + " がフォルダになっているので、復元しませんでした。";
      return false;
    }
  }
  return true;
}

bool MakeStageFolders(const std::string& root, const std::string& name) {
  for (const std::string& folder : FoldersAbove(name)) {
    const std::string path = root + "/" + folder;
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  return true;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

bool Unpack(const TZipReader& reader, const TZipMember& member, const std::string& root, std::string& error) {
  const std::string path = root + "/" + member.name;
  const int fd = MakeStageFolders(root, member.name)
                     ? ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666)
                     : -1;
  if (fd < 0) {
    error = "復元するファイルを用意できませんでした: " + path + "\n" + SystemErrorText(errno);
    return false;
  }
  int writeError = 0;
  const bool unpacked = reader.Extract(member, [&](std::string_view block) {
    if (WriteAll(fd, block)) return true;
    writeError = errno;
    return false;
  }, error);
  const bool closed = ::close(fd) == 0;
  if (unpacked && closed) return true;
  if (writeError != 0 || !closed) error += "\n" + path + "\n" + SystemErrorText(writeError != 0 ? writeError : errno);
  return false;
}

bool SameDisk(const std::string& a, const std::string& b) {
  struct stat first {}, second {};
  return ::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0 && first.st_dev == second.st_dev;
}

// Unpacks every member into the stage, each checked, and syncs them once.
bool Stage(const TZipReader& reader, const std::string& passbookFolder, const TRestorePlan& plan, std::string& error) {
  DropRestoreStage(passbookFolder);
  const std::string stage = RestoreStageFolder(passbookFolder);
  const std::string root = RestoreStageFiles(passbookFolder);
  if (::mkdir(stage.c_str(), 0700) != 0 || ::mkdir(root.c_str(), 0777) != 0) {
    error = "復元のための作業フォルダを作れませんでした: " + stage + "\n" + SystemErrorText(errno);
    return false;
  }
  if (!SameDisk(root, passbookFolder)) {
    error = "通帳のフォルダが、そのあるフォルダと別のディスクにあるので、復元できません: " + passbookFolder;
    return false;
  }
  for (const TZipMember& member : plan.members) {
    if (!Unpack(reader, member, root, error)) return false;
  }
  return SyncDiskOf(root, &error);
}

// "Daily/yyyymm.kzm" and "Monthly/yyyymm.mif" hold a month's entries or its balances.
TMonthKey MonthOfFile(const std::string& file) {
  for (const auto& [folder, extension] : {std::pair{"Daily/", ".kzm"}, std::pair{"Monthly/", ".mif"}}) {
    const std::string_view name(file);
    if (!name.starts_with(folder) || !name.ends_with(extension)) continue;
    const std::string_view digits = name.substr(std::string_view(folder).size(), 6);
    if (name.size() != std::string_view(folder).size() + 10 ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
      return 0;
    }
    return std::stoi(std::string(digits));
  }
  return 0;
}

}  // namespace

TRestoreOutcome TBackupStore::Restore(const std::string& backupPath, const std::string& file, bool allowOtherPassbook) {
  TRestoreOutcome outcome;
  TZipReader reader;
  TRestorePlan plan;
  if (!reader.Open(backupPath, outcome.message) || !PlanMembers(reader, file, plan, outcome.message)) return outcome;
  std::string idError;
  const std::string id = PassbookIdOf(m_passbookFolder, idError);
  if (!plan.passbookId.empty() && plan.passbookId != id && !allowOtherPassbook) {
    outcome.otherPassbook = true;
    outcome.message = "このバックアップは、ほかの通帳 (または名前を変える前の別の通帳) のものです。";
    return outcome;
  }
  if (!PlanPlaces(m_passbookFolder, reader.Comment(), file.empty(), plan, outcome.message)) return outcome;
  if (!Stage(reader, m_passbookFolder, plan, outcome.message)) {
    DropRestoreStage(m_passbookFolder);
    outcome.message = "バックアップを確かめられなかったので、復元しませんでした。通帳は変わっていません。\n" + outcome.message;
    return outcome;
  }
  // The backup restored from stays, whatever the keep rules say of it.
  const TBackupOutcome saved = TakeKeeping(TBackupReason::brRestore, {}, backupPath);
  outcome.before = saved.path;
  std::string why;
  if (!saved.ok) {
    why = "今の状態をバックアップできなかったので、復元しませんでした。\n" + saved.message;
  } else if (file.empty() && !saved.unreadable.empty()) {
    // A file that could not be saved would be lost by a whole restore.
    why = "今の通帳に読めないファイルがあり、復元すると失われるので、復元しませんでした。\n" + UnreadableMessage(saved.unreadable);
  } else if (const TMonthKey month = MonthOfFile(file); month != 0 && !NoteMonthsToCarry(m_passbookFolder, {month}, why)) {
    why = "残高の繰り越しの記録を書けなかったので、復元しませんでした。\n" + why;
  }
  if (!why.empty()) {
    DropRestoreStage(m_passbookFolder);
    outcome.message = why;
    return outcome;
  }
  const TRestoreRecord record{backupPath, saved.path, file, plan.remove};
  outcome.ok = SwapInRestore(m_passbookFolder, record, outcome.message);
  return outcome;
}

}  // namespace kzm
