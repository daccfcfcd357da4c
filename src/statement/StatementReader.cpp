#include "statement/StatementReader.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <initializer_list>

#include "foundation/AtomicFile.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "foundation/Concat.h"
#include "statement/StatementAmounts.h"
#include "statement/StatementBalance.h"
#include "statement/StatementCsv.h"
#include "statement/StatementDates.h"
#include "statement/WidthFold.h"

namespace kzm {

namespace {

const char* const kNotRecognised =
    "明細の形式を認識できません。\n対応している銀行・カードの明細ではないか、列の並びを設定したプリセットが必要です。";

const char* const kZeroAmount = "金額が0円です";

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

// Words that statements use in the names of their columns.
const char* const kHeaderWords[] = {"日付", "年月日", "取引日", "利用日", "金額", "摘要", "残高", "残額", "内容",
                                    "入金", "出金", "引出", "預入", "預り", "支払", "利用", "区分", "取引", "明細"};

bool IsDateCell(const std::string& cell) {
  const TStatementDate date = ReadStatementDate(cell);
  return date.day != 0 || date.yearMissing;
}

// A line that names columns rather than holding a row: no cell is a date, and two or more
// cells hold words that column names use.
bool LooksLikeHeader(const TStatementRecord& record) {
  int named = 0;
  for (const std::string& cell : record.cells) {
    if (IsDateCell(cell)) return false;
    const std::string folded = NormaliseStatementText(cell);
    const bool word = std::any_of(std::begin(kHeaderWords), std::end(kHeaderWords),
                                  [&](const char* w) { return folded.find(w) != std::string::npos; });
    if (word) ++named;
  }
  return named >= 2;
}

bool Holds(const std::string& cell, std::initializer_list<const char*> words) {
  const std::string folded = NormaliseStatementText(cell);
  return std::any_of(words.begin(), words.end(), [&](const char* w) { return folded.find(w) != std::string::npos; });
}

// "26/8": a billing month as two digits of the year and the month.
bool IsShortYearMonth(const std::string& cell) {
  const std::string folded = NormaliseStatementText(cell);
  const size_t slash = folded.find('/');
  if (slash != 2 || folded.size() < 4 || folded.size() > 5) return false;
  const auto digits = [](std::string_view part) {
    return std::all_of(part.begin(), part.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  const int month = std::atoi(folded.c_str() + 3);
  return digits(std::string_view(folded).substr(0, 2)) && digits(std::string_view(folded).substr(3)) && month >= 1 &&
         month <= 12;
}

// Whether a record has the shape a headerless card layout asks for (when it asks for one).
bool HasCardShape(const TStatementRecord& record, const TColumns& columns) {
  if (columns.who < 0) return true;
  return Holds(Cell(record, columns.who), {"本人", "家族"}) &&
         Holds(Cell(record, columns.plan), {"回払", "リボ", "ボーナス", "分割"}) &&
         IsShortYearMonth(Cell(record, columns.billed));
}

// A record whose date and amount columns read as a row.
bool LooksLikeRow(const TStatementRecord& record, const TColumns& columns) {
  const TStatementDate date = ReadStatementDate(Cell(record, columns.date));
  if (date.day == 0 && !date.yearMissing) return false;
  if (!HasCardShape(record, columns)) return false;
  int32_t value = 0;
  if (columns.signed_ >= 0) return ReadStatementAmount(Cell(record, columns.signed_), value) == TAmountRead::arValue;
  const TAmountRead out = ReadStatementAmount(Cell(record, columns.out), value);
  const TAmountRead in = ReadStatementAmount(Cell(record, columns.in), value);
  return out != TAmountRead::arBad && in != TAmountRead::arBad &&
         (out == TAmountRead::arValue || in == TAmountRead::arValue);
}

// Whether a line after the skipped ones, among the searched ones, names columns.
bool HeaderAfter(const std::vector<TStatementRecord>& records, size_t first) {
  for (size_t r = first; r < records.size() && records[r].line <= kHeaderSearchLines; ++r) {
    if (LooksLikeHeader(records[r])) return true;
  }
  return false;
}

// A layout without header fits when, after its skipped lines and any preamble, its first
// rows (up to three) all read as rows, and no line it does not skip looks like a header: a
// file whose columns are named is not one whose columns may be guessed by number (guessing
// booked a bank's deposits as spending).
bool FindHeaderlessLayout(const std::vector<TStatementRecord>& records,
                          const std::vector<TStatementLayout>& layouts, TFound& found) {
  for (const TStatementLayout& layout : layouts) {
    if (!layout.signature.empty() || layout.byNames) continue;
    TColumns columns;
    if (!ResolveColumns(layout, {}, columns)) continue;
    size_t first = 0;
    while (first < records.size() && records[first].line <= layout.skipLines) ++first;
    if (HeaderAfter(records, first)) continue;
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

// The columns found by name as a numbered layout, which the column mapping starts from.
TStatementLayout NumberedMapping(const TFound& found, const TStatementRecord& header) {
  const TColumns& c = found.columns;
  return {.name = {},
          .signature = header.cells,
          .date = {{}, c.date},
          .text = {{}, c.text},
          .out = {{}, c.out},
          .in = {{}, c.in},
          .signed_ = {{}, c.signed_},
          .spendingPositive = found.layout->spendingPositive,
          .skipLines = header.line};
}

std::string JoinCells(const TStatementRecord& record) {
  std::string joined;
  for (size_t i = 0; i < record.cells.size(); ++i) {
    if (i > 0) joined += ',';
    joined += record.cells[i];
  }
  return joined;
}

bool KindListed(const std::vector<std::string>& kinds, const std::string& kind) {
  return std::any_of(kinds.begin(), kinds.end(), [&](const std::string& k) { return NormaliseStatementText(k) == kind; });
}

bool IsMoveKind(const TStatementLayout& layout, const std::string& kind) {
  return !layout.moveSuffix.empty() && kind.ends_with(NormaliseStatementText(layout.moveSuffix));
}

// The row's amount from its columns; an empty string when it reads, else why not.
std::string ReadAmount(const TStatementRecord& record, const TColumns& columns, const TStatementLayout& layout,
                       int32_t& amount) {
  const bool spendingPositive = layout.spendingPositive;
  if (columns.currency >= 0) {
    const std::string currency = NormaliseStatementText(Cell(record, columns.currency));
    if (!currency.empty() && currency != "JPY" && currency != "円") return "円以外の通貨です（" + currency + "）";
  }
  if (columns.kind >= 0) {
    const std::string& cell = Cell(record, columns.signed_);
    if (ReadStatementAmount(cell, amount) != TAmountRead::arValue) return "金額を読めません（" + cell + "）";
    const std::string kind = NormaliseStatementText(Cell(record, columns.kind));
    if (KindListed(layout.inKinds, kind)) {
      amount = amount < 0 ? -amount : amount;
    } else if (KindListed(layout.outKinds, kind)) {
      amount = amount < 0 ? amount : -amount;
    } else if (IsMoveKind(layout, kind)) {
      // A balance carried onto this card, unless the file writes it as leaving.
    } else {
      return "入金か出金かわかりません（" + Cell(record, columns.kind) + "）";
    }
  } else if (columns.signed_ >= 0) {
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
  if (amount == 0) return kZeroAmount;
  if (amount == INT32_MIN) return "金額が大きすぎます";
  return {};
}

// A line with no digit in its date column is a heading, a total or a note, not a row.
bool HasDateDigits(const std::string& cell) {
  const std::string folded = FoldWidth(cell);
  return std::any_of(folded.begin(), folded.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
         folded.find("元") != std::string::npos;
}

// The date cell, or the year, month and day cells joined into one.
std::string DateCell(const TStatementRecord& record, const TColumns& columns) {
  if (columns.month < 0) return Cell(record, columns.date);
  return Cell(record, columns.date) + "/" + Cell(record, columns.month) + "/" + Cell(record, columns.dayOfMonth);
}

std::string RowText(const TStatementRecord& record, const TColumns& columns, const TStatementLayout& layout) {
  std::string text(Trim(Cell(record, columns.text)));
  const std::string_view more = Trim(Cell(record, columns.text2));
  if (layout.rides) {
    if (!text.empty() && !more.empty()) return text + "→" + std::string(more);
    const std::string_view note = Trim(Cell(record, columns.note));
    if (!note.empty()) return std::string(note);
  }
  if (!more.empty()) text += (text.empty() ? "" : " ") + std::string(more);
  if (text.empty()) text = Trim(Cell(record, columns.note));
  return text;
}

// The account a charge came from, as the default categories name them: a bank, points, a
// credit card (an automatic charge is made from one), else cash at a machine.
std::string ChargeSourceAccount(const std::string& said) {
  const std::string folded = NormaliseStatementText(said);
  if (folded.find("銀行") != std::string::npos) return "銀行";
  if (folded.find("ポイント") != std::string::npos) return "ポイント";
  for (const char* card : {"クレジット", "オート", "カード"}) {
    if (folded.find(card) != std::string::npos) return "カード";
  }
  return "現金";
}

bool NoteSaysCharge(const TStatementLayout& layout, const std::string& note) {
  const std::string folded = NormaliseStatementText(note);
  return std::any_of(layout.chargeNotes.begin(), layout.chargeNotes.end(),
                     [&](const std::string& word) { return folded.find(NormaliseStatementText(word)) != std::string::npos; });
}

// The person's own account a row moves money from (a charge, a balance from another card);
// empty for spending and income.
std::string MoveAccount(const TStatementRecord& record, const TColumns& columns, const TStatementLayout& layout,
                        const std::string& kind, int32_t amount) {
  const bool hasKind = columns.kind >= 0;
  const std::string& note = Cell(record, columns.note);
  if ((layout.chargeIn && amount > 0) || (hasKind && KindListed(layout.chargeKinds, kind)) ||
      (amount > 0 && NoteSaysCharge(layout, note))) {
    return ChargeSourceAccount((columns.chargeSource >= 0 ? Cell(record, columns.chargeSource) : note) + kind);
  }
  return hasKind && IsMoveKind(layout, kind) ? "電子マネー" : "";
}

TStatementRow ReadRow(const TStatementRecord& record, const TColumns& columns, const TStatementLayout& layout) {
  TStatementRow row;
  row.line = record.line;
  row.cells = JoinCells(record);
  row.text = RowText(record, columns, layout);
  row.sourceId = std::string(Trim(Cell(record, columns.id)));
  row.hasBalance = columns.balance >= 0 &&
                   ReadStatementAmount(Cell(record, columns.balance), row.balance) == TAmountRead::arValue;
  const std::string dateCell = DateCell(record, columns);
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
  const std::string kind = NormaliseStatementText(Cell(record, columns.kind));
  if (columns.kind >= 0 && KindListed(layout.noMoneyKinds, kind)) {
    row.problem = "お金の動きなし（" + kind + "）";
    row.noMoney = true;
    return row;
  }
  row.problem = ReadAmount(record, columns, layout, row.amount);
  row.moveAccount = MoveAccount(record, columns, layout, kind, row.amount);
  if (layout.zeroIsRecord && row.amount == 0 && row.problem == kZeroAmount) {
    row.problem = "0円の記録（お金の動きなし）";
    row.noMoney = true;
  }
  return row;
}

// The days of rows with month and day only, chained: the first the latest such day not
// after issued, each next one nearest to the one before. A chain that runs past issued (a
// file in date order from December into January) starts a year earlier.
std::vector<TDayNumber> ChainFromIssue(const std::vector<int>& monthDays, TDayNumber issued) {
  std::vector<TDayNumber> days(monthDays.size(), 0);
  TDayNumber start = LatestDateNotAfter(monthDays[0] / 100, monthDays[0] % 100, issued);
  for (int attempt = 0; attempt < 3 && start != 0; ++attempt) {
    TDayNumber previous = start;
    TDayNumber latest = start;
    days[0] = start;
    for (size_t k = 1; k < monthDays.size(); ++k) {
      days[k] = NearestDate(monthDays[k] / 100, monthDays[k] % 100, previous);
      if (days[k] != 0) previous = days[k];
      latest = std::max(latest, days[k]);
    }
    if (latest <= issued) break;
    start = LatestDateNotAfter(monthDays[0] / 100, monthDays[0] % 100, start - 1);
  }
  return days;
}

// Rows with month and day only take the year that puts them nearest to a dated row around
// them. In a file without any year, no row may fall after the statement was made (a
// download holds no future): the end of the month a preamble line names, else today.
void InferYears(std::vector<TStatementRow>& rows, TDayNumber named) {
  std::vector<size_t> yearless;
  std::vector<int> monthDays;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (!rows[i].yearInferred || rows[i].date >= 0) continue;
    yearless.push_back(i);
    monthDays.push_back(-rows[i].date);
  }
  if (yearless.empty()) return;
  std::vector<TDayNumber> days(yearless.size(), 0);
  if (std::none_of(rows.begin(), rows.end(), [](const TStatementRow& row) { return row.date > 0; })) {
    TDayNumber issued = Today();
    if (named != 0) {
      const TYmd month = DecodeDate(named);
      issued = EncodeDate(month.year, month.month, DaysInMonth(month.year, month.month));
    }
    days = ChainFromIssue(monthDays, issued);
  } else {
    std::vector<TDayNumber> nextDated(rows.size() + 1, 0);
    for (size_t i = rows.size(); i-- > 0;) nextDated[i] = rows[i].date > 0 ? rows[i].date : nextDated[i + 1];
    TDayNumber previous = 0;
    size_t k = 0;
    for (size_t i = 0; i < rows.size() && k < yearless.size(); ++i) {
      if (rows[i].date > 0) previous = rows[i].date;
      if (i != yearless[k]) continue;
      const TDayNumber reference = previous != 0 ? previous : nextDated[i];
      days[k] = NearestDate(monthDays[k] / 100, monthDays[k] % 100, reference);
      ++k;
    }
  }
  for (size_t k = 0; k < yearless.size(); ++k) {
    TStatementRow& row = rows[yearless[k]];
    row.date = days[k];
    if (row.date == 0 && row.problem.empty()) row.problem = "日付を読めません（" + row.cells + "）";
  }
}

// Rows the layout cannot read, or amounts that do not move the balance column as they say,
// mean the file is not what the layout takes it for: refused rather than half-read.
bool CheckRowsFitLayout(TStatement& statement, bool ownSideColumns, std::string& error) {
  const std::string as = "（形式「" + statement.layoutName + "」として読みました）";
  int rows = 0;
  int readable = 0;
  for (const TStatementRow& row : statement.rows) {
    if (row.noMoney) continue;
    ++rows;
    if (row.Readable()) ++readable;
  }
  if (readable == 0) {
    error = "明細の行がひとつも読めません" + as + "。";
    return false;
  }
  if (readable * 2 < rows) {
    error = Concat({"明細の行の半分以上が読めません（", std::to_string(rows), "行のうち", std::to_string(rows - readable),
                    "行）", as, "。\n", UnbookedReasons(statement.rows)});
    return false;
  }
  const TBalanceFit fit = BalanceFit(statement.rows);
  if (fit.pairs >= 2 && fit.agreeing * 2 < fit.pairs) {
    const std::string disagreement = Concat({"金額と残高の動きが合いません（", std::to_string(fit.pairs), "組のうち",
                                             std::to_string(fit.agreeing), "組だけが合います）"});
    if (ownSideColumns) {
      statement.balanceWarning = disagreement + "。入金と出金はそれぞれの列のとおりに読みました。";
      return true;
    }
    error = disagreement + as + "。\n金額の列や入金・出金の向きが違う明細です。";
    return false;
  }
  return true;
}

}  // namespace

std::string UnbookedReasons(const std::vector<TStatementRow>& rows) {
  std::vector<std::pair<std::string, int>> reasons;
  for (const TStatementRow& row : rows) {
    if (row.Readable()) continue;
    // The reason without the cell it quotes, so that rows of one fault are counted together.
    const std::string reason = row.problem.substr(0, row.problem.find("（"));
    const auto found = std::find_if(reasons.begin(), reasons.end(), [&](const auto& r) { return r.first == reason; });
    if (found != reasons.end()) {
      ++found->second;
    } else {
      reasons.emplace_back(reason, 1);
    }
  }
  std::string text;
  for (const auto& [reason, count] : reasons) text += (text.empty() ? "" : ", ") + reason + " " + std::to_string(count);
  return text;
}

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
  if (found.layout->byNames) {
    statement.foundByNames = true;
    statement.mapping = NumberedMapping(found, records[found.firstRow - 1]);
  }
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
    if (blank || !HasDateDigits(DateCell(record, found.columns))) {
      ++statement.passedOver;
      continue;
    }
    statement.rows.push_back(ReadRow(record, found.columns, *found.layout));
  }
  InferYears(statement.rows, named);
  const TColumns& columns = found.columns;
  const bool ownSideColumns = columns.out >= 0 && columns.in >= 0 && columns.kind < 0 && !found.layout->byNames;
  return CheckRowsFitLayout(statement, ownSideColumns, error);
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
