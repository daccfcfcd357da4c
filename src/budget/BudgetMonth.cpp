#include "budget/BudgetMonth.h"

#include <map>

#include "foundation/Text.h"
#include "passbook/AmountExpression.h"
#include "report/YearReport.h"

namespace kzm {

namespace {

void AddTo(TBudgetTotals& totals, const TBudgetRow& row) {
  if (!row.budget) return;
  totals.budget += *row.budget;
  totals.actual += row.actual;
}

// The payment categories of the month's summary with the total of each.
std::vector<TBudgetProposal> PaymentTotals(TMonthKey key) {
  THeadList summary;
  (void)BuildMonth(key, summary);
  std::vector<TBudgetProposal> totals;
  for (int c = 0; c < summary.Count(); ++c) {
    if (summary.KindOf(c) == kKindPayment) totals.push_back({summary.Items(c).key, summary.Items(c).total});
  }
  return totals;
}

// The month's rows from its summary (as BuildMonth makes it) and the budgets.
TBudgetMonth BudgetRowsOf(TMonthKey key, const THeadList& summary, const TBudgets& budgets) {
  TBudgetMonth month;
  month.key = key;
  month.period = {summary.First(), summary.Last()};
  for (int kind : {kKindPayment, kKindReceipt}) {
    for (int c = 0; c < summary.Count(); ++c) {
      if (summary.KindOf(c) != kind) continue;
      TBudgetRow row{summary.Items(c).key, budgets.BudgetOf(summary.Items(c).key, key), summary.Items(c).total};
      if (kind == kKindReceipt && !row.budget) continue;
      AddTo(kind == kKindPayment ? month.spending : month.income, row);
      month.rows.push_back(std::move(row));
    }
  }
  return month;
}

}  // namespace

TBudgetMonth BudgetMonth(TMonthKey key, const TBudgets& budgets, bool* saved) {
  THeadList summary;
  const bool ok = BuildMonth(key, summary);
  if (saved) *saved = ok;
  return BudgetRowsOf(key, summary, budgets);
}

std::vector<TBudgetProposal> ProposeFromLastMonth(TMonthKey key) {
  const std::vector<TBudgetProposal> last = PaymentTotals(PrevMonthKey(key));
  std::map<std::string, int32_t> byKey;
  for (const TBudgetProposal& p : last) byKey[p.key] = p.amount;
  std::vector<TBudgetProposal> proposals = PaymentTotals(key);
  for (TBudgetProposal& p : proposals) p.amount = byKey.contains(p.key) ? byKey[p.key] : 0;
  return proposals;
}

std::vector<TBudgetProposal> ProposeFromAverage(TMonthKey key) {
  constexpr int kMonths = 12;
  std::map<std::string, int64_t> sums;
  TMonthKey month = key;
  for (int i = 0; i < kMonths; ++i) {
    month = PrevMonthKey(month);
    for (const TBudgetProposal& p : PaymentTotals(month)) sums[p.key] += p.amount;
  }
  std::vector<TBudgetProposal> proposals = PaymentTotals(key);
  for (TBudgetProposal& p : proposals) p.amount = static_cast<int32_t>(RoundedAverage(sums[p.key], kMonths));
  return proposals;
}

void ApplyProposals(TBudgets& budgets, TMonthKey key, const std::vector<TBudgetProposal>& proposals) {
  for (const TBudgetProposal& p : proposals) {
    if (p.amount == 0 && !budgets.BudgetOf(p.key, key)) continue;
    budgets.Set(p.key, key, p.amount);
  }
}

bool ReadBudgetInput(std::string_view text, std::optional<int32_t>& amount) {
  if (Trim(text).empty()) {
    amount.reset();
    return true;
  }
  const std::optional<int32_t> value = ReadTypedAmount(text);
  if (!value) return false;
  amount = value;
  return true;
}

void AddBudgetLines(TMonthDetail& detail, const TBudgets& budgets, TMonthKey month, const std::string& categoryKey,
                    int64_t monthTotal) {
  const std::optional<int32_t> budget = budgets.BudgetOf(categoryKey, month);
  if (!budget) return;
  detail.lines.push_back({"予算", FormatThousands(*budget)});
  detail.lines.push_back({"残り", FormatThousands(int64_t{*budget} - monthTotal)});
}

}  // namespace kzm
