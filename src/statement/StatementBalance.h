#pragma once

// The balance column of a statement: whether the amounts move it as they say (a file whose
// columns were taken wrongly does not), the balance it ends with, and whether the passbook
// holds the same balance for the account on that day.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Dates.h"
#include "statement/StatementReader.h"

namespace kzm {

// A balance column that holds one figure on every row is taken as not filled in: it gives
// neither pairs nor a closing balance.
//
// Neighbouring rows whose balances both read, and how many of those pairs the amount between
// them explains, in the file's order or (newest first) in the reverse one, whichever fits more.
struct TBalanceFit {
  int pairs = 0;
  int agreeing = 0;
  bool newestFirst = false;
};
[[nodiscard]] TBalanceFit BalanceFit(const std::vector<TStatementRow>& rows);

// The balance the statement ends with: that of its latest row (the last of that day in the
// order the file keeps). False when no read row gives a balance.
struct TClosingBalance {
  TDayNumber day = 0;
  int32_t balance = 0;
};
[[nodiscard]] bool ClosingBalance(const std::vector<TStatementRow>& rows, TClosingBalance& closing);

// The passbook's balance of the asset account at the end of day, from the opening balance of
// the accounting month it falls in and the entries up to it. Moves the month data's day.
[[nodiscard]] int32_t PassbookBalance(const std::string& accountKey, TDayNumber day);

// "残高が一致しています: 123,456 (2026/07/31)" or "残高が一致しません: 帳簿 123,456 / 明細
// 124,000 (差 544)": the passbook's balance against the statement's.
[[nodiscard]] std::string BalanceCheckText(int32_t passbook, const TClosingBalance& statement);

}  // namespace kzm
