#include "backup/BackupWalk.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

#include "backup/BackupArchive.h"
#include "backup/BackupOwner.h"
#include "foundation/ThisPc.h"
#include "passbook/Presence.h"
#include "passbook/RestoreJournal.h"
#include "passbook/WriterLock.h"

namespace kzm {

namespace fs = std::filesystem;

namespace {

constexpr size_t kMaxNamePart = 255;
constexpr size_t kMaxNameLength = 1024;
constexpr int kMaxDepth = 32;

// "<name>.tmp<pid>-<n>": what an atomic write leaves when its process is stopped.
bool IsTempFileName(std::string_view name) {
  const size_t tmp = name.rfind(".tmp");
  if (tmp == std::string_view::npos) return false;
  const std::string_view rest = name.substr(tmp + 4);
  const size_t dash = rest.find('-');
  const auto digits = [](std::string_view s) {
    return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return dash != std::string_view::npos && digits(rest.substr(0, dash)) && digits(rest.substr(dash + 1));
}

// relative: a plain file (status from lstat) or anything else (unlistable folders included).
using TVisit = std::function<void(const std::string& relative, const fs::path& full, const struct stat* status)>;

// Visits the entries under folder in name order, each sub-folder where it stands; links are
// never followed (a link could lead out of the passbook or round in a circle).
void Walk(const fs::path& folder, const std::string& prefix, const TVisit& visit) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) {
    visit(prefix.empty() ? std::string(".") : prefix.substr(0, prefix.size() - 1), folder, nullptr);
    return;
  }
  std::vector<fs::path> entries;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    entries.push_back(it->path());
  }
  std::sort(entries.begin(), entries.end());
  for (const fs::path& entry : entries) {
    const std::string relative = prefix + entry.filename().string();
    if (IsLeftOut(relative)) continue;
    struct stat status {};
    if (::lstat(entry.c_str(), &status) != 0) {
      visit(relative, entry, nullptr);
    } else if (S_ISDIR(status.st_mode)) {
      Walk(entry, relative + "/", visit);
    } else {
      visit(relative, entry, S_ISREG(status.st_mode) ? &status : nullptr);
    }
  }
}

// Reads the file once for its size and CRC; false when it cannot be read or is no plain file
// any more (swapped for a link since it was looked at).
bool Measure(TPassbookFile& file) {
  const int fd = ::open(file.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat status {};
  bool ok = ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  std::array<char, 64 * 1024> block;
  file.size = 0;
  file.crc = 0;
  while (ok) {
    const ssize_t got = ::read(fd, block.data(), block.size());
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      ok = got == 0;
      break;
    }
    file.size += static_cast<uint64_t>(got);
    file.crc = ZipCrc(file.crc, std::string_view(block.data(), static_cast<size_t>(got)));
    ok = file.size <= kMaxMemberSize;
  }
  ::close(fd);
  return ok;
}

}  // namespace

bool IsLeftOut(const std::string& relative) {
  const std::string_view name = std::string_view(relative).substr(relative.rfind('/') + 1);
  // What one PC keeps for itself (its lock, its journals, its presence) is no part of the book;
  // the record of its last import is, as the undo of what the month files hold.
  const bool pcOwn = IsPcOwnName(name) && !name.starts_with("StatementLastImport.");
  return relative == kRestoreRecordFileName || relative == kWriterLockFileName || relative == kManifestName ||
         IsTempFileName(name) || pcOwn || IsPresenceFileName(name);
}

void CollectPassbookFiles(const std::string& passbookFolder, std::vector<TPassbookFile>& files,
                          std::vector<std::string>& unreadable) {
  files.clear();
  unreadable.clear();
  Walk(fs::path(passbookFolder), "", [&](const std::string& relative, const fs::path& full, const struct stat* status) {
    TPassbookFile file{relative, full.string(), 0, 0, status ? status->st_mtime : 0};
    if (status && Measure(file)) {
      files.push_back(std::move(file));
    } else {
      unreadable.push_back(relative);
    }
  });
}

std::set<std::string> PassbookEntries(const std::string& passbookFolder) {
  std::set<std::string> entries;
  Walk(fs::path(passbookFolder), "",
       [&](const std::string& relative, const fs::path&, const struct stat*) { entries.insert(relative); });
  return entries;
}

bool IsSafeMemberName(const std::string& name) {
  if (name.empty() || name.size() > kMaxNameLength || name.front() == '/' ||
      name.find_first_of(std::string_view("\\\0", 2)) != std::string::npos) {
    return false;
  }
  int depth = 0;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string_view part(name.data() + start, end - start);
    if (part.empty() || part == "." || part == ".." || part.size() > kMaxNamePart || ++depth > kMaxDepth) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace kzm
