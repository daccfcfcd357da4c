#include "ui/common/SpokenItems.h"

#include <QTableWidgetItem>

#include "controls/UiBasics.h"
#include "foundation/Text.h"
#include "views/SpokenAmount.h"

namespace kzm::ui {

QTableWidgetItem* AmountItem(int64_t yen) {
  QTableWidgetItem* item = ReadOnlyItem(Q(FormatThousands(yen)), true);
  item->setData(Qt::AccessibleTextRole, Q(SpokenAmount(yen)));
  return item;
}

}  // namespace kzm::ui
