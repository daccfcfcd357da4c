#pragma once

// A date picker with a check box in front, for an optional end of a date range: unchecked,
// the date is greyed and the range is open at that end.

#include <QWidget>

#include "foundation/Dates.h"

class QCheckBox;
class QDateEdit;

namespace kzm::ui {

class TCheckedDateEdit : public QWidget {
  Q_OBJECT

 public:
  explicit TCheckedDateEdit(QWidget* parent = nullptr);

  [[nodiscard]] bool Checked() const;
  void SetChecked(bool checked);
  [[nodiscard]] TDayNumber Day() const;
  void SetDay(TDayNumber day);
  // The day when checked, 0 (an open end) otherwise.
  [[nodiscard]] TDayNumber DayIfChecked() const { return Checked() ? Day() : 0; }

  [[nodiscard]] QCheckBox* CheckBox() const { return m_check; }
  [[nodiscard]] QDateEdit* DateEdit() const { return m_date; }

 private:
  QCheckBox* m_check = nullptr;
  QDateEdit* m_date = nullptr;
};

}  // namespace kzm::ui
