#include "ui/common/Openers.h"

#include <QApplication>

#include "calendar/BusinessDays.h"
#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"
#include "ui/common/DataWindows.h"
#include "ui/recurring/RecurringCheckDialog.h"
#include "ui/recurring/RecurringWindow.h"

namespace kzm::ui {

namespace {

bool DailyWindowOpen() {
  return !kzm::NoDailyWindowOpen(DescribeOpenWindows().described).allowed;
}

}  // namespace

bool CheckRecurringEntries(QWidget* parent) {
  if (CurrentProfile().Folder().empty()) return true;
  if (DailyWindowOpen() || QApplication::activeModalWidget()) return false;
  TRecurringStore store;
  std::string error;
  if (!OpenRecurring(CurrentProfile().Folder(), store, CurrentMonthData(), error)) {
    WindowSystem().Notify(error);
    return true;
  }
  std::vector<TDueOccurrence> due = DueOccurrences(store, Today() + store.DaysAhead(), ProgramBusinessDays());
  if (due.empty()) return true;
  TFmRecurringCheck check(std::move(due), parent);
  if (check.exec() != QDialog::Accepted) return true;
  const TEnterOutcome outcome = EnterOccurrences(store, check.Choices(), CurrentMonthData());
  if (outcome.refused > 0 || outcome.failed || outcome.carryFailed) WindowSystem().Notify(outcome.message);
  else if (outcome.entered > 0) WindowSystem().Inform(outcome.message);
  return true;
}

void OpenRecurringWindow(QWidget* parent, const TkzmEntry* entry) {
  TFmRecurring window(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder(), parent);
  if (entry) {
    // Modal before it shows: exec on a window already on show would leave it modeless, and
    // closing the daily window behind it would pull the list away mid-edit.
    window.setModal(true);
    window.show();
    window.AddFromEntry(TemplateFromEntry(*entry));
  }
  window.exec();
}

}  // namespace kzm::ui
