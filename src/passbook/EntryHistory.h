#pragma once

// The entry histories of the daily grid: per category and column, the values typed most
// recently, offered again from a drop-down. They live in the passbook's "cash" folder.
//
// History file: the category's display name followed by the column digit (1 to 4), no
// extension ("食費1" holds the item texts of 食費). Shift-JIS text, one value per line, CR LF,
// newest first, distinct without regard to case, at most kHistoryLength lines.

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

inline constexpr int kHistoryLength = 10;

// The file name of a category's history for a column. A plain display name is used as it is,
// so files written by other copies are found; a name that could leave the folder or is no
// file name ("/", "\", a leading ".", control characters) has those characters written as
// "%" and two upper-case hexadecimal digits, and "%" itself as "%25", so two names never
// share a file.
[[nodiscard]] std::string HistoryFileName(std::string_view displayName, int column);

// The history of a category and column in folder. False when there is no history to offer:
// the file is missing, cannot be read, is not a history (binary bytes, far too large) or
// holds no value. values is then empty.
bool ReadHistory(const std::string& folder, std::string_view displayName, int column,
                 std::vector<std::string>& values);

// Puts value first in the history (dropping an earlier equal value and what passes the
// limit) and writes the file atomically. Nothing for an empty value. A history that cannot
// be read starts afresh. False when the file could not be written (or the value holds a
// character Shift-JIS cannot hold); the old file is then untouched.
bool RecordHistory(const std::string& folder, std::string_view displayName, int column,
                   std::string_view value);

}  // namespace kzm
