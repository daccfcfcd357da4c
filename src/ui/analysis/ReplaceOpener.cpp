#include "ui/common/Openers.h"

#include <QTimer>

#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/analysis/ReplaceWindow.h"
#include "ui/common/DataWindows.h"

namespace kzm::ui {

void OpenReplace(QWidget* parent) {
  if (AnyDailyWindowOpen()) return;
  TFmReplace window(CurrentProfile().Categories(), CurrentMonthData(), parent);
  // Once the window shows: a replacement left unfinished is offered first.
  QTimer::singleShot(0, &window, [&window] { window.OfferToFinish(); });
  window.exec();
  WindowSystem().BroadcastToForms(kNoticeDataChanged, 0, 0);
}

}  // namespace kzm::ui
