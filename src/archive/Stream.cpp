#include "archive/Stream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include "foundation/Errors.h"

namespace kzm {

std::string TStream::ReadAll() {
  const std::int64_t left = std::max<std::int64_t>(Remaining(), 0);
  std::string bytes(static_cast<std::size_t>(left), '\0');
  bytes.resize(static_cast<std::size_t>(Read(bytes.data(), left)));
  return bytes;
}

std::int64_t TMemoryStream::Read(void* buffer, std::int64_t count) {
  const std::int64_t n = std::clamp<std::int64_t>(count, 0, Size() - m_pos);
  if (n > 0) std::memcpy(buffer, m_bytes.data() + m_pos, static_cast<std::size_t>(n));
  m_pos += n;
  return n;
}

std::int64_t TMemoryStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == TSeekOrigin::Current) base = m_pos;
  if (origin == TSeekOrigin::End) base = Size();
  // Saturate instead of overflowing on absurd offsets from a damaged file.
  const std::int64_t target = offset > 0 && base > INT64_MAX - offset ? INT64_MAX : base + offset;
  m_pos = std::clamp<std::int64_t>(target, 0, Size());
  return m_pos;
}

TFileReadStream::TFileReadStream(const std::string& path) {
  m_fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  struct stat st {};
  if (m_fd < 0 || ::fstat(m_fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (m_fd >= 0) ::close(m_fd);
    throw EkzmError("ファイルを開けません: " + path);
  }
  m_size = st.st_size;
}

TFileReadStream::~TFileReadStream() { ::close(m_fd); }

std::int64_t TFileReadStream::Read(void* buffer, std::int64_t count) {
  std::int64_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < count) {
    const ssize_t n = ::pread(m_fd, out + done, static_cast<std::size_t>(count - done), m_pos + done);
    if (n <= 0) break;
    done += n;
  }
  m_pos += done;
  return done;
}

std::int64_t TFileReadStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  std::int64_t base = 0;
  if (origin == TSeekOrigin::Current) base = m_pos;
  if (origin == TSeekOrigin::End) base = m_size;
  const std::int64_t target = offset > 0 && base > INT64_MAX - offset ? INT64_MAX : base + offset;
  m_pos = std::clamp<std::int64_t>(target, 0, m_size);
  return m_pos;
}

}  // namespace kzm
