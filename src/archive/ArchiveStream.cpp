#include "archive/ArchiveStream.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <ctime>

namespace kzm {

namespace {

constexpr std::int64_t kFixedHeaderBytes = 16;  // "OARC", length, "AHDR"

// a + b, held at the int64 limits instead of overflowing on absurd offsets.
std::int64_t SaturatedAdd(std::int64_t a, std::int64_t b) {
  std::int64_t sum = 0;
  if (__builtin_add_overflow(a, b, &sum)) return b > 0 ? INT64_MAX : INT64_MIN;
  return sum;
}

std::string Fail(const char* where, const char* what, const std::string& bytes) {
  return std::string("[") + where + "]" + what + "[" + bytes + "]です";
}

}  // namespace

EarcSTreamError::EarcSTreamError(const std::string& detail) : EkzmError("TArchiveStream:\r\n" + detail) {}

std::string ArchiveDateStamp() {
  timeval now{};
  ::gettimeofday(&now, nullptr);
  std::tm local{};
  ::localtime_r(&now.tv_sec, &local);
  char text[40];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d%02d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, static_cast<int>(now.tv_usec / 1000));
  return std::string(text).substr(0, 16);
}

TArchiveStream::TArchiveStream(const std::string& fileName) : m_fileName(fileName) {
  struct stat st {};
  const bool empty = ::stat(fileName.c_str(), &st) == 0 && S_ISREG(st.st_mode) && st.st_size == 0;
  m_fd = ::open(fileName.c_str(), (empty ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (m_fd < 0) throw EarcSTreamError("[Create]ファイルを開けません(" + fileName + ")");
  try {
    Reload();
  } catch (...) {
    ::close(m_fd);
    throw;
  }
}

TArchiveStream::~TArchiveStream() { ::close(m_fd); }

std::int64_t TArchiveStream::FileSize() const {
  struct stat st {};
  return ::fstat(m_fd, &st) == 0 ? st.st_size : 0;
}

std::string TArchiveStream::ReadAt(std::int64_t count) {
  std::string bytes(static_cast<std::size_t>(count), '\0');
  std::int64_t done = 0;
  while (done < count) {
    const ssize_t n = ::pread(m_fd, bytes.data() + done, static_cast<std::size_t>(count - done), m_filePos + done);
    if (n <= 0) break;
    done += n;
  }
  m_filePos += done;
  bytes.resize(static_cast<std::size_t>(done));
  return bytes;
}

void TArchiveStream::Reload() {
  const std::int64_t fileSize = FileSize();
  if (fileSize == 0) {
    InitArchive();
    return;
  }
  CheckHeader(fileSize);
  ReadMembers(fileSize);
  m_selected = -1;
}

void TArchiveStream::CheckHeader(std::int64_t fileSize) {
  m_filePos = 0;
  std::string magic = ReadAt(4);
  if (magic != "OARC") throw EarcSTreamError(Fail("Reload", "ファイルが不正", magic));
  const std::string length = ReadAt(8);
  std::string tag = ReadAt(4);
  if (tag != "AHDR") throw EarcSTreamError(Fail("Reload", "ファイルヘッダが不正", tag));
  const std::string header = ReadAt(4 + 8 + 16);
  if (length.size() < 8 || header.size() < 28) {
    throw EarcSTreamError(Fail("Reload", "ファイルヘッダが不正", tag));
  }
  const auto* h = reinterpret_cast<const std::uint8_t*>(header.data());
  const auto headerLength = static_cast<std::int32_t>(ReadLe(h, 4));
  m_archiveLength = static_cast<std::int64_t>(ReadLe(reinterpret_cast<const std::uint8_t*>(length.data()), 8));
  m_count = static_cast<std::int32_t>(ReadLe(h + 4, 4));
  m_stamp = header.substr(12, 16);
  if (headerLength < 0 || headerLength > fileSize) {
    throw EarcSTreamError(Fail("Reload", "ファイルヘッダが不正", tag));
  }
  m_filePos = kFixedHeaderBytes + headerLength + 4;
  tag = ReadAt(4);
  if (tag != "ADAT") throw EarcSTreamError(Fail("Reload", "ファイルデータが不正", tag));
}

void TArchiveStream::ReadMembers(std::int64_t fileSize) {
  // Every count, length and offset is checked against the file before it is used, so a
  // damaged or lying archive ends in an error rather than a huge allocation.
  const auto broken = [] { return EarcSTreamError("[Reload]格納ファイルの一覧が不正です"); };
  if (m_count < 0 || m_count > (fileSize - m_filePos) / static_cast<std::int64_t>(TArcEntry::kBytes)) {
    throw broken();
  }
  TfilesList files;
  for (std::int64_t i = 0; i < m_count; ++i) {
    const std::string record = ReadAt(TArcEntry::kBytes);
    if (record.size() < TArcEntry::kBytes) throw broken();
    const TArcEntry entry = TArcEntry::Parse(reinterpret_cast<const std::uint8_t*>(record.data()));
    if (entry.nameLength < 0 || entry.nameLength > fileSize - m_filePos) throw broken();
    std::string name = ReadAt(entry.nameLength);
    if (entry.size < 0 || entry.size > fileSize - m_filePos || entry.offset < 0 ||
        entry.offset > fileSize - entry.size) {
      throw broken();
    }
    files.AddObject(std::move(name), entry);
    m_filePos += entry.size;
  }
  m_files = std::move(files);
}

void TArchiveStream::InitArchive() {
  if (::ftruncate(m_fd, 0) != 0) throw EarcSTreamError("[InitArchive]書き込めません(" + m_fileName + ")");
  std::string header = "OARC";
  AppendLe(header, 4, 8);  // the file's length when the header is written: just the magic
  header += "AHDR";
  AppendLe(header, 24, 4);
  AppendLe(header, static_cast<std::uint64_t>(m_files.Count()), 8);
  header += ArchiveDateStamp();
  header += "ADAT";
  if (::pwrite(m_fd, header.data(), header.size(), 0) != static_cast<ssize_t>(header.size())) {
    throw EarcSTreamError("[InitArchive]書き込めません(" + m_fileName + ")");
  }
  Reload();
}

bool TArchiveStream::SelectIndex(int index) {
  if (index < 0 || index >= m_files.Count()) return false;
  m_selected = index;
  m_filePos = m_files.Offset(index);
  return true;
}

bool TArchiveStream::SelectName(std::string_view name) { return SelectIndex(m_files.IndexOfName(name)); }

std::int64_t TArchiveStream::Read(void* buffer, std::int64_t count) {
  if (count < 0) throw EarcSTreamError("[Read]Countが負です(" + std::to_string(count) + ")");
  if (m_selected < 0) throw EarcSTreamError("[Read]読み込みINDEXが指定されていません");
  const std::int64_t end = m_files.Offset(m_selected) + m_files.Size(m_selected);
  const std::int64_t n = std::min(count, std::max<std::int64_t>(end - m_filePos, 0));
  std::int64_t done = 0;
  auto* out = static_cast<char*>(buffer);
  while (done < n) {
    const ssize_t got = ::pread(m_fd, out + done, static_cast<std::size_t>(n - done), m_filePos + done);
    if (got <= 0) break;
    done += got;
  }
  m_filePos += done;
  return done;
}

void TArchiveStream::Write(const void*, std::int64_t) { throw EarcSTreamError("[Write]対応していません"); }

std::int64_t TArchiveStream::Seek(std::int64_t offset, TSeekOrigin origin) {
  if (m_selected < 0) throw EarcSTreamError("[Seek]読み込みINDEXが指定されていません");
  const std::int64_t start = m_files.Offset(m_selected);
  const std::int64_t end = start + m_files.Size(m_selected);
  std::int64_t target = 0;
  switch (origin) {
    case TSeekOrigin::Beginning: target = SaturatedAdd(start, offset); break;
    case TSeekOrigin::Current: target = SaturatedAdd(m_filePos, offset); break;
    case TSeekOrigin::End: target = offset == INT64_MIN ? INT64_MAX : SaturatedAdd(end, -offset); break;
  }
  if (target < start || target > end) throw EarcSTreamError("[Seek]格納ファイルの範囲外を指定しました");
  m_filePos = target;
  return target - start;
}

std::int64_t TArchiveStream::Size() { return m_selected < 0 ? 0 : m_files.Size(m_selected); }

}  // namespace kzm
