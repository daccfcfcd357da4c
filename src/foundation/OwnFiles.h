#pragma once

// Reading the small files of our own that live in a passbook folder (budgets, recurring
// entries, card settings, the import's rules and history): all of a file at once, bounded,
// with messages that name it.

#include <cstddef>
#include <string>
#include <vector>

namespace kzm {

// The bytes of the file at path; none when it does not exist. False with error set when it is
// larger than limit or cannot be read: the caller then keeps its file as it is and never
// writes over it. what names the file's kind at the start of the message ("予算のファイル"),
// or is empty.
[[nodiscard]] bool ReadOwnFile(const std::string& path, size_t limit, const std::string& what, std::string& bytes,
                               std::string& error);

// The lines of bytes that are not empty, their ends (LF or CR LF) taken off.
[[nodiscard]] std::vector<std::string> NonEmptyLines(const std::string& bytes);

}  // namespace kzm
