#include "foundation/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <limits>
#include <memory>

#include "foundation/DiskWrites.h"
#include "foundation/SystemErrors.h"

namespace kzm {

namespace {

// Closes a descriptor when it goes out of scope.
class TFd {
 public:
  explicit TFd(int fd) : m_fd(fd) {}
  ~TFd() { Close(); }
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  int Get() const { return m_fd; }
  bool Close() {
    if (m_fd < 0) return true;
    const int r = ::close(m_fd);
    m_fd = -1;
    return r == 0;
  }

 private:
  int m_fd;
};

bool Fail(std::string* error, const std::string& path) {
  if (error) *error = path + "\n" + SystemErrorText(errno);
  return false;
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<size_t>(n));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

// The process number in a temporary file's name ("<name>.tmp<pid>-<n>"), or 0.
pid_t WriterOfTempName(std::string_view name) {
  const size_t tmp = name.rfind(".tmp");
  if (tmp == std::string_view::npos || tmp == 0) return 0;
  const std::string_view rest = name.substr(tmp + 4);
  const size_t dash = rest.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == rest.size()) return 0;
  const auto digits = [](std::string_view s) {
    return s.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (!digits(rest.substr(0, dash)) || !digits(rest.substr(dash + 1)) || dash > 9) return 0;
  return static_cast<pid_t>(std::stol(std::string(rest.substr(0, dash))));
}

// When the process pid started, in seconds since the epoch; 0 when unknown.
int64_t ProcessStartTime(pid_t pid) {
  std::string stat;
  if (!ReadWholeFile("/proc/" + std::to_string(pid) + "/stat", stat)) return 0;
  // The command name in parentheses may hold blanks; the fields after it are plain.
  const size_t close = stat.rfind(')');
  if (close == std::string::npos) return 0;
  std::string_view rest = std::string_view(stat).substr(close + 2);
  for (int field = 3; field < 22; ++field) {
    const size_t blank = rest.find(' ');
    if (blank == std::string_view::npos) return 0;
    rest.remove_prefix(blank + 1);
  }
  const int64_t ticks = std::atoll(std::string(rest.substr(0, rest.find(' '))).c_str());
  std::string machine;
  if (!ReadWholeFile("/proc/stat", machine)) return 0;
  const size_t btime = machine.find("\nbtime ");
  if (btime == std::string::npos) return 0;
  return std::atoll(machine.c_str() + btime + 7) + ticks / ::sysconf(_SC_CLK_TCK);
}

// Whether the process that named a temporary file pid may still be writing it.
bool WriterMayBeAlive(pid_t pid, const struct stat& file) {
  if (pid == ::getpid()) return true;
  if (::kill(pid, 0) != 0 && errno == ESRCH) return false;
  // Another process has that number now if it started after the file was last written.
  const int64_t started = ProcessStartTime(pid);
  return started == 0 || started <= file.st_mtime + 1;
}

// Opens a new, unique temporary file beside path; the descriptor or -1.
int CreateTemp(const std::string& path, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = path + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
    const int fd = ::open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  return -1;
}

// 0 for a plain file; else the error reading it gives.
int NotPlainFileError(const struct stat& st) {
  if (S_ISREG(st.st_mode)) return 0;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  return S_ISLNK(st.st_mode) ? ELOOP : kNotAPlainFile;
}

void SyncFolder(const std::string& folder) {
  DiskWrites().Note(TDiskStep::dsSyncFolder, folder);
  TFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) (void)::fsync(dir.Get());
}

}  // namespace

void TFolderSyncBatch::SyncFolders() {
  for (const std::string& folder : m_folders) SyncFolder(folder);
  m_folders.clear();
}

TAtomicFileStream::TAtomicFileStream(std::string path) : m_path(std::move(path)) {}

TAtomicFileStream::~TAtomicFileStream() { Drop(); }

void TAtomicFileStream::Drop() {
  if (m_fd < 0) return;
  ::close(m_fd);
  m_fd = -1;
  ::unlink(m_tempPath.c_str());
}

bool TAtomicFileStream::Open(std::string* error) {
  Drop();
  m_failure = 0;
  m_fd = CreateTemp(m_path, m_tempPath);
  if (m_fd < 0) return Fail(error, m_path);
  // A replaced file keeps its permissions.
  struct stat old {};
  if (::stat(m_path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) (void)::fchmod(m_fd, old.st_mode & 07777);
  return true;
}

void TAtomicFileStream::Append(std::string_view bytes) {
  if (m_fd < 0 || m_failure != 0) return;
  if (!WriteAll(m_fd, bytes)) m_failure = errno;
}

bool TAtomicFileStream::Commit(std::string* error, TFolderSyncBatch* batch) {
  if (m_fd < 0) {
    errno = EBADF;
    return Fail(error, m_path);
  }
  if (m_failure == 0 && m_synced) {
    DiskWrites().Note(TDiskStep::dsSyncFile, m_path);
    if (::fsync(m_fd) != 0) m_failure = errno;
  }
  if (::close(m_fd) != 0 && m_failure == 0) m_failure = errno;
  m_fd = -1;
  if (m_failure == 0) DiskWrites().Note(TDiskStep::dsRename, m_path);
  if (m_failure == 0 && ::rename(m_tempPath.c_str(), m_path.c_str()) != 0) m_failure = errno;
  if (m_failure != 0) {
    ::unlink(m_tempPath.c_str());
    errno = m_failure;
    return Fail(error, m_path);
  }
  // The rename itself must reach the disk too.
  if (batch) batch->Add(FolderOf(m_path));
  else if (m_synced) SyncFolder(FolderOf(m_path));
  return true;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error, TFolderSyncBatch* batch) {
  TAtomicFileStream file(path);
  if (!file.Open(error)) return false;
  file.Append(bytes);
  return file.Commit(error, batch);
}

bool WriteFileUnsynced(const std::string& path, std::string_view bytes, std::string* error) {
  TAtomicFileStream file(path);
  file.LeaveUnsynced();
  if (!file.Open(error)) return false;
  file.Append(bytes);
  return file.Commit(error);
}

bool SyncDiskOf(const std::string& folder, std::string* error) {
  DiskWrites().Note(TDiskStep::dsSyncDisk, folder);
  TFd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() < 0 || ::syncfs(dir.Get()) != 0) return Fail(error, folder);
  return true;
}

int RemoveStaleTempFiles(const std::string& folder) {
  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), ::closedir);
  if (!dir) return 0;
  int removed = 0;
  while (const dirent* entry = ::readdir(dir.get())) {
    const pid_t pid = WriterOfTempName(entry->d_name);
    if (pid <= 0) continue;
    const std::string path = folder + "/" + entry->d_name;
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) continue;
    if (WriterMayBeAlive(pid, st)) continue;
    if (::unlink(path.c_str()) == 0) ++removed;
  }
  return removed;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  return ReadFileUpTo(path, std::numeric_limits<size_t>::max(), bytes) == TReadStatus::rsRead;
}

TReadStatus ReadFileUpTo(const std::string& path, size_t limit, std::string& bytes, int* error, TLinkRule links) {
  bytes.clear();
  auto failed = [&](int e) {
    bytes.clear();
    if (error) *error = e;
    return TReadStatus::rsFailed;
  };
  const bool refuseLinks = links == TLinkRule::lrRefuse;
  // The kind is looked at before opening: opening a named pipe would wait for a writer.
  struct stat st {};
  if ((refuseLinks ? ::lstat(path.c_str(), &st) : ::stat(path.c_str(), &st)) != 0) {
    return errno == ENOENT ? TReadStatus::rsMissing : failed(errno);
  }
  if (const int kind = NotPlainFileError(st)) return failed(kind);
  // Something else may take its place before the open: that open must not wait nor follow.
  TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (refuseLinks ? O_NOFOLLOW : 0)));
  if (fd.Get() < 0) return errno == ENOENT ? TReadStatus::rsMissing : failed(errno);
  if (::fstat(fd.Get(), &st) != 0) return failed(errno);
  if (const int kind = NotPlainFileError(st)) return failed(kind);
  if (st.st_size > 0 && static_cast<uint64_t>(st.st_size) > limit) return TReadStatus::rsTooLarge;
  if (st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failed(errno);
    }
    if (n == 0) return TReadStatus::rsRead;
    // A file that grows while it is read (or reports no size) still stops at the limit.
    if (bytes.size() + static_cast<size_t>(n) > limit) {
      bytes.clear();
      return TReadStatus::rsTooLarge;
    }
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace kzm
