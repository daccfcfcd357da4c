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

namespace {

// Appends field to line, quotes doubled when quoted, every kind of line break as "\n".
void AppendCsvField(std::string& line, std::string_view field, bool quoted) {
  if (quoted) line += '"';
  for (size_t i = 0; i < field.size(); ++i) {
    const char c = field[i];
    if (c == '\r' || c == '\n') {
      line += "\\n";
      if (c == '\r' && i + 1 < field.size() && field[i + 1] == '\n') ++i;
    } else {
      if (c == '"' && quoted) line += '"';
      line += c;
    }
  }
  if (quoted) line += '"';
}

}  // namespace

std::string CsvJoin(const std::vector<std::string>& list) {
  std::string line;
  size_t size = list.size();
  for (const std::string& field : list) size += field.size() + 2;
  line.reserve(size);
  for (size_t k = 0; k < list.size(); ++k) {
    if (k > 0) line += ',';
    const std::string& field = list[k];
    // Also quote a field that starts with a quote or holds two in a row: written plain, those
    // would read back changed. Older readers read the quoted form the same way.
    const bool quoted = field.find(',') != std::string::npos || field.starts_with('"') ||
                        field.find("\"\"") != std::string::npos;
    // A field never splits the line on disk: line breaks are written as "\n".
    AppendCsvField(line, field, quoted);
  }
  return line;
}

}  // namespace kzm
