#pragma once

// TFmDaily: one day of the passbook. Payments, receipts and asset moves are typed into three
// banded grids on tabs, beside a free-text memo of the day. The window steps to the day
// before or after, saving a changed day as it leaves it, and saves on closing. Any number of
// daily windows may be open, each on a day of its own.

#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthEntry.h"
#include "ui/common/DataWindows.h"

class QLabel;
class QPlainTextEdit;
class QTabWidget;

namespace kzm::ui {

class TDailyGrid;
class TkzmHelpSys;
class TorvFormFunc;
class TorvWinButton;

class TFmDaily : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  // Creates the window on date and shows that day in it (the opener shows the window).
  explicit TFmDaily(kzm::TDayNumber date, QWidget* parent = nullptr);
  // Saves a day still modified.
  ~TFmDaily() override;

  [[nodiscard]] kzm::TDayNumber Date() const { return m_date; }
  [[nodiscard]] bool Modified() const { return m_modified; }
  void SetModified() { m_modified = true; }

  // Shows the window's date. When another daily window shows that day, or a month memo
  // window covers it, the user is told, the other window comes forward and this one closes
  // (false).
  bool ShowDay();
  // Writes the day into the month data and through to its file, updates the accounting
  // month's settlement and tells every window. False when a file could not be written: the
  // user has been told and the day stays modified, so that a later save writes it.
  bool SaveDay();
  // Leaves the day (saving it when modified) for the day delta days away. A day that could not
  // be saved stays on screen.
  void StepDay(int delta);

  // The grid of kKindPayment, kKindReceipt or kKindAsset.
  [[nodiscard]] TDailyGrid* Grid(int kind) const;
  [[nodiscard]] QPlainTextEdit* MemoBox() const { return m_memo; }
  [[nodiscard]] const kzm::THeadList& Categories() const { return m_categories; }
  [[nodiscard]] TkzmHelpSys& HelpBalloon() const { return *m_help; }

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;
  bool SaveWindowData() override;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  void CreateComponents();
  TorvWinButton* CreateButton(const char* name, const QString& caption, int focusLineWidth);
  void PlaceComponents();
  void ApplyColors();
  void PcDailyChange();
  // Opens 「定期的な記入」 with a new template made from the current row of the tab shown.
  void RepeatClick();
  void WriteBackEditors();
  // The data-changed notice: first..second (second 0: the day first; first 0: any day).
  void DataChanged(int first, int second);
  // The day changed underneath the window's unsaved changes (another PC, through the sync
  // engine): asks whether to keep the window's, take the file's, or keep both.
  void AskAboutChangeUnderneath();
  [[nodiscard]] int MemoTop() const;

  kzm::TDayNumber m_date;
  bool m_modified = false;
  bool m_loading = false;  // the memo box is being filled, not edited
  bool m_refused = false;  // the rules refused the day: the window is closing
  bool m_saving = false;   // its own save is telling the windows
  bool m_closeSaved = false;  // closing tried its save: the data stays in memory, told once
  bool m_placed = false;
  std::string m_keptMemoNote;
  bool m_asking = false;  // the question about a change underneath is open or posted
  std::vector<kzm::TkzmEntry> m_shown;  // the day's entries as the window loaded them
  kzm::THeadList m_categories;

  QTabWidget* m_tabs = nullptr;
  TDailyGrid* m_payment = nullptr;
  TDailyGrid* m_receipt = nullptr;
  TDailyGrid* m_assets = nullptr;
  QLabel* m_memoLabel = nullptr;
  QPlainTextEdit* m_memo = nullptr;
  TorvWinButton* m_before = nullptr;
  TorvWinButton* m_next = nullptr;
  TorvWinButton* m_option = nullptr;
  TorvWinButton* m_repeat = nullptr;
  TorvWinButton* m_close = nullptr;
  TorvFormFunc* m_formFunc = nullptr;
  std::unique_ptr<TkzmHelpSys> m_help;
};

}  // namespace kzm::ui
