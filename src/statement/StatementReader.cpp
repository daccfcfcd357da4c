#include "statement/StatementReader.h"

#include <algorithm>
#include <cerrno>

#include "foundation/AtomicFile.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "statement/StatementAmounts.h"
#include "statement/StatementCsv.h"
#include "statement/StatementDates.h"
#include "statement/WidthFold.h"

namespace kzm {

namespace {

const char* const kNotRecognised =
    "明細の形式を認識できません。\n対応している銀行・カードの明細ではないか、列の並びを設定したプリセットが必要です。";

struct TFound {
  const TStatementLayout* layout = nullptr;
  TColumns columns;
  size_t firstRow = 0;  // index of the first record after the header or preamble
};

const std::string& Cell(const TStatementRecord& record, int column) {
  static const std::string empty;
  if (column < 0 || static_cast<size_t>(column) >= record.cells.size()) return empty;
  return record.cells[static_cast<size_t>(column)];
}

bool FindHeaderLayout(const std::vector<TStatementRecord>& records, const std::vector<TStatementLayout>& layouts,
                      TFound& found) {
  const size_t limit = std::min(records.size(), static_cast<size_t>(kHeaderSearchLines));
  for (size_t r = 0; r < limit && records[r].line <= kHeaderSearchLines; ++r) {
    for (const TStatementLayout& layout : layouts) {
      if (!MatchesSignature(layout, records[r].cells)) continue;
      if (!ResolveColumns(layout, records[r].cells, found.columns)) continue;
      found.layout = &layout;
      found.firstRow = r + 1;
      return true;
    }
  }
  return false;
}

// A record whose date and amount columns read as a row.
bool LooksLikeRow(const TStatementRecord& record, const TColumns& columns) {
  const TStatementDate date = ReadStatementDate(Cell(record, columns.date));
  if (date.day == 0 && !date.yearMissing) return false;
  int32_t value = 0;
  if (columns.signed_ >= 0) return ReadStatementAmount(Cell(record, columns.signed_), value) == TAmountRead::arValue;
  const TAmountRead out = ReadStatementAmount(Cell(record, columns.out), value);
  const TAmountRead in = ReadStatementAmount(Cell(record, columns.in), value);
  return out != TAmountRead::arBad && in != TAmountRead::arBad &&
         (out == TAmountRead::arValue || in == TAmountRead::arValue);
}

// A layout without header fits when, after its skipped lines and any preamble, its first
// rows (up to three) all read as rows.
bool FindHeaderlessLayout(const std::vector<TStatementRecord>& records,
                          const std::vector<TStatementLayout>& layouts, TFound& found) {
  for (const TStatementLayout& layout : layouts) {
    if (!layout.signature.empty()) continue;
    TColumns columns;
    if (!ResolveColumns(layout, {}, columns)) continue;
    size_t first = 0;
    while (first < records.size() && records[first].line <= layout.skipLines) ++first;
    while (first < records.size() && records[first].line <= kHeaderSearchLines &&
           !LooksLikeRow(records[first], columns)) {
      ++first;
    }
    if (first >= records.size() || records[first].line > kHeaderSearchLines) continue;
    const size_t probe = std::min(records.size(), first + 3);
    bool rows = true;
    for (size_t r = first; r < probe; ++r) rows = rows && LooksLikeRow(records[r], columns);
    if (!rows) continue;
    found.layout = &layout;
    found.columns = columns;
    found.firstRow = first;
    return true;
  }
  return false;
}

std::string JoinCells(const TStatementRecord& record) {
  std::string joined;
  for (size_t i = 0; i < record.cells.size(); ++i) {
    if (i > 0) joined += ',';
    joined += record.cells[i];
  }
  return joined;
}

// The row's amount from its columns; an empty string when it reads, else why not.
std::string ReadAmount(const TStatementRecord& record, const TColumns& columns, bool spendingPositive,
                       int32_t& amount) {
  if (columns.signed_ >= 0) {
    const std::string& cell = Cell(record, columns.signed_);
    const TAmountRead read = ReadStatementAmount(cell, amount);
    if (read == TAmountRead::arEmpty) return "金額がありません";
    if (read == TAmountRead::arBad) return "金額を読めません（" + cell + "）";
    if (spendingPositive) amount = -amount;
  } else {
    int32_t out = 0;
    int32_t in = 0;
    const TAmountRead outRead = ReadStatementAmount(Cell(record, columns.out), out);
    const TAmountRead inRead = ReadStatementAmount(Cell(record, columns.in), in);
    if (outRead == TAmountRead::arBad) return "出金の金額を読めません（" + Cell(record, columns.out) + "）";
    if (inRead == TAmountRead::arBad) return "入金の金額を読めません（" + Cell(record, columns.in) + "）";
    if (outRead == TAmountRead::arEmpty && inRead == TAmountRead::arEmpty) return "金額がありません";
    if (out != 0 && in != 0) return "出金と入金の両方に金額があります";
    amount = out != 0 ? -out : in;
  }
  if (amount == 0) return "金額が0円です";
  if (amount == INT32_MIN) return "金額が大きすぎます";
  return {};
}

// A line with no digit in its date column is a heading, a total or a note, not a row.
bool HasDateDigits(const std::string& cell) {
  const std::string folded = FoldWidth(cell);
  return std::any_of(folded.begin(), folded.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
         folded.find("元") != std::string::npos;
}

TStatementRow ReadRow(const TStatementRecord& record, const TColumns& columns, bool spendingPositive) {
  TStatementRow row;
  row.line = record.line;
  row.cells = JoinCells(record);
  row.text = std::string(Trim(Cell(record, columns.text)));
  row.sourceId = std::string(Trim(Cell(record, columns.id)));
  const std::string& dateCell = Cell(record, columns.date);
  const TStatementDate date = ReadStatementDate(dateCell);
  if (date.day == 0 && !date.yearMissing) {
    row.problem = "日付を読めません（" + dateCell + "）";
    return row;
  }
  row.date = date.day;
  row.yearInferred = date.yearMissing;
  if (date.yearMissing) {
    // The year is filled in once every row is read; the month and day wait in the amount.
    row.date = -(date.month * 100 + date.dayOfMonth);
  }
  row.problem = ReadAmount(record, columns, spendingPositive, row.amount);
  return row;
}

// Rows with month and day only take the year that puts them nearest to a dated row around
// them, else to the month a preamble line names, else to today.
void InferYears(std::vector<TStatementRow>& rows, TDayNumber named) {
  TDayNumber previous = 0;
  std::vector<TDayNumber> nextDated(rows.size() + 1, 0);
  for (size_t i = rows.size(); i-- > 0;) {
    nextDated[i] = rows[i].date > 0 ? rows[i].date : nextDated[i + 1];
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    TStatementRow& row = rows[i];
    if (row.date > 0) previous = row.date;
    if (!row.yearInferred || row.date >= 0) continue;
    const int monthDay = -row.date;
    TDayNumber reference = previous != 0 ? previous : nextDated[i];
    if (reference == 0) reference = named != 0 ? named : Today();
    row.date = NearestDate(monthDay / 100, monthDay % 100, reference);
    if (row.date == 0 && row.problem.empty()) row.problem = "日付を読めません（" + row.cells + "）";
  }
}

}  // namespace

bool ReadStatementBytes(std::string_view bytes, const std::vector<TStatementLayout>& layouts, TStatement& statement,
                        std::string& error) {
  statement = {};
  std::string text;
  if (!DecodeStatementBytes(bytes, text, statement.encoding, error)) return false;
  const std::vector<TStatementRecord> records = SplitStatementRecords(text, GuessSeparator(text));
  TFound found;
  if (!FindHeaderLayout(records, layouts, found) && !FindHeaderlessLayout(records, layouts, found)) {
    error = kNotRecognised;
    statement.layoutUnknown = true;
    return false;
  }
  statement.layoutName = found.layout->name;
  statement.spendingPositive = found.layout->spendingPositive;
  TDayNumber named = 0;
  for (size_t r = 0; r < found.firstRow && named == 0; ++r) {
    for (const std::string& cell : records[r].cells) {
      if (named == 0) named = DateNamedInText(cell);
    }
  }
  statement.passedOver = static_cast<int>(found.firstRow);
  for (size_t r = found.firstRow; r < records.size(); ++r) {
    const TStatementRecord& record = records[r];
    const bool blank = std::all_of(record.cells.begin(), record.cells.end(),
                                   [](const std::string& cell) { return Trim(cell).empty(); });
    if (blank || !HasDateDigits(Cell(record, found.columns.date))) {
      ++statement.passedOver;
      continue;
    }
    statement.rows.push_back(ReadRow(record, found.columns, found.layout->spendingPositive));
  }
  InferYears(statement.rows, named);
  if (std::none_of(statement.rows.begin(), statement.rows.end(), [](const TStatementRow& row) { return row.Readable(); })) {
    error = "明細の行がひとつも読めません（形式「" + statement.layoutName + "」として読みました）。";
    return false;
  }
  return true;
}

namespace {

bool ReadFileBytes(const std::string& path, std::string& bytes, std::string& error) {
  int code = 0;
  const std::string head = "明細ファイル「" + path + "」を読み込めません。\n";
  switch (ReadFileUpTo(path, kMaxStatementFileSize, bytes, &code)) {
    case TReadStatus::rsRead: return true;
    case TReadStatus::rsMissing: error = head + "ファイルがありません。"; return false;
    case TReadStatus::rsTooLarge: error = head + "ファイルが大きすぎます（明細として読めるのは16 MBまでです）。"; return false;
    case TReadStatus::rsFailed: error = head + SystemErrorText(code); return false;
  }
  return false;
}

}  // namespace

bool ReadStatementFile(const std::string& path, const std::vector<TStatementLayout>& layouts, TStatement& statement,
                       std::string& error) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  if (!ReadStatementBytes(bytes, layouts, statement, error)) {
    error = "明細ファイル「" + path + "」を読み込めません。\n" + error;
    return false;
  }
  return true;
}

bool ReadStatementHead(const std::string& path, int count, std::vector<TStatementRecord>& records,
                       std::string& error) {
  records.clear();
  std::string bytes;
  if (!ReadFileBytes(path, bytes, error)) return false;
  std::string text;
  TStatementEncoding encoding = TStatementEncoding::seCp932;
  if (!DecodeStatementBytes(bytes, text, encoding, error)) {
    error = "明細ファイル「" + path + "」を読み込めません。\n" + error;
    return false;
  }
  records = SplitStatementRecords(text, GuessSeparator(text));
  if (records.size() > static_cast<size_t>(std::max(0, count))) records.resize(static_cast<size_t>(std::max(0, count)));
  return true;
}

}  // namespace kzm
