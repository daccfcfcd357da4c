#include "ui/monthly/MonthlyOpeners.h"

#include <QPointer>

#include "foundation/WindowSystem.h"
#include "ui/common/DataWindows.h"
#include "ui/common/Openers.h"
#include "ui/monthly/MonthSetUpWindow.h"
#include "ui/monthly/MonthWindow.h"

namespace kzm::ui {

void ShowMonthOfDay(kzm::TDayNumber day) {
  const TOpenWindows open = DescribeOpenWindows();
  const std::vector<int> showing = kzm::MonthlyViewsShowing(open.described, day);
  for (int index : showing) {
    auto* view = dynamic_cast<TFmMonth*>(open.windows[static_cast<size_t>(index)]);
    if (!view) continue;
    BringForward(view);
    view->ScrollToDate(day);
  }
  if (!showing.empty()) return;
  auto* view = new TFmMonth;
  view->show();
  view->ScrollToDate(day);
}

bool OpenMonthSetup(kzm::TMonthKey key, const kzm::THeadList& monthList, QWidget* parent) {
  bool confirmed = false;
  {
    TFmMonthSetUp dialog(parent);
    confirmed = dialog.EditMonth(key, monthList);
  }
  // After the dialog is gone: the views rebuild their month lists, monthList among them.
  if (confirmed) WindowSystem().BroadcastToForms(kNoticeDataChanged, 0, 0);
  return confirmed;
}

}  // namespace kzm::ui
