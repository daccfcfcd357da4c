#pragma once

// TCheckedDatePicker: a date picker with a check box in front, as a date condition that can be
// switched off. Unticked, the date is greyed and cannot be changed.

#include "foundation/Dates.h"

#include <QWidget>

class QCheckBox;
class QDateEdit;

namespace kzm::ui {

class TCheckedDatePicker : public QWidget {
  Q_OBJECT

 public:
  explicit TCheckedDatePicker(QWidget* parent = nullptr);

  [[nodiscard]] bool Checked() const;
  void SetChecked(bool checked);
  [[nodiscard]] kzm::TDayNumber Date() const;
  void SetDate(kzm::TDayNumber day);

  [[nodiscard]] QCheckBox* CheckBox() const { return m_check; }
  [[nodiscard]] QDateEdit* DateEdit() const { return m_edit; }

 private:
  QCheckBox* m_check = nullptr;
  QDateEdit* m_edit = nullptr;
};

}  // namespace kzm::ui
