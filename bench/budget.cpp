// Budgets and the year report on the 30-year sample passbook (about 100,000 entries).

#include <benchmark/benchmark.h>

#include "budget/BudgetMonth.h"
#include "budget/Budgets.h"
#include "passbook/Categories.h"
#include "passbook/Profile.h"
#include "report/YearReport.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

// The year report of the sample's last year: twelve monthly summaries side by side.
void BM_YearReport(benchmark::State& state) {
  bench::OpenSamplePassbook();
  size_t lines = 0;
  for (auto _ : state) {
    const TYearReport report = YearReport(2024);
    lines = report.categories.size() + report.assets.size();
    benchmark::DoNotOptimize(report.spending.data());
  }
  state.counters["lines"] = static_cast<double>(lines);
}
BENCHMARK(BM_YearReport)->Unit(benchmark::kMillisecond);

// What the budget window computes for a month: the budgets read from their file, the month
// summarised and set against them, every payment category with a budget.
void BM_BudgetWindowMonth(benchmark::State& state) {
  bench::OpenSamplePassbook();
  {
    TBudgets budgets;
    const THeadList& categories = CurrentProfile().Categories();
    for (int c = 0; c < categories.Count(); ++c) {
      if (categories.KindOf(c) == kKindPayment) budgets.Set(categories.Items(c).key, 202001, 30'000);
    }
    std::string error;
    if (!budgets.Save(CurrentProfile().Folder(), error)) state.SkipWithError(error.c_str());
  }
  size_t rows = 0;
  for (auto _ : state) {
    TBudgets budgets;
    std::string error;
    (void)budgets.Load(CurrentProfile().Folder(), error);
    const TBudgetMonth month = BudgetMonth(202412, budgets);
    rows = month.rows.size();
    benchmark::DoNotOptimize(month.spending.budget);
  }
  state.counters["rows"] = static_cast<double>(rows);
}
BENCHMARK(BM_BudgetWindowMonth)->Unit(benchmark::kMillisecond);

}  // namespace
