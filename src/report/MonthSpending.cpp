#include "report/MonthSpending.h"

#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "report/ChartPalette.h"

namespace kzm {

std::vector<TSpendingAmount> PaymentAmounts(const THeadList& totals, TIntegerList palette) {
  std::vector<TSpendingAmount> amounts;
  int position = 0;
  for (int i = 0; i < totals.Count(); ++i) {
    if (totals.KindOf(i) != kKindPayment) continue;
    const int n = position++;
    const THeadData& head = totals.Items(i);
    if (head.total <= 0) continue;
    // Past the palette's end its colours start again: reading on would give black slices,
    // unreadable under their black labels.
    const std::int32_t color = palette.Count() > 0 ? palette.Items(n % palette.Count()) : 0;
    amounts.push_back({totals.DisplayName(i), head.total, color});
  }
  return amounts;
}

TMonthSpending MonthSpending(TMonthKey key) {
  THeadList month;
  LoadMonthPeriod(key, month);
  THeadList totals;
  totals.Assign(CurrentProfile().Categories());
  CurrentMonthData().SumRange(totals, month.First(), month.Last());
  return {{month.First(), month.Last()}, PaymentAmounts(totals, ChartPalette())};
}

std::string SpendingMonthTitle(TMonthKey key) {
  const TMonthKey month = NormaliseMonthKey(key);
  return std::to_string(KeyYear(month)) + "年" + std::to_string(KeyMonth(month)) + "月";
}

}  // namespace kzm
