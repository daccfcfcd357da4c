#pragma once

// 「カードの請求」: the billing cycles of one card, newest first: the period, what it bills, the
// payment date and whether the payment is in the passbook. 支払を記入 enters the payment of
// the selected unpaid cycle as a move from the 引落口座 into the card on its payment date.

#include <QWidget>

#include <string>
#include <vector>

#include "card/CardCycles.h"
#include "card/CardSettings.h"
#include "ui/common/DataWindows.h"

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;

namespace kzm::ui {

class TFmCardBill : public QWidget, public TDataWindowInfo {
  Q_OBJECT

 public:
  enum : int { kColPeriod, kColBilled, kColPayment, kColState, kColCount };

  explicit TFmCardBill(QWidget* parent = nullptr);
  ~TFmCardBill() override;

  // Shows the asset named card (the first card when empty or unknown), reading the settings
  // and the entries again.
  void ShowCard(const std::string& card);
  [[nodiscard]] const std::vector<kzm::TCardCycle>& Cycles() const { return m_cycles; }  // newest first
  [[nodiscard]] QTableWidget& Table() const { return *m_table; }

  [[nodiscard]] kzm::TDataWindow DataWindowInfo() const override;

 protected:
  bool event(QEvent* event) override;

 private:
  void Reload();
  void FillTable();
  void UpdateButtons();
  void ButtonSetupClick();
  void ButtonPayClick();

  kzm::TCardStore m_store;
  kzm::TCardSettings m_card;
  bool m_usable = false;  // m_card is a card whose settings fit the passbook
  std::vector<kzm::TCardCycle> m_cycles;
  QComboBox* m_cards = nullptr;
  QLabel* m_settings = nullptr;
  QTableWidget* m_table = nullptr;
  QPushButton* m_buttonSetup = nullptr;
  QPushButton* m_buttonPay = nullptr;
};

}  // namespace kzm::ui
