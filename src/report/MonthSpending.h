#pragma once

// What an accounting month spent, per payment category, for the spending chart.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/IntegerList.h"
#include "settlement/AccountingMonth.h"

namespace kzm {

class THeadList;

struct TSpendingAmount {
  std::string name;  // the category's display name
  std::int64_t amount = 0;  // a month's sum of 32-bit amounts
  std::int32_t color = 0;  // $BBGGRR
};

// The payment categories of totals whose total is above 0, in list order. Each takes the
// palette colour of its position among all payment categories of the list, so a category
// keeps its colour in a month where categories before it spent nothing. Positions past the
// palette's end take its colours again from the start.
[[nodiscard]] std::vector<TSpendingAmount> PaymentAmounts(const THeadList& totals, TIntegerList palette);

struct TMonthSpending {
  TPeriod period;
  std::vector<TSpendingAmount> amounts;
};
// The month key's period, and PaymentAmounts of the open passbook's categories totalled
// over it with the program's chart palette. Throws EkzmError when a settlement file cannot
// be read; a month of entries that could not be written back has been reported to the user.
[[nodiscard]] TMonthSpending MonthSpending(TMonthKey key);

// The month as the chart names it: "2004年5月".
[[nodiscard]] std::string SpendingMonthTitle(TMonthKey key);

}  // namespace kzm
