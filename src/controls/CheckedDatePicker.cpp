#include "controls/CheckedDatePicker.h"

#include "controls/DateField.h"
#include "controls/UiBasics.h"

#include <QCheckBox>
#include <QHBoxLayout>

namespace kzm::ui {

TCheckedDatePicker::TCheckedDatePicker(QWidget* parent) : QWidget(parent) {
  m_check = new QCheckBox(this);
  m_check->setObjectName(QStringLiteral("Check"));
  m_edit = new TDateField(this);
  m_edit->setObjectName(QStringLiteral("Date"));
  m_edit->setEnabled(false);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(m_check);
  layout->addWidget(m_edit, 1);
  setFocusProxy(m_check);
  // Unticked, the date is greyed: the search then covers every year, and a black date would
  // say otherwise.
  connect(m_check, &QCheckBox::toggled, m_edit, &QWidget::setEnabled);
}

bool TCheckedDatePicker::Checked() const { return m_check->isChecked(); }

void TCheckedDatePicker::SetChecked(bool checked) { m_check->setChecked(checked); }

kzm::TDayNumber TCheckedDatePicker::Date() const {
  return ToDay(m_edit->date());
}

void TCheckedDatePicker::SetDate(kzm::TDayNumber day) { m_edit->setDate(ToQDate(day)); }

}  // namespace kzm::ui
