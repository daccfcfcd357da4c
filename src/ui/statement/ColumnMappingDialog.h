#pragma once

// "列の割り当て": for a statement whose layout the program does not know, the user says
// which column holds the date, the text and the amounts, looking at the file's first lines,
// and names the mapping so that it is kept as a preset.

#include <QDialog>

#include <string>
#include <vector>

#include "statement/StatementCsv.h"
#include "statement/StatementLayout.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace kzm::ui {

class TFmColumnMapping : public QDialog {
  Q_OBJECT

 public:
  // head: the file's first records; explanation: why the dialog opened (may be empty);
  // start: a preset to begin with, or nullptr; presetNames: the presets kept already.
  TFmColumnMapping(std::vector<TStatementRecord> head, const QString& explanation, const TStatementLayout* start,
                   std::vector<std::string> presetNames, QWidget* parent = nullptr);

  // The mapping chosen, named; valid once the dialog was accepted.
  [[nodiscard]] const TStatementLayout& Layout() const { return m_layout; }

  void accept() override;

 private:
  void CreateControls(const QString& explanation);
  void FillLines();
  void SkipChanged();
  void Start(const TStatementLayout& layout);
  [[nodiscard]] TColumns ChosenColumns() const;
  [[nodiscard]] std::vector<std::string> HeaderCells() const;
  void ShowMapping();
  [[nodiscard]] int ColumnCount() const;

  std::vector<TStatementRecord> m_head;
  std::vector<std::string> m_presetNames;
  std::string m_startName;
  TStatementLayout m_layout;

  QTableWidget* m_lines = nullptr;
  QSpinBox* m_skip = nullptr;
  QCheckBox* m_header = nullptr;
  QComboBox* m_date = nullptr;
  QComboBox* m_text = nullptr;
  QComboBox* m_out = nullptr;
  QComboBox* m_in = nullptr;
  QComboBox* m_amount = nullptr;
  QComboBox* m_id = nullptr;
  QCheckBox* m_card = nullptr;
  QLineEdit* m_name = nullptr;
  QLabel* m_mapping = nullptr;
};

}  // namespace kzm::ui
