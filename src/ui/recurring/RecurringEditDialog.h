#pragma once

// The editor of one recurring entry: what entry it makes (kind, category, account or the two
// assets of a move, item, note, amount, estimate) and its schedule. It edits a copy,
// checks it against the passbook's categories on OK and hands it back; the caller stores it.

#include <QDialog>

#include "recurring/RecurringTemplate.h"

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kzm {
class THeadList;
}

namespace kzm::ui {

class TFmRecurringEdit : public QDialog {
  Q_OBJECT

 public:
  TFmRecurringEdit(const TRecurringTemplate& source, const THeadList& categories, QWidget* parent = nullptr);

  // The template as edited; valid after the dialog was accepted.
  [[nodiscard]] const TRecurringTemplate& Template() const { return m_template; }

  void accept() override;

 private:
  void CreateControls();
  void FillCategories();
  void FillDays();
  void ShowTemplate();
  void EndChanged();
  // The template the controls describe.
  [[nodiscard]] TRecurringTemplate Edited() const;

  const THeadList& m_categories;
  TRecurringTemplate m_template;

  QComboBox* m_kind = nullptr;
  QComboBox* m_category = nullptr;
  QLabel* m_categoryLabel = nullptr;
  QLabel* m_accountLabel = nullptr;
  QComboBox* m_account = nullptr;
  QLineEdit* m_item = nullptr;
  QLineEdit* m_note = nullptr;
  QLineEdit* m_amount = nullptr;
  QCheckBox* m_estimate = nullptr;
  QComboBox* m_repeat = nullptr;
  QSpinBox* m_interval = nullptr;
  QComboBox* m_day = nullptr;
  QDateEdit* m_first = nullptr;
  QComboBox* m_end = nullptr;
  QDateEdit* m_until = nullptr;
  QSpinBox* m_count = nullptr;
  QComboBox* m_shift = nullptr;
};

}  // namespace kzm::ui
