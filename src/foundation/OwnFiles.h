#pragma once

// Reading and writing the small files of our own that live in a passbook folder (budgets,
// recurring entries, card settings, the import's rules and history): all of a file at once,
// bounded, with messages that name it.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// The bytes of the file at path; none when it does not exist. False with error set when it is
// larger than limit or cannot be read: the caller then keeps its file as it is and never
// writes over it. Only a plain file is read: a link in its place (it could lead out of the
// passbook), a named pipe or a device is refused without waiting. what names the file's kind
// at the start of the message ("予算のファイル"), or is empty.
[[nodiscard]] bool ReadOwnFile(const std::string& path, size_t limit, const std::string& what, std::string& bytes,
                               std::string& error);

// Writes text (UTF-8) to path as CP932, atomically (WriteFileAtomic), then keptBytes as they
// are (lines kept from the file as read). False with error set when a character of text has no
// CP932 code (nothing is written, and no character is ever replaced by another: the message
// names it) or when the file cannot be written. what names the file's kind as for ReadOwnFile.
[[nodiscard]] bool WriteOwnFile(const std::string& path, std::string_view text, const std::string& what,
                                std::string& error, std::string_view keptBytes = {});

// The lines of bytes that are not empty, their ends (LF or CR LF) taken off.
[[nodiscard]] std::vector<std::string> NonEmptyLines(const std::string& bytes);

}  // namespace kzm
