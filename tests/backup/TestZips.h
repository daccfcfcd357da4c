#pragma once

// Zip files made by hand for the tests: hostile or damaged backups that the program itself
// would never write. Members are stored (not deflated), so that a byte changed in the file is
// a byte changed in the member.

#include <zip.h>

#include <string>
#include <utility>
#include <vector>

namespace kzm::test {

using TZipEntries = std::vector<std::pair<std::string, std::string>>;

inline bool WriteZip(const std::string& path, const TZipEntries& entries) {
  int code = 0;
  zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  if (!archive) return false;
  for (const auto& [name, bytes] : entries) {
    zip_source_t* source = zip_source_buffer(archive, bytes.data(), bytes.size(), 0);
    const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0 || zip_set_file_compression(archive, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0) < 0) {
      zip_discard(archive);
      return false;
    }
  }
  return zip_close(archive) == 0;
}

}  // namespace kzm::test
