#include "controls/CheckedDatePicker.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QHBoxLayout>

namespace kzm::ui {

namespace {

// Day numbers count from 1899-12-30.
const QDate kDayZero(1899, 12, 30);

}  // namespace

TCheckedDatePicker::TCheckedDatePicker(QWidget* parent) : QWidget(parent) {
  m_check = new QCheckBox(this);
  m_check->setObjectName(QStringLiteral("Check"));
  m_edit = new QDateEdit(this);
  m_edit->setObjectName(QStringLiteral("Date"));
  m_edit->setCalendarPopup(true);
  m_edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(m_check);
  layout->addWidget(m_edit, 1);
  setFocusProxy(m_check);
  connect(m_edit, &QDateEdit::dateChanged, this, [this] { m_check->setChecked(true); });
}

bool TCheckedDatePicker::Checked() const { return m_check->isChecked(); }

void TCheckedDatePicker::SetChecked(bool checked) { m_check->setChecked(checked); }

kzm::TDayNumber TCheckedDatePicker::Date() const {
  return static_cast<kzm::TDayNumber>(kDayZero.daysTo(m_edit->date()));
}

void TCheckedDatePicker::SetDate(kzm::TDayNumber day) {
  const QSignalBlocker quiet(m_edit);  // setting the date from code is no choice of the user
  m_edit->setDate(kDayZero.addDays(day));
}

}  // namespace kzm::ui
