// TFmDaily: showing, saving and stepping the day.
#include <QPlainTextEdit>

#include <algorithm>

#include "calendar/Almanac.h"
#include "foundation/Concat.h"
#include "foundation/DateTexts.h"
#include "passbook/DailyPage.h"
#include "passbook/DayMemos.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/daily/DailyGrid.h"
#include "ui/daily/DailyWindow.h"

namespace kzm::ui {

namespace {

std::string HolidayNameOf(TDayNumber day) {
  Talmanac& almanac = Almanac();
  almanac.SetDate(day);
  return almanac.HolidayName();
}

}  // namespace

bool TFmDaily::ShowDay() {
  const TOpenWindows open = DescribeOpenWindows();
  const auto self = std::find(open.windows.begin(), open.windows.end(), this);
  const int asking = self == open.windows.end() ? -1 : static_cast<int>(self - open.windows.begin());
  if (!ApplyWindowRule(CanOpenDailyWindow(open.described, asking, m_date), open)) {
    m_refused = true;
    QMetaObject::invokeMethod(this, [this] { close(); }, Qt::QueuedConnection);
    return false;
  }
  m_modified = false;
  setWindowTitle(QString::fromStdString(Concat({FormatDateWithWeekday(m_date), " ", HolidayNameOf(m_date)})));

  BuildDayCategories(m_categories, CurrentProfile().Categories(), m_date);
  const TDayMemo memo = CurrentDayMemo();
  m_loading = true;
  m_memo->setPlainText(QString::fromStdString(memo.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  m_loading = false;
  m_keptMemoNote = memo.note;

  for (TDailyGrid* grid : {m_assets, m_receipt, m_payment}) grid->LoadDay(m_date);
  PcDailyChange();
  return true;
}

bool TFmDaily::SaveDay() {
  WriteBackEditors();
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(m_date);
  data.DeleteDayEntries();
  for (TDailyGrid* grid : {m_payment, m_assets, m_receipt}) grid->StoreDay();
  QString memo = m_memo->toPlainText();
  memo.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  data.SelectDay(m_date);
  AddDayMemo(memo.toStdString(), m_keptMemoNote);
  m_modified = false;
  if (FinishDaySave(m_date)) return true;
  m_modified = true;
  return false;
}

void TFmDaily::StepDay(int delta) {
  if (m_refused) return;
  WriteBackEditors();
  if (m_modified && !SaveDay()) return;
  m_date += delta;
  ShowDay();
}

}  // namespace kzm::ui
