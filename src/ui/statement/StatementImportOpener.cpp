#include "ui/common/Openers.h"

#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/common/DataWindows.h"
#include "ui/statement/StatementImportWindow.h"

namespace kzm::ui {

void OpenStatementImport(QWidget* parent) {
  if (AnyDailyWindowOpen()) return;
  TFmStatementImport window(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder(), parent);
  window.exec();
  WindowSystem().BroadcastToForms(kNoticeDataChanged, 0, 0);
}

}  // namespace kzm::ui
