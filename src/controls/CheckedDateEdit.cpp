#include "controls/CheckedDateEdit.h"

#include "controls/DateField.h"
#include "controls/UiBasics.h"

#include <QCheckBox>
#include <QHBoxLayout>

namespace kzm::ui {

TCheckedDateEdit::TCheckedDateEdit(QWidget* parent) : QWidget(parent) {
  m_check = new QCheckBox(this);
  m_date = new TDateField(this);
  m_date->setEnabled(false);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(m_check);
  layout->addWidget(m_date, 1);
  setFocusProxy(m_check);
  connect(m_check, &QCheckBox::toggled, m_date, &QWidget::setEnabled);
}

bool TCheckedDateEdit::Checked() const { return m_check->isChecked(); }

void TCheckedDateEdit::SetChecked(bool checked) { m_check->setChecked(checked); }

TDayNumber TCheckedDateEdit::Day() const { return ToDay(m_date->date()); }

void TCheckedDateEdit::SetDay(TDayNumber day) { m_date->setDate(ToQDate(day)); }

}  // namespace kzm::ui
