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

// Turns the bytes of one field back into its text (text is replaced). quoted: the field stood
// in quotes; closed: its closing quote was found (so a run of backslashes at its end was doubled).
void Unescape(std::string_view field, bool quoted, bool closed, std::string& text) {
  // Most fields hold no quote and no backslash: they are their text.
  if (field.find('"') == std::string_view::npos && field.find('\\') == std::string_view::npos) {
    text.assign(field);
    return;
  }
  text.clear();
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
}

}  // namespace

// UTF-8 never has a byte 0x5C or 0x22 inside a multi-byte character, so walking bytes here is
// walking characters: the byte before a quote is "\" only when the character before it is.
// The strings already in list are written over, so splitting line after line into one list
// allocates next to nothing.
void CsvSplit(std::string_view line, std::vector<std::string>& list) {
  size_t count = 0;
  size_t start = 0;
  bool quoted = false;
  size_t i = 0;
  const size_t n = line.size();
  auto endField = [&](size_t end, bool closed) {
    if (count == list.size()) list.emplace_back();
    Unescape(line.substr(start, end - start), quoted, closed, list[count++]);
  };
  // Only commas outside quotes and quotes inside them matter, so the walk jumps from one to
  // the next.
  while (i < n) {
    if (!quoted) {
      if (i == start && line[i] == '"') {
        quoted = true;
        start = ++i;
        continue;
      }
      i = line.find(',', i);
      if (i == std::string_view::npos) break;
      endField(i, false);
      start = ++i;
      continue;
    }
    i = line.find('"', i);
    if (i == std::string_view::npos) break;
    // An odd run of backslashes hides the quote; an even one is written text.
    if (BackslashRunBefore(line, start, i) % 2 == 1) {
      ++i;
      continue;
    }
    if (i + 1 == n) {
      endField(i, true);
      list.resize(count);
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
  list.resize(count);
}

std::vector<std::string> CsvSplit(std::string_view line) {
  std::vector<std::string> list;
  CsvSplit(line, list);
  return list;
}

void CsvSplitViews(std::string_view line, std::vector<std::string_view>& fields,
                   std::vector<std::string>& texts) {
  // One pass over the short line, as long as there is nothing to unescape.
  fields.clear();
  size_t start = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (c == '"' || c == '\\') {
      CsvSplit(line, texts);
      fields.assign(texts.begin(), texts.end());
      return;
    }
    if (c == ',') {
      fields.push_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  fields.push_back(line.substr(start));
}

namespace {

bool IsLineBreak(char c) { return c == '\r' || c == '\n'; }

// Appends field to line, quotes doubled when quoted, every kind of line break as "\n", and
// backslashes doubled where the reader would otherwise take them for part of an escape.
void AppendCsvField(std::string& line, std::string_view field, bool quoted) {
  if (quoted) line += '"';
  // Most fields hold nothing to escape and go in whole.
  if (std::none_of(field.begin(), field.end(), [](char c) { return c == '\\' || c == '"' || IsLineBreak(c); })) {
    line += field;
    if (quoted) line += '"';
    return;
  }
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

std::string SpreadsheetText(std::string_view text) {
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
    return "'" + std::string(text);
  }
  return std::string(text);
}

}  // namespace kzm
