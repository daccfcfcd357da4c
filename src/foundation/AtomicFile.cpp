#include "foundation/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>

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

bool Fail(std::string* error, const std::string& what, const std::string& path) {
  if (error) *error = what + " " + path + ": " + std::strerror(errno);
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
  if (fd.Get() < 0) return Fail(error, "cannot create a file beside", path);
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
    return Fail(error, "cannot write", path);
  }
  if (::rename(tempPath.c_str(), path.c_str()) != 0) {
    const int e = errno;
    ::unlink(tempPath.c_str());
    errno = e;
    return Fail(error, "cannot replace", path);
  }
  // The rename itself must reach the disk too.
  TFd dir(::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.Get() >= 0) (void)::fsync(dir.Get());
  return true;
}

bool ReadWholeFile(const std::string& path, std::string& bytes) {
  bytes.clear();
  TFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.Get() < 0) return false;
  struct stat st {};
  if (::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  if (st.st_size > 0) bytes.reserve(static_cast<size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(fd.Get(), buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      bytes.clear();
      return false;
    }
    if (n == 0) return true;
    bytes.append(buffer, static_cast<size_t>(n));
  }
}

}  // namespace kzm
