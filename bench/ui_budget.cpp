// The budget window on the 30-year sample passbook: showing the sample's last month with a
// budget for every payment category, from reading the budget file to the painted table.
#include "ui/budget/BudgetWindow.h"

#include <QApplication>
#include <QImage>

#include <benchmark/benchmark.h>

#include "budget/Budgets.h"
#include "passbook/Categories.h"
#include "passbook/Profile.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

void BM_BudgetWindowShowMonth(benchmark::State& state) {
  bench::OpenSamplePassbook();
  TBudgets budgets;
  const THeadList& categories = CurrentProfile().Categories();
  for (int c = 0; c < categories.Count(); ++c) {
    if (categories.KindOf(c) == kKindPayment) budgets.Set(categories.Items(c).key, 202001, 30'000);
  }
  std::string error;
  if (!budgets.Save(CurrentProfile().Folder(), error)) state.SkipWithError(error.c_str());
  ui::TFmBudget form;
  form.ShowMonth(202412);
  form.show();
  QApplication::processEvents();
  QImage image(form.size(), QImage::Format_ARGB32_Premultiplied);
  for (auto _ : state) {
    form.ShowMonth(202412);
    form.render(&image);
  }
}
BENCHMARK(BM_BudgetWindowShowMonth)->Unit(benchmark::kMillisecond);

}  // namespace
