#include "backup/BackupWalk.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>

#include "backup/Backup.h"
#include "foundation/AtomicFile.h"

namespace kzm {

namespace fs = std::filesystem;

namespace {

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

bool IsLeftOut(const std::string& relative) {
  const std::string_view name = std::string_view(relative).substr(relative.rfind('/') + 1);
  return relative == kRestoreRecordFileName || IsTempFileName(name);
}

using TFileVisit = std::function<void(const std::string& relative, const fs::path& full)>;
using TFailVisit = std::function<void(const std::string& relative)>;

// Visits the files under folder in name order, each sub-folder where it stands; links to
// folders are not followed (a link could lead out of the passbook or round in a circle).
void Walk(const fs::path& folder, const std::string& prefix, const TFileVisit& onFile, const TFailVisit& onFail) {
  std::error_code error;
  fs::directory_iterator it(folder, error);
  if (error) {
    onFail(prefix.empty() ? std::string(".") : prefix);
    return;
  }
  std::vector<fs::directory_entry> entries;
  for (; it != fs::directory_iterator(); it.increment(error)) {
    if (error) break;
    entries.push_back(*it);
  }
  std::sort(entries.begin(), entries.end(),
            [](const fs::directory_entry& a, const fs::directory_entry& b) { return a.path() < b.path(); });
  for (const fs::directory_entry& entry : entries) {
    const std::string relative = prefix + entry.path().filename().string();
    std::error_code typeError;
    if (entry.is_directory(typeError) && !entry.is_symlink(typeError)) {
      Walk(entry.path(), relative + "/", onFile, onFail);
    } else {
      onFile(relative, entry.path());
    }
  }
}

}  // namespace

void CollectPassbookFiles(const std::string& passbookFolder, std::vector<TBackupMember>& members,
                          std::vector<std::string>& unreadable) {
  members.clear();
  unreadable.clear();
  Walk(
      fs::path(passbookFolder), "",
      [&](const std::string& relative, const fs::path& full) {
        if (IsLeftOut(relative)) return;
        struct stat status {};
        // Only plain files are opened: reading a pipe would wait for ever.
        if (::stat(full.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
          unreadable.push_back(relative);
          return;
        }
        TBackupMember member{relative, {}, status.st_mtime};
        if (ReadFileUpTo(full.string(), TZipReader::kMaxMemberSize, member.bytes) != TReadStatus::rsRead) {
          unreadable.push_back(relative);
          return;
        }
        members.push_back(std::move(member));
      },
      [&](const std::string& relative) { unreadable.push_back(relative); });
}

bool IsSafeMemberName(const std::string& name) {
  if (name.empty() || name.front() == '/' || name.find('\\') != std::string::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find('/', start);
    if (end == std::string::npos) end = name.size();
    const std::string_view part(name.data() + start, end - start);
    if (part.empty() || part == "." || part == "..") return false;
    start = end + 1;
  }
  return true;
}

bool RemoveFilesOtherThan(const std::string& passbookFolder, const std::set<std::string>& keep, std::string& error) {
  std::vector<fs::path> extra;
  Walk(
      fs::path(passbookFolder), "",
      [&](const std::string& relative, const fs::path& full) {
        if (!IsLeftOut(relative) && !keep.contains(relative)) extra.push_back(full);
      },
      [](const std::string&) {});
  for (const fs::path& path : extra) {
    std::error_code removeError;
    if (!fs::remove(path, removeError) && removeError) {
      error = "復元の途中で、バックアップのあとにできたファイルを消せませんでした: " + path.string() + "\n" +
              removeError.message();
      return false;
    }
  }
  return true;
}

}  // namespace kzm
