// The daily grid as a screen reader reads it.
#include "ui/daily/DailyGrid.h"

#include "ui/daily/DailyCells.h"

#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "views/DailyRows.h"
#include "views/SpokenAmount.h"

namespace kzm::ui {

namespace {

QString SpokenAmountCell(const QString& cell) { return QString::fromStdString(kzm::SpokenAmountText(FromCell(cell))); }

}  // namespace

QString TDailyGrid::SpokenCell(int col, int row) const {
  if (col < 0 || row < 0 || col >= ColCount() || row >= RowCount()) return {};
  if (row == 0) return col == kzm::kColCode ? QString() : Cells(col, 0);
  if (!IsEntryRow(row)) {
    const QString name = QString::fromStdString(kzm::KeyName(FromCell(Cells(kzm::kColItem, row))));
    if (col == kzm::kColCode) return name;
    if (col != kzm::kColItem && col != kzm::kColAmount) return {};
    const QString subtotal = Cells(kzm::kColAmount, row);
    return name + QStringLiteral(" 小計 ") + (subtotal.isEmpty() ? QStringLiteral("0円") : SpokenAmountCell(subtotal));
  }
  switch (col) {
    case kzm::kColCode: return {};
    case kzm::kColAmount: return Cells(col, row).isEmpty() ? QString() : SpokenAmountCell(Cells(col, row));
    case kzm::kColAccount: return QString::fromStdString(kzm::KeyName(FromCell(Cells(col, row))));
    default: return Cells(col, row);
  }
}

QString TDailyGrid::SpokenEditorTitle(int col, int row) const {
  const int category = CategoryOfRow(row);
  const QString name = category >= 0 ? QString::fromStdString(m_categories.DisplayName(category)) : QString();
  return SpokenEditorName(name, Cells(col, 0));
}

}  // namespace kzm::ui
