#pragma once

// Zip archives of a passbook's files, through libzip: built in memory (so that the caller
// writes them atomically like any other file) and read back member by member.

#include <ctime>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct zip;

namespace kzm {

struct TBackupMember {
  std::string name;   // relative path with "/", UTF-8
  std::string bytes;
  std::time_t modified = 0;
};

// The bytes of a zip file holding members (deflated) and comment (the archive's comment,
// stored as given). False, with error in Japanese, when libzip refuses.
[[nodiscard]] bool BuildZip(const std::vector<TBackupMember>& members, std::string_view comment,
                            std::string& zipBytes, std::string& error);

// A zip file opened for reading. A member larger than kMaxMemberSize is refused before any
// memory is taken for it.
class TZipReader {
 public:
  static constexpr size_t kMaxMemberSize = size_t{256} << 20;

  TZipReader();
  ~TZipReader();
  TZipReader(const TZipReader&) = delete;
  TZipReader& operator=(const TZipReader&) = delete;

  // False, naming the file in error, when it is missing or no zip file.
  [[nodiscard]] bool Open(const std::string& path, std::string& error);
  // The archive's comment as stored; empty when it has none.
  [[nodiscard]] std::string Comment() const;
  // The names of the files in the archive (folders left out), in archive order.
  [[nodiscard]] std::vector<std::string> Names() const;
  // The bytes of one member. False, with error, when it is missing or cannot be inflated.
  [[nodiscard]] bool Read(const std::string& name, std::string& bytes, std::string& error) const;

 private:
  struct TClose {
    void operator()(zip* archive) const;
  };
  std::unique_ptr<zip, TClose> m_archive;
  std::string m_path;
};

}  // namespace kzm
