#pragma once

// TFmMonth: one accounting month as a table, categories by days, with the names on the left,
// the month totals on the right and running balances of the accounts. Clicking a day opens
// its daily window; resting the mouse on an amount lists the entries behind it.

#include <QColor>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <memory>

#include "ui/common/DataWindows.h"
#include "ui/monthly/MonthDetailPanel.h"
#include "views/MonthTable.h"

class QLabel;
class QPushButton;
class QScrollBar;

namespace kzm::ui {

class TMonthlyGrid;
class TorvFormFunc;
class TorvWinButton;
class TkzmHelpSys;

class TFmMonth : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  static constexpr int kStripWidth = 96;  // the left strip: labels, balloon, round buttons
  static constexpr int kMinRows = 15;
  // Below this the help balloon's hint could not be read, and it is left out.
  static constexpr int kMinBalloonSide = 80;

  explicit TFmMonth(QWidget* parent = nullptr);
  ~TFmMonth() override;

  // Loads and shows the accounting month key.
  void ShowMonth(kzm::TMonthKey key);
  // Shows the month holding day (when it is not shown) with day as the last visible column.
  void ScrollToDate(kzm::TDayNumber day);

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;
  [[nodiscard]] const kzm::TMonthTable& Table() const { return m_table; }
  [[nodiscard]] TMonthlyGrid& GridIndex() const { return *m_gridIndex; }
  [[nodiscard]] TMonthlyGrid& GridDate() const { return *m_gridDate; }
  [[nodiscard]] TMonthlyGrid& GridTotal() const { return *m_gridTotal; }
  // The detail panel; nullptr before its first use.
  [[nodiscard]] TMonthDetailPanel* DetailPanel() const { return m_panel; }
  // The window size that shows whole rows and days for a wished size.
  [[nodiscard]] QSize SnappedSize(QSize wished) const;
  // Where the help balloon is painted; empty when the strip has no room for it.
  [[nodiscard]] QRect HelpBalloonRect() const;

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  struct TColors {
    QColor window, button, text, sunday, saturday, holiday, faint, dateCell, fixedCell, payment1, payment2, asset,
        receipt, line;
  };

  void CreateComponents();
  void CreateGrids();
  void CreateButtons();
  void ReadColors();
  void FillLabels();
  // Hands the table what the recurring entries will still add in its period.
  void ShowComing();

  // Column widths (MonthColumns.cpp): the day and name widths from the width setting, in
  // percent of the usual; widening until every amount of the month fits; a dragged border.
  void ApplyColumnWidth(int percent);
  void FitColumnsToAmounts();
  void DayColumnDragged(int width, bool done);
  void KeepColumnWidth(int percent);

  // Cell painter of the three grids.
  void DrawCell(const TMonthlyGrid& grid, QPainter& painter, int col, int row, const QRect& rect);
  // A cell read aloud: a day's cell with its category and date, amounts with their sign.
  [[nodiscard]] QString SpokenCell(const TMonthlyGrid& grid, int col, int row) const;

  // Sizes and places.
  // The width of everything but the day columns.
  [[nodiscard]] int BaseWidth() const;
  [[nodiscard]] int DayColumnsFor(int clientWidth) const;
  void SnapSize();
  void LayoutControls();
  void UpdateScrollBars();
  void ScrollBarVChange(int position);
  void ScrollBarHChange(int position);
  // Scrolls the day grid's cursor cell into view.
  void ShowGridCell(int col, int row);

  // Mouse and buttons.
  void GridDateMouseDown(Qt::MouseButton button, int col, int row);
  void GridDateMouseMove(int col, int row);
  void GridIndexMouseUp();
  void ButtonBeforeClick();
  void ButtonNextClick();
  void ButtonSetUpClick();
  void ButtonGraphClick();
  void ButtonMemoClick();
  void ButtonBudgetClick();
  void ButtonCardClick();

  // The detail panel.
  void Timer1Timer();
  void TryShowDetail();
  void HideDetail();

  kzm::TMonthTable m_table;
  int m_rowHeight = 18;
  int m_nameWidth = 72;
  int m_dayWidth = 60;
  int m_columnPercent = 100;
  int m_visibleDays = 0;
  int m_visibleRows = 0;
  int m_hoverTicks = 0;
  int m_detailCol = -1;
  int m_detailRow = -1;
  bool m_initialised = false;
  bool m_placed = false;
  TColors m_colors;

  TMonthlyGrid* m_gridIndex = nullptr;
  TMonthlyGrid* m_gridDate = nullptr;
  TMonthlyGrid* m_gridTotal = nullptr;
  QLabel* m_labelYear = nullptr;
  QLabel* m_labelMonth = nullptr;
  QLabel* m_labelPeriod = nullptr;
  TorvWinButton* m_buttonMemo = nullptr;
  TorvWinButton* m_buttonSetUp = nullptr;
  TorvWinButton* m_buttonGraph = nullptr;
  TorvWinButton* m_buttonBudget = nullptr;
  TorvWinButton* m_buttonCard = nullptr;
  QPushButton* m_buttonBefore = nullptr;
  QPushButton* m_buttonNext = nullptr;
  QScrollBar* m_scrollBarH = nullptr;
  QScrollBar* m_scrollBarV = nullptr;
  TorvFormFunc* m_formFunc = nullptr;
  QTimer m_timer1;
  std::unique_ptr<TkzmHelpSys> m_help;
  bool m_helpShown = false;
  QPointer<TMonthDetailPanel> m_panel;
};

}  // namespace kzm::ui
