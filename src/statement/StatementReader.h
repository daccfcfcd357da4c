#pragma once

// Reading a bank or card statement file into rows: the encoding sniffed, the layout
// recognised from the file's first lines (never from its name), preamble and summary lines
// passed over. A row that cannot be read is kept with the reason, so that it can be shown,
// and is never booked.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Dates.h"
#include "statement/StatementCsv.h"
#include "statement/StatementEncoding.h"
#include "statement/StatementLayout.h"

namespace kzm {

// Larger than any statement a bank hands out (a year of a busy account is some 100 KB).
constexpr size_t kMaxStatementFileSize = 16 * 1024 * 1024;

// The recognition looks for a header line among this many lines (some cards put a summary
// of twenty lines before theirs).
constexpr int kHeaderSearchLines = 60;

struct TStatementRow {
  int line = 0;  // the file's line (from 1)
  TDayNumber date = 0;
  bool yearInferred = false;  // the file gave month and day only
  int32_t amount = 0;         // negative: left the account; positive: came in
  std::string text;           // as the file has it, blanks at the ends removed
  std::string sourceId;       // the bank's id of the row, empty when it gives none
  std::string problem;        // why the row is not booked; empty for a readable row
  std::string cells;          // the row's cells joined by ",", to show an unreadable row
  // The row records something that moved no money (a 0-yen gate record): not booked, with
  // the reason in problem, but no fault of the file.
  bool noMoney = false;
  // The row moves money between the account and another of the person's own (a charge):
  // that account's name, booked as a move unless a rule or the person says otherwise.
  std::string moveAccount;
  bool hasBalance = false;    // the file gives the balance after the row
  int32_t balance = 0;
  [[nodiscard]] bool Readable() const { return problem.empty(); }
};

// Why rows are not booked, each reason once with its count ("金額を読めません 2, 0円の記録 1"),
// in the order they first occur; empty when every row is read.
[[nodiscard]] std::string UnbookedReasons(const std::vector<TStatementRow>& rows);

struct TStatement {
  std::string layoutName;
  TStatementEncoding encoding = TStatementEncoding::seCp932;
  bool spendingPositive = false;  // a card file
  std::vector<TStatementRow> rows;
  int passedOver = 0;  // preamble and summary lines
  // Set when reading failed only because no layout fits the file: the user may map its columns.
  bool layoutUnknown = false;
  // The columns were found by their names, not by a layout made for this bank's files: the
  // same columns by number (the header line's cells and line number as its header and
  // lines to skip, no name yet), for the person to correct and keep as a preset.
  bool foundByNames = false;
  TStatementLayout mapping;
  // The balance column does not follow the amounts, but the file gives each side a column of
  // its own, so the rows are read as those columns say (a filtered export, a day's rows in
  // another order than the bank kept them): what to tell the person; empty when it follows.
  std::string balanceWarning;
};

// Reads bytes with the first of layouts the file matches (header layouts are tried line by
// line; those without a header only when no line looks like a header). False, with the
// reason for the user in error, for what is no statement: no text, no layout recognised, not
// one readable row, most rows unreadable, or amounts that do not follow the balance column
// when the sides are inferred (a signed column, a kind column, columns found by their names:
// they are not what the layout says they are). A known layout's own out and in columns are
// read as they are, with balanceWarning set.
[[nodiscard]] bool ReadStatementBytes(std::string_view bytes, const std::vector<TStatementLayout>& layouts,
                                      TStatement& statement, std::string& error);

// The same for a file, refusing one larger than kMaxStatementFileSize before reading it.
// error names the file.
[[nodiscard]] bool ReadStatementFile(const std::string& path, const std::vector<TStatementLayout>& layouts,
                                     TStatement& statement, std::string& error);

// The first records of a statement file (at most count), decoded, for the user to say which
// column holds what. False, with the reason in error, for a file that cannot be read or is
// no text.
[[nodiscard]] bool ReadStatementHead(const std::string& path, int count, std::vector<TStatementRecord>& records,
                                     std::string& error);

}  // namespace kzm
