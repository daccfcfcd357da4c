#pragma once

// An accounting month against its budgets: per category the budget, what the month's entries
// came to (the category's month total exactly as the monthly view shows it), and what is
// left; the two helpers that propose budgets from past months.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "budget/Budgets.h"
#include "passbook/Categories.h"
#include "settlement/AccountingMonth.h"
#include "views/MonthTable.h"

namespace kzm {

struct TBudgetRow {
  std::string key;  // the category key
  std::optional<int32_t> budget;
  int64_t actual = 0;
  // budget − actual: what may still be spent, or for a receipt what is still expected.
  // Negative once over; 0 without a budget.
  [[nodiscard]] int64_t Left() const { return budget ? int64_t{*budget} - actual : 0; }
  [[nodiscard]] bool Over() const { return budget && Left() < 0; }
};

// Sums over the rows of one kind that have a budget.
struct TBudgetTotals {
  int64_t budget = 0;
  int64_t actual = 0;
  [[nodiscard]] int64_t Left() const { return budget - actual; }
};

struct TBudgetMonth {
  TMonthKey key = 0;
  TPeriod period;
  // Every payment category of the month's summary in its order, then every receipt category
  // that has a budget. A category the passbook no longer has shows only while the month's
  // entries use it; its budget is kept in the file all the same.
  std::vector<TBudgetRow> rows;
  TBudgetTotals spending;
  TBudgetTotals income;
};

// Summarises the open passbook's month with BuildMonth, as the monthly view does, and sets
// the budgets against it. saved (when given) is BuildMonth's result. Throws EkzmError when a
// settlement file cannot be read.
[[nodiscard]] TBudgetMonth BudgetMonth(TMonthKey key, const TBudgets& budgets, bool* saved = nullptr);

// A proposed budget per category.
struct TBudgetProposal {
  std::string key;
  int64_t amount = 0;
};
// The payment categories of month, each with what it came to in the month before.
[[nodiscard]] std::vector<TBudgetProposal> ProposeFromLastMonth(TMonthKey key);
// The payment categories of month, each with its average over the twelve months before,
// rounded to the nearest yen (halves away from zero).
[[nodiscard]] std::vector<TBudgetProposal> ProposeFromAverage(TMonthKey key);
// Sets every proposal from month on, except that a 0 is only set over an existing budget (a
// category that spent nothing does not gain a budget of 0).
void ApplyProposals(TBudgets& budgets, TMonthKey key, const std::vector<TBudgetProposal>& proposals);

// A budget typed into the budget window, read as the daily grid reads an amount: "," left
// out, small arithmetic evaluated ("3000*4+500"). Empty (blanks only) clears the budget.
// False for anything else (letters, "1.5", a result past 32 bits).
[[nodiscard]] bool ReadBudgetInput(std::string_view text, std::optional<int32_t>& amount);

// The budget lines of the monthly view's detail panel: "予算" and "残り" of categoryKey in
// month when it has a budget there, after monthTotal (the category's month total).
void AddBudgetLines(TMonthDetail& detail, const TBudgets& budgets, TMonthKey month, const std::string& categoryKey,
                    int64_t monthTotal);

}  // namespace kzm
