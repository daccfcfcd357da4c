#pragma once

// "通帳の選択": the passbooks of the data folder, to pick the one to open or to delete some.

#include "passbook/PassbookRules.h"

#include <QDialog>

#include <string>
#include <vector>

class QPushButton;
class QTableWidget;

namespace kzm::ui {

class TFmProfileSelect : public QDialog {
  Q_OBJECT

 public:
  // openFolder: the passbook open now (empty for none); its row starts selected.
  explicit TFmProfileSelect(std::string openFolder, QWidget* parent = nullptr);

  // Set until "選択" is pressed.
  [[nodiscard]] bool Cancelled() const { return m_cancelled; }
  // The chosen passbook's folder; empty when no row is selected.
  [[nodiscard]] std::string SelectedFolder() const;

  // Without a passbook to go back to the window can only be left by choosing one.
  void reject() override;

 private:
  void Fill();
  [[nodiscard]] int SelectedRow() const;
  void ButtonDeleteClick();

  std::string m_openFolder;
  std::vector<TPassbookListRow> m_passbooks;
  bool m_cancelled = true;
  QTableWidget* m_listView = nullptr;
  QPushButton* m_buttonDelete = nullptr;
  QPushButton* m_buttonCancel = nullptr;
};

}  // namespace kzm::ui
