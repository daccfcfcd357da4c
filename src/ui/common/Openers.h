#pragma once

// Every window that another window or the main window opens is opened through one of these.
// Each is defined in its window's folder, so no window folder needs another's headers; the
// data windows' openers ask the coordination rules first and report a refusal themselves.

#include <string>

#include "foundation/Dates.h"
#include "passbook/MonthKeys.h"

class QWidget;

namespace kzm {
class THeadList;
struct TkzmEntry;
}  // namespace kzm

namespace kzm::ui {

// The data windows.
// A daily window on day (false when refused).
bool OpenDailyWindow(kzm::TDayNumber day);
// A month memo window for first..last (false when refused).
bool OpenMonthMemo(kzm::TDayNumber first, kzm::TDayNumber last);
// Every monthly view whose period holds day comes forward scrolled to it; with none a new
// view opens on the accounting month of day.
void ShowMonthOfDay(kzm::TDayNumber day);
// A new search window.
void OpenSearch();
// The spending chart of the accounting month monthKey.
void OpenSpendingChart(int monthKey);

// A year report window on year.
void OpenYearReport(int year);
// The category replacement, modal. Refused while a daily window is open (it comes forward).
// Afterwards every window is told that any day may have changed.
void OpenReplace(QWidget* parent = nullptr);

// A budget window on the accounting month key.
void OpenBudgetWindow(kzm::TMonthKey key);

// A 「カードの請求」 window on the first card of the open passbook.
void OpenCardBillWindow();
// A 「これからの残高」 window on the next three months.
void OpenForecastWindow();
// Shows the card setup for the asset named card of categories and stores what was confirmed
// in the passbook folder's card settings. False when nothing changed (cancelled, or the file
// could not be read or written: the user has been told).
bool EditCardSettings(const std::string& folder, const std::string& card, const kzm::THeadList& categories,
                      QWidget* parent);

// 「定期的な記入の確認」 for the occurrences of the open passbook due up to today (and the
// passbook's days ahead), entering what the person chooses. Nothing shows when none is due.
// While a daily window is open nothing is asked either (its next save of a day would drop
// entries made behind it), nor while a modal window is up (a restore's result, say, is read
// first); the result is then false, so that the caller asks again later.
bool CheckRecurringEntries(QWidget* parent);
// 「定期的な記入」, modal; with entry, its editor opens at once on a new template made from it.
void OpenRecurringWindow(QWidget* parent, const kzm::TkzmEntry* entry = nullptr);

// The statement import, modal. Refused while a daily window is open (it comes forward): its
// next save of a day would drop the entries booked into that day. Afterwards every window
// is told that any day may have changed.
void OpenStatementImport(QWidget* parent = nullptr);

// The settings dialogs: each runs modally and stores what the user confirmed into the open
// passbook.
// The passbook's information (page 0) or categories (page 1). Unless cancelled: saves the
// passbook, renames its folder when the name changed. Every window is then told that the data
// may have changed. True when confirmed.
bool OpenPassbookInfo(int page, QWidget* parent = nullptr);
// The new-passbook wizard. When confirmed the new passbook's folder is created and opened
// (true). When cancelled, or when the folder cannot be made, the passbook open before opens
// again (false).
bool NewPassbook(QWidget* parent = nullptr);
// Closes the data windows, saves, and lets the user choose a passbook (or delete some). True
// when one was chosen and opened.
bool SelectPassbook(QWidget* parent = nullptr);
// The options, on page 0 (start-up), 1 (daily grid) or 2 (data folder).
void OpenOptions(int page, QWidget* parent = nullptr);
// The backups of the open passbook (modal).
void OpenBackups(QWidget* parent = nullptr);
// The colour setup on the program's colour scheme, or brings the open one forward.
void OpenColorSetUp(QWidget* parent = nullptr);

}  // namespace kzm::ui
