#include "foundation/Csv.h"

#include "foundation/Text.h"

namespace kzm {

namespace {

// After splitting: "\n" becomes a line break and a doubled quote one quote.
std::string Unescape(std::string_view field) {
  if (field.find('\\') == std::string_view::npos && field.find('"') == std::string_view::npos) {
    return std::string(field);
  }
  return ReplaceAll(ReplaceAll(field, "\\n", "\r\n"), "\"\"", "\"");
}

}  // namespace

// UTF-8 never has a byte 0x5C or 0x22 inside a multi-byte character, so walking bytes here is
// walking characters: the byte before a quote is "\" only when the character before it is.
void CsvSplit(std::string_view line, std::vector<std::string>& list) {
  list.clear();
  size_t start = 0;
  bool quoted = false;
  size_t i = 0;
  const size_t n = line.size();
  while (i < n) {
    const char c = line[i];
    if (!quoted) {
      if (c == '"' && i == start) {
        quoted = true;
        start = i + 1;
      } else if (c == ',') {
        list.push_back(Unescape(line.substr(start, i - start)));
        start = i + 1;
      }
      ++i;
      continue;
    }
    if (c != '"' || (i > 0 && line[i - 1] == '\\')) {
      ++i;
      continue;
    }
    if (i + 1 == n) {
      list.push_back(Unescape(line.substr(start, i - start)));
      return;
    }
    if (line[i + 1] == ',') {
      list.push_back(Unescape(line.substr(start, i - start)));
      quoted = false;
      start = i + 2;
      i += 2;
      // A line ending right after the comma still has its empty last field, below.
      continue;
    }
    i += 2;
  }
  list.push_back(Unescape(line.substr(std::min(start, n))));
}

std::vector<std::string> CsvSplit(std::string_view line) {
  std::vector<std::string> list;
  CsvSplit(line, list);
  return list;
}

std::string CsvJoin(const std::vector<std::string>& list) {
  std::string line;
  for (size_t k = 0; k < list.size(); ++k) {
    if (k > 0) line += ',';
    std::string field = list[k];
    // Also quote a field that starts with a quote or holds two in a row: written plain, those
    // would read back changed. Older readers read the quoted form the same way.
    if (field.find(',') != std::string::npos || field.starts_with('"') ||
        field.find("\"\"") != std::string::npos) {
      field = "\"" + ReplaceAll(field, "\"", "\"\"") + "\"";
    }
    // Every kind of line break becomes "\n", so a field never splits the line on disk.
    field = ReplaceAll(field, "\r\n", "\\n");
    field = ReplaceAll(field, "\r", "\\n");
    line += ReplaceAll(field, "\n", "\\n");
  }
  return line;
}

}  // namespace kzm
