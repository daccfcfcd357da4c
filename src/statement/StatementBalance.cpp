#include "statement/StatementBalance.h"

#include <cstdlib>

#include "foundation/Concat.h"
#include "foundation/Text.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"
#include "settlement/MonthSetup.h"

namespace kzm {

namespace {

// Rows whose balance counts: read rows and 0-yen records, which leave it where it was.
bool Counts(const TStatementRow& row) { return row.hasBalance && (row.Readable() || row.noMoney); }

// Some files carry the column but fill every row with the same figure (0, or the balance of
// the day the file was made): a column that never moves says nothing about the rows.
bool ColumnMoves(const std::vector<TStatementRow>& rows) {
  const TStatementRow* first = nullptr;
  int counted = 0;
  for (const TStatementRow& row : rows) {
    if (!Counts(row)) continue;
    if (first == nullptr) first = &row;
    if (row.balance != first->balance) return true;
    ++counted;
  }
  return counted < 2;
}

}  // namespace

TBalanceFit BalanceFit(const std::vector<TStatementRow>& rows) {
  TBalanceFit fit;
  if (!ColumnMoves(rows)) return fit;
  int forward = 0;
  int backward = 0;
  const TStatementRow* previous = nullptr;
  for (const TStatementRow& row : rows) {
    if (!Counts(row)) {
      // A pair across a row that is not read would disagree through no fault of the columns.
      if (!row.Readable() && !row.noMoney) previous = nullptr;
      continue;
    }
    if (previous != nullptr) {
      ++fit.pairs;
      if (int64_t{previous->balance} + row.amount == row.balance) ++forward;
      if (int64_t{row.balance} + previous->amount == previous->balance) ++backward;
    }
    previous = &row;
  }
  fit.newestFirst = backward > forward;
  fit.agreeing = fit.newestFirst ? backward : forward;
  return fit;
}

bool ClosingBalance(const std::vector<TStatementRow>& rows, TClosingBalance& closing) {
  if (!ColumnMoves(rows)) return false;
  const bool newestFirst = BalanceFit(rows).newestFirst;
  bool found = false;
  for (const TStatementRow& row : rows) {
    if (!Counts(row)) continue;
    // Later in the file wins a tie, unless the file runs from the newest row back.
    const bool later = !found || row.date > closing.day || (row.date == closing.day && !newestFirst);
    if (later) closing = {row.date, row.balance};
    found = true;
  }
  return found;
}

int32_t PassbookBalance(const std::string& accountKey, TDayNumber day) {
  TkzmDataUnit& data = CurrentMonthData();
  const int32_t kept = data.CurrentDay();
  // The balance at the end of day is what the month after day's month opens with, counted
  // up to the day after.
  const int32_t balance = PreviousMonthBalance(NextMonthKey(MonthOfDay(day)), day + 1, accountKey);
  if (kept != 0) data.SelectDay(kept);
  return balance;
}

std::string BalanceCheckText(int32_t passbook, const TClosingBalance& statement) {
  if (passbook == statement.balance) {
    return Concat({"残高が一致しています: ", FormatThousands(passbook), " (", FormatDateSlashed(statement.day), ")"});
  }
  const int64_t difference = std::llabs(int64_t{statement.balance} - passbook);
  return Concat({"残高が一致しません: 帳簿 ", FormatThousands(passbook), " / 明細 ", FormatThousands(statement.balance),
                 " (差 ", FormatThousands(difference), ")"});
}

}  // namespace kzm
