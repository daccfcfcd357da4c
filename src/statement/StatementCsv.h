#pragma once

// The records of a statement file: comma (or tab) separated, fields in double quotes where
// they hold the separator, a quote (doubled) or a line break, as spreadsheets write CSV.
// Unlike the month files' dialect a backslash is plain text: CP932 files write ¥ with it.

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

struct TStatementRecord {
  int line = 0;  // the file's line (from 1) the record starts on
  std::vector<std::string> cells;
};

// Tab when the first lines hold more tabs than commas, otherwise comma.
[[nodiscard]] char GuessSeparator(std::string_view text);

// Every record of text, empty lines left out; lines end in LF, CR LF or a lone CR. A quote left open runs to the end of the text.
[[nodiscard]] std::vector<TStatementRecord> SplitStatementRecords(std::string_view text, char separator);

}  // namespace kzm
