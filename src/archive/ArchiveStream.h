#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/FilesList.h"
#include "archive/Stream.h"
#include "foundation/Errors.h"

namespace kzm {

// Failures of the archive stream. The message is "TArchiveStream:" CR LF and the detail.
class EarcSTreamError : public EkzmError {
 public:
  explicit EarcSTreamError(const std::string& detail);
};

// The current local time as an archive date stamp: yyyymmddhhnnss, then the milliseconds
// with at least two digits, cut to 16 characters (7 ms gives "07", 123 ms gives "12").
[[nodiscard]] std::string ArchiveDateStamp();

// A resource archive opened as a stream over one selected member.
//
// File layout (integers little-endian): "OARC", I64 file length when the header was
// written, "AHDR", I32 header length h (24), I64 member count (low 32 bits used), 16 ASCII
// date-stamp characters, then at 20 + h "ADAT" and the members, each a 37-byte entry record
// (see TArcEntry), the name bytes and the data bytes.
//
// An existing archive is opened for reading only, so an installed program's archive may sit
// in a read-only folder; only an empty file is opened for writing, to receive the header of
// an empty archive.
class TArchiveStream : public TStream {
 public:
  // Opens and reads the archive. Throws EarcSTreamError when the file cannot be opened or
  // is not a sound archive.
  explicit TArchiveStream(const std::string& fileName);
  ~TArchiveStream() override;
  TArchiveStream(const TArchiveStream&) = delete;
  TArchiveStream& operator=(const TArchiveStream&) = delete;

  // Rereads header and member list; an empty file is initialised first. No member is
  // selected afterwards.
  void Reload();
  // Replaces the file's content by the header of an archive with the current member count
  // and a fresh date stamp, then reloads.
  void InitArchive();

  // Select a member; false (previous selection kept) when there is none such.
  bool SelectIndex(int index);
  // First member whose name equals name ignoring letter case.
  bool SelectName(std::string_view name);

  // Reads from the selected member; reading stops at the member's end.
  std::int64_t Read(void* buffer, std::int64_t count) override;
  // Always refused: the program never changes an archive's members.
  void Write(const void* buffer, std::int64_t count);
  // Positions inside the selected member and returns the position relative to its start.
  // From the end a positive offset counts back from the member's end.
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  // Size of the selected member (0 with none selected).
  std::int64_t Size() override;

  [[nodiscard]] const TfilesList& Files() const { return m_files; }
  [[nodiscard]] int SelectedIndex() const { return m_selected; }
  [[nodiscard]] std::int64_t MemberCount() const { return m_count; }
  [[nodiscard]] const std::string& DateStamp() const { return m_stamp; }
  [[nodiscard]] std::int64_t ArchiveLength() const { return m_archiveLength; }

 private:
  void CheckHeader(std::int64_t fileSize);
  void ReadMembers(std::int64_t fileSize);
  [[nodiscard]] std::string ReadAt(std::int64_t count);
  [[nodiscard]] std::int64_t FileSize() const;

  std::string m_fileName;
  int m_fd = -1;
  TfilesList m_files;
  std::int64_t m_count = 0;
  std::string m_stamp;
  std::int64_t m_archiveLength = 0;
  int m_selected = -1;
  std::int64_t m_filePos = 0;  // position in the archive file
};

}  // namespace kzm
