#include "statement/StatementCsv.h"

namespace kzm {

char GuessSeparator(std::string_view text) {
  size_t commas = 0;
  size_t tabs = 0;
  int lines = 0;
  for (const char c : text) {
    if (c == ',') ++commas;
    else if (c == '\t') ++tabs;
    else if (c == '\n' && ++lines >= 20) break;
  }
  return tabs > commas ? '\t' : ',';
}

std::vector<TStatementRecord> SplitStatementRecords(std::string_view text, char separator) {
  std::vector<TStatementRecord> records;
  TStatementRecord record;
  std::string cell;
  bool quoted = false;
  bool any = false;  // some cell of the record holds text
  int line = 1;
  record.line = 1;
  auto endRecord = [&]() {
    if (!cell.empty()) any = true;
    record.cells.push_back(std::move(cell));
    cell.clear();
    if (any) records.push_back(std::move(record));
    record = {};
    record.line = line;
    any = false;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (quoted) {
      if (c == '"') {
        if (i + 1 < text.size() && text[i + 1] == '"') {
          cell += '"';
          ++i;
        } else {
          quoted = false;
        }
      } else {
        if (c == '\n') ++line;
        cell += c;
      }
      continue;
    }
    if (c == '"' && cell.empty()) {
      quoted = true;
    } else if (c == separator) {
      if (!cell.empty()) any = true;
      record.cells.push_back(std::move(cell));
      cell.clear();
    } else if (c == '\n' || (c == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n'))) {
      // A lone CR ends a line too, as files of old Macintosh programs have it.
      ++line;
      endRecord();
    } else if (c != '\r' && c != '\x1A') {
      cell += c;
    }
  }
  endRecord();
  return records;
}

}  // namespace kzm
