#include "foundation/Files.h"

#include "foundation/Text.h"
#include "foundation/Utf8.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <memory>

namespace kzm {

namespace {

bool MatchFrom(std::string_view name, size_t n, std::string_view mask, size_t m) {
  while (m < mask.size()) {
    const char c = mask[m];
    if (c == '*') {
      // Try every split point for the star, from the shortest.
      for (size_t k = n;; k += Utf8CharLength(name, k)) {
        if (MatchFrom(name, k, mask, m + 1)) return true;
        if (k >= name.size()) return false;
      }
    }
    if (n >= name.size()) return false;
    if (c == '?') {
      n += Utf8CharLength(name, n);
      ++m;
      continue;
    }
    const auto lower = [](char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch + 32) : ch; };
    if (lower(c) != lower(name[n])) return false;
    ++n;
    ++m;
  }
  return n == name.size();
}

// Opens a folder for listing; null (errno set) when it cannot be. Refusing links, a link in
// place of the folder gives ELOOP.
std::unique_ptr<DIR, int (*)(DIR*)> OpenFolder(const std::string& folder, TLinkRule links) {
  std::unique_ptr<DIR, int (*)(DIR*)> dir(nullptr, ::closedir);
  if (links == TLinkRule::lrFollow) {
    dir.reset(::opendir(folder.c_str()));
    return dir;
  }
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    struct stat st {};
    if (errno == ENOTDIR && ::lstat(folder.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) errno = ELOOP;
    return dir;
  }
  dir.reset(::fdopendir(fd));
  if (!dir) ::close(fd);
  return dir;
}

// Entries of a folder in file-system order, with whether each is a folder and whether it is a
// plain file (links followed unless refused: then a link is neither). False, with errno set,
// when something is at folder but it cannot be listed.
template <typename Visit>
bool ForEachEntry(const std::string& folder, Visit visit, TLinkRule links = TLinkRule::lrFollow) {
  const auto dir = OpenFolder(folder, links);
  if (!dir) return errno == ENOENT;
  const int flags = links == TLinkRule::lrRefuse ? AT_SYMLINK_NOFOLLOW : 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name == "." || name == "..") continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir.get()), name.c_str(), &st, flags) != 0) continue;
    visit(name, S_ISDIR(st.st_mode), S_ISREG(st.st_mode));
  }
  return true;
}

// The desktop folder from the XDG user-dirs file, or empty.
std::string XdgDesktop(const std::string& home) {
  if (const char* env = std::getenv("XDG_DESKTOP_DIR"); env && *env) return env;
  const char* config = std::getenv("XDG_CONFIG_HOME");
  const std::string file = (config && *config ? std::string(config) : home + "/.config") + "/user-dirs.dirs";
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    const std::string_view t = Trim(line);
    if (!t.starts_with("XDG_DESKTOP_DIR=")) continue;
    std::string value(t.substr(16));
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
    return ReplaceAll(value, "$HOME", home);
  }
  return {};
}

std::string HomeFolder() {
  const char* home = std::getenv("HOME");
  return home && *home ? StripTrailingBackslashes(home) : std::string("/tmp");
}

}  // namespace

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool EnsureFolder(const std::string& folder) {
  const std::string path = StripTrailingBackslashes(folder);
  if (path.empty() || FolderExists(path)) return true;
  const size_t slash = path.rfind('/');
  if (slash != std::string::npos && slash > 0) (void)EnsureFolder(path.substr(0, slash));
  (void)::mkdir(path.c_str(), 0777);
  return false;
}

bool IsValidFileName(std::string_view name) {
  if (name == "." || name == "..") return false;
  for (const char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

bool MatchesMask(std::string_view name, std::string_view mask) {
  if (mask == "*.*" || mask == "*") return true;
  return MatchFrom(name, 0, mask, 0);
}

bool ListFiles(const std::string& folder, std::string_view mask, std::vector<std::string>& list, TLinkRule links) {
  list.clear();
  const std::string base = StripTrailingBackslashes(folder);
  const auto add = [&](const std::string& name, bool isFolder, bool isPlain) {
    if (!isFolder && (isPlain || links == TLinkRule::lrFollow) && MatchesMask(name, mask)) {
      list.push_back(base + "/" + name);
    }
  };
  return ForEachEntry(base.empty() ? "/" : base, add, links);
}

bool ListEntries(const std::string& folder, std::string_view mask, std::vector<std::string>& list) {
  list.clear();
  const std::string base = StripTrailingBackslashes(folder);
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(base.empty() ? "/" : base.c_str()), ::closedir);
  if (!dir) return errno == ENOENT;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != ".." && MatchesMask(name, mask)) list.push_back(base + "/" + name);
  }
  return true;
}

void ListSubFolders(const std::string& folder, std::vector<std::string>& list) {
  list.clear();
  const std::string base = StripTrailingBackslashes(folder);
  ForEachEntry(base.empty() ? "/" : base, [&](const std::string& name, bool isFolder, bool) {
    if (isFolder) list.push_back(base + "/" + name);
  });
}

std::string SpecialFolder(TSpecialFolder id) {
  const std::string home = HomeFolder();
  std::string desktop = StripTrailingBackslashes(XdgDesktop(home));
  if (!FolderExists(desktop)) desktop = home;
  switch (id) {
    case TSpecialFolder::sfAppData: {
      const char* data = std::getenv("XDG_DATA_HOME");
      // The XDG rule: a relative value is ignored.
      if (data && data[0] == '/') return StripTrailingBackslashes(data);
      return home + "/.local/share";
    }
    case TSpecialFolder::sfDesktop:
      return desktop;
    case TSpecialFolder::sfHome:
      return home;
  }
  return desktop;
}

}  // namespace kzm
