#include <exception>

#include "foundation/WindowSystem.h"
#include "report/MonthSpending.h"
#include "ui/analysis/GraphWindow.h"
#include "ui/common/DataWindows.h"
#include "ui/common/Openers.h"

namespace kzm::ui {

void OpenSpendingChart(int monthKey) {
  const TMonthKey key = NormaliseMonthKey(monthKey);
  TMonthSpending spending;
  try {
    spending = MonthSpending(key);
  } catch (const std::exception& e) {
    WindowSystem().Notify(e.what());
    return;
  }
  auto* form = new TFmGraph;
  for (const TSpendingAmount& a : spending.amounts) form->Graph().Add(a.name, a.amount, static_cast<TColor>(a.color));
  form->SetMonth(key, spending.period);
  RegisterDataWindow(form);
  form->show();
}

}  // namespace kzm::ui
