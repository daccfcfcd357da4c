#include "controls/UiBasics.h"

#include <QPushButton>
#include <QTableWidgetItem>

namespace kzm::ui {

namespace {
const QDate kDayZero(1899, 12, 30);
}  // namespace

QDate ToQDate(TDayNumber day) { return kDayZero.addDays(day); }

TDayNumber ToDay(const QDate& date) { return static_cast<TDayNumber>(kDayZero.daysTo(date)); }

QPushButton* NewButton(const char* caption, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(caption), parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

QTableWidgetItem* ReadOnlyItem(const QString& text, bool alignRight) {
  auto* item = new QTableWidgetItem(text);
  item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
  if (alignRight) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
  return item;
}

}  // namespace kzm::ui
