#pragma once

// "明細の取り込み": a bank or card statement read into a preview, every row already
// categorised by the passbook's text rules and marked when the passbook holds it already;
// the user unticks what is not wanted, chooses categories, and books the rest. 元に戻す takes
// the last import back. ほかの家計簿から引っ越し opens the move-in window, as does reading
// another household ledger's export here.

#include <QDialog>

#include "statement/ImportHistory.h"
#include "statement/StatementImport.h"
#include "statement/StatementPresets.h"
#include "statement/TextRules.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace kzm {
class THeadList;
class TkzmDataUnit;
}  // namespace kzm

namespace kzm::ui {

class TStatementGrid;

class TFmStatementImport : public QDialog {
  Q_OBJECT

 public:
  // Books into data with the categories of the passbook in passbookFolder; both must outlive
  // the window.
  TFmStatementImport(const THeadList& categories, TkzmDataUnit& data, std::string passbookFolder,
                     QWidget* parent = nullptr);
  ~TFmStatementImport() override;

 private:
  void CreateControls();
  void FillAccounts();
  void FillCategories();
  void ButtonReadClick();
  void ButtonMappingClick();
  void FillPresets();
  // Opens the column mapping for the file; a mapping that reads the file is kept as a preset
  // and the file is shown with it.
  void MapColumns(const QString& explanation);
  void ShowStatement(TStatement statement);
  void ButtonImportClick();
  // The move-in window, modal over this one, with the file at path read (when given).
  void OpenMoveIn(const QString& path);
  void CategoryChosen(int comboIndex);
  // Remembers the row's category as the rule for its text, when the offer is ticked.
  void LearnRow(int index);
  void ShowCurrentCategory(int index);
  void Classify();
  void ShowCounts();
  void ShowLastImport();
  [[nodiscard]] std::string AccountKey() const;

  const THeadList& m_categories;
  TkzmDataUnit& m_data;
  std::string m_folder;
  TStatementImport m_import;
  TStatementPresets m_presets;
  TTextRules m_rules;
  TImportedIds m_ids;

  QLineEdit* m_file = nullptr;
  QComboBox* m_account = nullptr;
  QComboBox* m_preset = nullptr;
  QSpinBox* m_days = nullptr;
  QLabel* m_layout = nullptr;
  TStatementGrid* m_grid = nullptr;
  QComboBox* m_category = nullptr;
  QCheckBox* m_learn = nullptr;
  QLabel* m_counts = nullptr;
  QLabel* m_lastImport = nullptr;  // shown while the last import stands stopped part way
  QPushButton* m_importButton = nullptr;
};

}  // namespace kzm::ui
