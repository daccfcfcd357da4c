#include "passbook/MonthStamps.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <map>

#include "foundation/AtomicFile.h"
#include "foundation/Files.h"
#include "foundation/OwnFiles.h"
#include "foundation/ProfileList.h"
#include "foundation/Text.h"
#include "foundation/ThisPc.h"

namespace kzm {

namespace {

struct TStamp {
  int64_t size = 0;
  int64_t mtimeNs = 0;
  uint64_t inode = 0;
  bool operator==(const TStamp&) const = default;
};

using TStamps = std::map<TMonthKey, TStamp>;

constexpr size_t kStampsLimit = 4 * 1024 * 1024;

// "yyyymm.kzm" gives its month; any other name 0.
TMonthKey MonthOfName(const char* name) {
  int key = 0;
  for (int i = 0; i < 6; ++i) {
    if (name[i] < '0' || name[i] > '9') return 0;
    key = key * 10 + (name[i] - '0');
  }
  return std::string_view(name + 6) == ".kzm" ? key : 0;
}

TStamp StampOfStatus(const struct stat& st) {
  return {st.st_size, st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec, st.st_ino};
}

// False when the month has no file.
bool StampOf(const std::string& passbookFolder, TMonthKey key, TStamp& stamp) {
  char name[32];
  std::snprintf(name, sizeof name, "/Daily/%06d.kzm", key);
  struct stat st {};
  if (::lstat((passbookFolder + name).c_str(), &st) != 0) return false;
  stamp = StampOfStatus(st);
  return true;
}

// The month files as they are on disk now.
TStamps StampsOnDisk(const std::string& passbookFolder) {
  TStamps stamps;
  const std::string daily = passbookFolder + "/Daily";
  DIR* dir = ::opendir(daily.c_str());
  if (!dir) return stamps;
  const int fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const TMonthKey key = MonthOfName(entry->d_name);
    struct stat st {};
    if (key == 0 || ::fstatat(fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
    stamps[key] = StampOfStatus(st);
  }
  ::closedir(dir);
  return stamps;
}

// The Daily folder's stamp, kept under the key 0 (no month), which sorts first in the record.
constexpr TMonthKey kFolderKey = 0;

bool FolderStamp(const std::string& passbookFolder, TStamp& stamp) {
  struct stat st {};
  if (::stat((passbookFolder + "/Daily").c_str(), &st) != 0) return false;
  stamp = StampOfStatus(st);
  return true;
}

bool SettledLongAgo(const TStamp& stamp) {
  const auto now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                       std::chrono::system_clock::now().time_since_epoch()).count();
  return stamp.mtimeNs < now - 2'000'000'000LL;
}

bool ParseLine(const char* line, TMonthKey& key, TStamp& stamp) {
  long long size = 0;
  long long mtime = 0;
  unsigned long long inode = 0;
  if (std::sscanf(line, "%d,%lld,%lld,%llu", &key, &size, &mtime, &inode) != 4) return false;
  stamp = {size, mtime, inode};
  return true;
}

// False when there is no record (or it cannot be read).
bool ReadRecord(const std::string& path, std::string& bytes) {
  std::string error;
  return ReadOwnFile(path, kStampsLimit, "", bytes, error) && !bytes.empty();
}

TStamp RecordedFolder(const std::string& bytes) {
  TMonthKey key = -1;
  TStamp stamp;
  if (!ParseLine(bytes.c_str(), key, stamp) || key != kFolderKey) return {-1, -1, 0};
  return stamp;
}

TStamps ParseStamps(const std::string& bytes) {
  TStamps stamps;
  for (const std::string& line : NonEmptyLines(bytes)) {
    TMonthKey key = 0;
    TStamp stamp;
    if (ParseLine(line.c_str(), key, stamp)) stamps[key] = stamp;
  }
  return stamps;
}

bool ReadStamps(const std::string& path, TStamps& stamps) {
  std::string bytes;
  if (!ReadRecord(path, bytes)) return false;
  stamps = ParseStamps(bytes);
  return true;
}

void WriteStamps(const std::string& path, const TStamps& stamps) {
  std::string bytes;
  char line[96];
  for (const auto& [key, stamp] : stamps) {
    std::snprintf(line, sizeof line, "%d,%" PRId64 ",%" PRId64 ",%" PRIu64 "\r\n", key, stamp.size, stamp.mtimeNs,
                  stamp.inode);
    bytes += line;
  }
  EnsureFolder(path.substr(0, path.rfind('/')));
  (void)WriteFileUnsynced(path, bytes);
}

std::string PassbookKey(const std::string& passbookFolder) {
  TprofileList ini;
  ini.LoadFromFile(passbookFolder + "/PassbookId.ini");
  std::string id = std::string(Trim(ini.ReadString("PASSBOOK", "ID", "")));
  if (id.size() == 32 && id.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) return id;
  char hash[24];
  std::snprintf(hash, sizeof hash, "path-%016" PRIx64, Fnv1a(passbookFolder));
  return hash;
}

}  // namespace

std::string MonthStampsPath(const std::string& passbookFolder) {
  return PcStateFolder() + "/" + PassbookKey(passbookFolder) + "/MonthStamps.csv";
}

std::set<TMonthKey> MonthFilesChangedElsewhere(const std::string& passbookFolder) {
  const std::string path = MonthStampsPath(passbookFolder);
  std::string bytes;
  std::set<TMonthKey> changed;
  TStamp folder;
  const bool folderStamped = FolderStamp(passbookFolder, folder);
  if (!ReadRecord(path, bytes)) {
    WriteStamps(path, StampsOnDisk(passbookFolder));
    return changed;
  }
  // Nothing was put into Daily, renamed or taken out since the last full look.
  if (folderStamped && RecordedFolder(bytes) == folder) return changed;
  TStamps recorded = ParseStamps(bytes);
  const TStamps now = StampsOnDisk(passbookFolder);
  for (const auto& [key, stamp] : now) {
    const auto was = recorded.find(key);
    if (was == recorded.end() || !(was->second == stamp)) changed.insert(key);
  }
  for (const auto& [key, stamp] : recorded) {
    if (key != kFolderKey && !now.contains(key)) changed.insert(key);
  }
  // The folder's stamp stands for the files only once it is old enough that no change of the
  // same clock tick can hide behind it.
  if (changed.empty() && folderStamped && SettledLongAgo(folder) && !(recorded[kFolderKey] == folder)) {
    recorded[kFolderKey] = folder;
    WriteStamps(path, recorded);
  }
  return changed;
}

bool MonthFileChangedElsewhere(const std::string& passbookFolder, TMonthKey key) {
  TStamps recorded;
  if (!ReadStamps(MonthStampsPath(passbookFolder), recorded)) return false;
  const auto was = recorded.find(key);
  TStamp now;
  const bool exists = StampOf(passbookFolder, key, now);
  return was == recorded.end() ? exists : !exists || !(was->second == now);
}

void RecordMonthStamps(const std::string& passbookFolder, const std::set<TMonthKey>& months) {
  const std::string path = MonthStampsPath(passbookFolder);
  TStamps stamps;
  if (months.empty() || !ReadStamps(path, stamps)) {
    WriteStamps(path, StampsOnDisk(passbookFolder));
    return;
  }
  for (const TMonthKey key : months) {
    TStamp stamp;
    if (StampOf(passbookFolder, key, stamp)) {
      stamps[key] = stamp;
    } else {
      stamps.erase(key);
    }
  }
  WriteStamps(path, stamps);
}

}  // namespace kzm
