#pragma once

// Reading the import's own small files in a passbook folder (text rules, the last import, the
// bank ids): all of a file at once, bounded, with messages that name it.

#include <cstddef>
#include <string>
#include <vector>

namespace kzm {

// The bytes of the file at path; none when it does not exist. False with error set when it is
// larger than limit or cannot be read. what names the file's kind at the start of the message
// ("分類のルール"), or is empty.
[[nodiscard]] bool ReadImportFile(const std::string& path, size_t limit, const std::string& what, std::string& bytes,
                                  std::string& error);

// The lines of bytes that are not empty, their ends (LF or CR LF) taken off.
[[nodiscard]] std::vector<std::string> NonEmptyLines(const std::string& bytes);

}  // namespace kzm
