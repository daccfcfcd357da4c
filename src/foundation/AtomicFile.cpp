#include "foundation/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <limits>

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

}  // namespace

bool WriteFileAtomic(const std::string& path, std::string_view bytes, std::string* error) {
  std::string tempPath;
  TFd fd(CreateTemp(path, tempPath));
  if (fd.Get() < 0) return Fail(error, path);
  // A replaced file keeps its permissions.
  struct stat old {};
  if (::stat(path.c_str(), &old) == 0) (void)::fchmod(fd.Get(), old.st_mode & 07777);
  bool ok = WriteAll(fd.Get(), bytes) && ::fsync(fd.Get()) == 0;
  int e = errno;
  if (!fd.Close() && ok) {
    ok = false;
    e = errno;
  }
  if (!ok) {
    ::unlink(tempPath.c_str());
    errno = e;
    return Fail(error, path);
  }
  if (::rename(tempPath.c_str(), path.c_str()) != 0) {
    const int e = errno;
    ::unlink(tempPath.c_str());
    errno = e;
    return Fail(error, path);
  }
  // The rename itself must reach the disk too.
  TFd dir(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) (void)::fsync(dir.Get());
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  return ReadFileUpTo(path, std::numeric_limits<size_t>::max(), bytes) == TReadStatus::rsRead;
}

TReadStatus ReadFileUpTo(const std::string& path, size_t limit, std::string& bytes, int* error) {
  bytes.clear();
  auto failed = [&](int e) {
    bytes.clear();
    if (error) *error = e;
    return TReadStatus::rsFailed;
  };
  TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return errno == ENOENT ? TReadStatus::rsMissing : failed(errno);
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0) return failed(errno);
  if (S_ISDIR(st.st_mode)) return failed(EISDIR);
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
