#pragma once

// TFmMonthSetUp: the modal dialog for an accounting month's period and the balances its
// accounts carry into it. OK checks the period and stores it with the balances; the
// settlement files of the month's neighbours move to meet it.

#include <QDialog>

#include <cstdint>
#include <string>
#include <vector>

#include "passbook/Categories.h"
#include "settlement/AccountingMonth.h"

class QDateEdit;
class QLineEdit;
class QListWidget;

namespace kzm::ui {

class TFmMonthSetUp : public QDialog {
  Q_OBJECT

 public:
  explicit TFmMonthSetUp(QWidget* parent = nullptr);

  // Fills the dialog from the month list, shows it modally and stores what was confirmed.
  // True when confirmed (and stored).
  bool EditMonth(kzm::TMonthKey key, const kzm::THeadList& monthList);
  // Fills the dialog without showing it (EditMonth does this first).
  void Fill(kzm::TMonthKey key, const kzm::THeadList& monthList);
  // The carried balance of each account, in list order, as edited.
  [[nodiscard]] std::vector<int64_t> Balances() const;

 private:
  void FillFromList();
  void ListBox1Change();
  void Edit1Change();
  void ButtonReferClick();
  void ButtonOKClick();

  kzm::TMonthKey m_key = 0;
  const kzm::THeadList* m_monthList = nullptr;
  bool m_confirmed = false;
  QDateEdit* m_dateTimePicker1 = nullptr;
  QDateEdit* m_dateTimePicker2 = nullptr;
  QListWidget* m_listBox1 = nullptr;
  QLineEdit* m_edit1 = nullptr;
};

}  // namespace kzm::ui
