#pragma once

// Zip archives of a passbook's files, through libzip. Members go in and out in blocks, never
// whole in memory, so a backup costs the same memory however large the passbook grows; every
// member read is checked against the size and CRC its archive states.

#include <cstdint>
#include <ctime>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct zip;
struct zip_source;

namespace kzm {

// The largest member a restore or a read unpacks: a month file may hold 16 MB, our own files
// far less. A larger one is refused before a byte of it is unpacked.
inline constexpr uint64_t kMaxMemberSize = uint64_t{64} << 20;

// A member as the archive's central directory states it.
struct TZipMember {
  std::string name;  // relative path with "/", UTF-8
  uint64_t index = 0;
  uint64_t size = 0;
  uint32_t crc = 0;
};

// The CRC-32 of the zip format, carried on from crc (0 to start).
[[nodiscard]] uint32_t ZipCrc(uint32_t crc, std::string_view bytes);

// A zip file being written at path (deflated members; libzip writes it when closed). The
// caller makes it durable and gives it its name.
class TZipWriter {
 public:
  TZipWriter();
  ~TZipWriter();
  TZipWriter(const TZipWriter&) = delete;
  TZipWriter& operator=(const TZipWriter&) = delete;

  // False, with error in Japanese, when the file cannot be made.
  [[nodiscard]] bool Open(const std::string& path, std::string& error);
  // The first size bytes of the file at source, read when the archive is closed.
  [[nodiscard]] bool AddFile(const std::string& name, const std::string& source, uint64_t size, std::time_t modified,
                             std::string& error);
  [[nodiscard]] bool AddBytes(const std::string& name, std::string bytes, std::string& error);
  // Writes the archive with comment (stored as given). Dropped, nothing left, on failure.
  [[nodiscard]] bool Close(std::string_view comment, std::string& error);

 private:
  bool AddSource(const std::string& name, zip_source* source, std::time_t modified, std::string& error);
  struct TDiscard {
    void operator()(zip* archive) const;
  };
  std::unique_ptr<zip, TDiscard> m_archive;
  std::deque<std::string> m_held;  // bytes of AddBytes, kept until Close
};

// A zip file opened for reading.
class TZipReader {
 public:
  TZipReader();
  ~TZipReader();
  TZipReader(const TZipReader&) = delete;
  TZipReader& operator=(const TZipReader&) = delete;

  // False, naming the file in error, when it is missing or no zip file.
  [[nodiscard]] bool Open(const std::string& path, std::string& error);
  // The archive's comment as stored; empty when it has none.
  [[nodiscard]] std::string Comment() const;
  // The files in the archive (folders left out), in archive order.
  [[nodiscard]] std::vector<TZipMember> Members() const;
  [[nodiscard]] std::vector<std::string> Names() const;
  // Unpacks member block by block into sink, then checks that it gave exactly the stated size
  // with the stated CRC. False, with error, when it is larger than kMaxMemberSize, cannot be
  // unpacked, differs from what is stated, or sink says false.
  using TSink = std::function<bool(std::string_view block)>;
  [[nodiscard]] bool Extract(const TZipMember& member, const TSink& sink, std::string& error) const;
  // The bytes of the member named name, checked as Extract checks them.
  [[nodiscard]] bool Read(const std::string& name, std::string& bytes, std::string& error) const;

 private:
  struct TClose {
    void operator()(zip* archive) const;
  };
  std::unique_ptr<zip, TClose> m_archive;
  std::string m_path;
};

}  // namespace kzm
