// TFmDaily: showing, saving and stepping the day.
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>

#include "calendar/Almanac.h"
#include "foundation/Concat.h"
#include "foundation/DateTexts.h"
#include "foundation/WindowSystem.h"
#include "passbook/DayMemos.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "ui/daily/DailyGrid.h"
#include "ui/daily/DailyWindow.h"
#include "views/DailyPage.h"

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
  m_shown = DayEntriesOf(m_date);
  PcDailyChange();
  return true;
}

bool TFmDaily::SaveDay() {
  // A full disk fails the month file, the settlement and the months the summary reads: tell once.
  TNoticeGroup notices;
  WriteBackEditors();
  std::vector<TDailyRows> grids;
  for (TDailyGrid* grid : {m_payment, m_assets, m_receipt}) grids.push_back(grid->RowsToStore());
  QString memo = m_memo->toPlainText();
  memo.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
  m_modified = false;
  m_saving = true;
  const bool saved = SaveDailyPage(m_date, grids, memo.toStdString(), m_keptMemoNote);
  m_saving = false;
  if (!saved) m_modified = true;
  return saved;
}

void TFmDaily::DataChanged(int first, int second) {
  // Entries of this day changed behind the window's back (a category replacement, edited
  // categories): show them. Its own save, and a day holding changes not yet saved, are left.
  if (m_saving || m_refused) return;
  const bool concerned = first == 0 || (second == 0 ? first == m_date : first <= m_date && m_date <= second);
  if (!concerned) return;
  WriteBackEditors();
  if (!m_modified) {
    ShowDay();
  } else if (!m_asking && !SameDayEntries(m_shown, DayEntriesOf(m_date))) {
    // Asked once the notice has reached every window, never inside it.
    m_asking = true;
    QMetaObject::invokeMethod(this, [this] { AskAboutChangeUnderneath(); }, Qt::QueuedConnection);
  }
}

void TFmDaily::AskAboutChangeUnderneath() {
  const std::vector<TkzmEntry> theirs = DayEntriesOf(m_date);
  QMessageBox box(QMessageBox::Question, QStringLiteral("もるぽ通帳"),
                  QString::fromStdString(FormatDateWithWeekday(m_date)) +
                      QStringLiteral(" の記入が、入力している間にほかのPCで変更されました。\nどちらを残しますか。"),
                  QMessageBox::NoButton, this);
  box.setObjectName(QStringLiteral("ChangedUnderneath"));
  QPushButton* mine = box.addButton(QStringLiteral("自分の入力を残す"), QMessageBox::AcceptRole);
  QPushButton* other = box.addButton(QStringLiteral("ほかのPCの内容にする"), QMessageBox::RejectRole);
  QPushButton* both = box.addButton(QStringLiteral("両方を残す"), QMessageBox::ActionRole);
  mine->setObjectName(QStringLiteral("KeepMine"));
  other->setObjectName(QStringLiteral("TakeTheirs"));
  both->setObjectName(QStringLiteral("KeepBoth"));
  box.setDefaultButton(both);
  box.setEscapeButton(mine);  // closing the question never throws typed rows away
  box.exec();
  m_asking = false;
  if (box.clickedButton() == other) {
    ShowDay();
  } else if (box.clickedButton() == both) {
    // The window's rows replace the day, then what the other PC added is put back beside them.
    const std::vector<TkzmEntry> added = EntriesAddedTo(m_shown, theirs);
    if (SaveDay()) {
      m_saving = true;
      (void)AddToDay(m_date, added);
      m_saving = false;
      ShowDay();
    }
  } else {
    // Kept: the window's rows replace the day when it is saved; the file's day is the base now.
    m_shown = theirs;
  }
}

void TFmDaily::StepDay(int delta) {
  if (m_refused) return;
  WriteBackEditors();
  if (m_modified && !SaveDay()) return;
  m_date += delta;
  ShowDay();
}

}  // namespace kzm::ui
