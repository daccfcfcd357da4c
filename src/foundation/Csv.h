#pragma once

// The CSV dialect of the month files and of the search export.
//
// A field holding "," is written in double quotes with its double quotes doubled; a line
// break inside a field is written as the two characters "\n". A field without "," is written
// as it is. Reading undoes both, and also reads "\n" typed by the user as a line break.

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// Splits one line into its fields (list is replaced). An empty line gives one empty field;
// a line ending in "," ends with an empty field. A quote right after "\" never closes a
// quoted field. Works on characters, so a field ending in a character such as ソ closes.
void CsvSplit(std::string_view line, std::vector<std::string>& list);
[[nodiscard]] std::vector<std::string> CsvSplit(std::string_view line);

// Joins fields into one line, nothing added at the end.
[[nodiscard]] std::string CsvJoin(const std::vector<std::string>& list);

}  // namespace kzm
