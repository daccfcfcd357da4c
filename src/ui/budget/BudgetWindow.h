#pragma once

// 「予算」: one accounting month against its budgets. A row per payment category (and per
// receipt category with a budget) with 予算, 実績 (the month total of the monthly view), 残り
// and a bar of how much is used, red and marked 超過 once over; the month's totals below; 前月 / 次月; the
// budget typed in place (amounts as in the daily grid); two buttons that fill the budgets
// from last month's spending or the average of the twelve months before.

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "budget/BudgetMonth.h"
#include "budget/Budgets.h"
#include "foundation/Text.h"
#include "ui/common/DataWindows.h"

class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;

namespace kzm::ui {

class TFmBudget : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  // Columns of the table.
  enum : int { kColName, kColBudget, kColActual, kColLeft, kColBar, kColCount };

  explicit TFmBudget(QWidget* parent = nullptr);
  ~TFmBudget() override;

  // Reads the budgets again and shows the month.
  void ShowMonth(kzm::TMonthKey key);
  [[nodiscard]] const kzm::TBudgetMonth& Month() const { return m_month; }
  [[nodiscard]] QTableWidget& Table() const { return *m_table; }
  // The totals line under the table, its amounts as amount writes them (as shown, or as a
  // screen reader says them).
  [[nodiscard]] QString TotalsText(std::string (*amount)(int64_t) = FormatThousands) const;

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;

 protected:
  bool event(QEvent* event) override;

 private:
  void Fill();
  void ItemChanged(QTableWidgetItem* item);
  void Propose(const std::vector<kzm::TBudgetProposal>& proposals);
  // Reads the file again, applies change and saves. False (the user told, the window showing
  // the file again) when the file could not be read or written.
  bool ChangeBudgets(const std::function<void()>& change);

  kzm::TBudgets m_budgets;
  bool m_budgetsRead = false;
  kzm::TBudgetMonth m_month;
  QLabel* m_title = nullptr;
  QLabel* m_totals = nullptr;
  QTableWidget* m_table = nullptr;
  QPushButton* m_buttonBefore = nullptr;
  QPushButton* m_buttonNext = nullptr;
  QPushButton* m_buttonLastMonth = nullptr;
  QPushButton* m_buttonAverage = nullptr;
};

}  // namespace kzm::ui
