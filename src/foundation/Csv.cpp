#include "foundation/Csv.h"

#include <algorithm>

namespace kzm {

namespace {

size_t BackslashRunFrom(std::string_view text, size_t i) {
  size_t j = i;
  while (j < text.size() && text[j] == '\\') ++j;
  return j - i;
}

// The number of backslashes right before position end, not looking before start.
size_t BackslashRunBefore(std::string_view text, size_t start, size_t end) {
  size_t k = 0;
  while (end > start + k && text[end - k - 1] == '\\') ++k;
  return k;
}

// Turns the bytes of one field back into its text. quoted: the field stood in quotes;
// closed: its closing quote was found (so a run of backslashes at its end was doubled).
std::string Unescape(std::string_view field, bool quoted, bool closed) {
  if (field.find('\\') == std::string_view::npos && field.find('"') == std::string_view::npos) {
    return std::string(field);
  }
  std::string text;
  text.reserve(field.size());
  size_t i = 0;
  while (i < field.size()) {
    const char c = field[i];
    if (c == '"') {
      text += '"';
      i += (i + 1 < field.size() && field[i + 1] == '"') ? 2 : 1;
      continue;
    }
    if (c != '\\') {
      text += c;
      ++i;
      continue;
    }
    const size_t k = BackslashRunFrom(field, i);
    const size_t next = i + k;
    if (next < field.size() && field[next] == 'n') {
      text.append(k / 2, '\\');
      text += (k % 2 == 1) ? "\r\n" : "n";
      i = next + 1;
      continue;
    }
    const bool beforeQuote = quoted && (next < field.size() ? field[next] == '"' : closed);
    text.append(beforeQuote && k % 2 == 0 ? k / 2 : k, '\\');
    i = next;
  }
  return text;
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
  auto endField = [&](size_t end, bool closed) {
    list.push_back(Unescape(line.substr(start, end - start), quoted, closed));
  };
  while (i < n) {
    const char c = line[i];
    if (!quoted) {
      if (c == '"' && i == start) {
        quoted = true;
        start = i + 1;
      } else if (c == ',') {
        endField(i, false);
        start = i + 1;
      }
      ++i;
      continue;
    }
    // An odd run of backslashes hides the quote; an even one is written text.
    if (c != '"' || BackslashRunBefore(line, start, i) % 2 == 1) {
      ++i;
      continue;
    }
    if (i + 1 == n) {
      endField(i, true);
      return;
    }
    if (line[i + 1] == ',') {
      endField(i, true);
      quoted = false;
      start = i + 2;
      i += 2;
      // A line ending right after the comma still has its empty last field, below.
      continue;
    }
    i += 2;
  }
  start = std::min(start, n);
  endField(n, false);
}

std::vector<std::string> CsvSplit(std::string_view line) {
  std::vector<std::string> list;
  CsvSplit(line, list);
  return list;
}

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Appends field to line, quotes doubled when quoted, every kind of line break as "\n", and
// backslashes doubled where the reader would otherwise take them for part of an escape.
void AppendCsvField(std::string& line, std::string_view field, bool quoted) {
  if (quoted) line += '"';
  size_t i = 0;
  while (i < field.size()) {
    const char c = field[i];
    if (c == '\\') {
      const size_t k = BackslashRunFrom(field, i);
      const size_t next = i + k;
      const bool doubled = next == field.size()
                               ? quoted
                               : field[next] == 'n' || IsLineBreak(field[next]) || (quoted && field[next] == '"');
      line.append(doubled ? 2 * k : k, '\\');
      i = next;
    } else if (IsLineBreak(c)) {
      line += "\\n";
      i += (c == '\r' && i + 1 < field.size() && field[i + 1] == '\n') ? 2 : 1;
    } else {
      if (c == '"' && quoted) line += '"';
      line += c;
      ++i;
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
