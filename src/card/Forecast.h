#pragma once

// 「これからの残高」: how each asset account will stand day by day over the coming months, from
// its balance at the end of today (as the passbook counts it), with what is already known to
// come: entries typed in for later days, the recurring entries not yet entered, and the card
// bills not yet paid (closed cycles, and the open one at what it holds so far plus the
// recurring entries charged to the card before it closes).
//
// Recurring entries and card bills whose accounts the passbook no longer has are left out
// and named in problems, never put on some other account. Those that were due in the weeks
// before today and are not entered are named too and left out: they may have been paid
// without being entered.

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "calendar/BusinessDays.h"
#include "foundation/Dates.h"

namespace kzm {

class TCardStore;
class TRecurringStore;

// An amount coming into (above 0) or leaving an account on a day.
struct TForecastChange {
  TDayNumber date = 0;
  std::string accountKey;
  int64_t amount = 0;
};

struct TForecastPoint {
  TDayNumber date = 0;
  int64_t balance = 0;  // at the end of the day
};

struct TAccountForecast {
  std::string accountKey;
  int64_t start = 0;                 // at the end of today, before anything still to come
  std::vector<TForecastPoint> days;  // each day whose balance moves, in date order
  int64_t lowest = 0;                // the lowest balance from today on
  TDayNumber lowestDate = 0;         // the first day it is reached
  // The first day below 0 (today when it is already); 0: none. A card owes from its first
  // purchase on, so it is never short.
  TDayNumber shortDate = 0;
  bool card = false;
};

struct TForecast {
  TDayNumber today = 0;
  TDayNumber last = 0;
  std::vector<TAccountForecast> accounts;  // in the passbook's order
  std::vector<std::string> problems;       // what was left out, for the person
  bool complete = true;                    // false when a month file could not be read
};

// The forecast of the open passbook's asset accounts from today for months months, with its
// recurring entries and cards. Moves the month data's day and puts it back.
[[nodiscard]] TForecast PassbookForecast(const TRecurringStore& recurring, const TCardStore& cards, TDayNumber today,
                                         int months, TBusinessDays& businessDays);

// The balance axis of a chart of balances from low to high: lines every step (1, 2 or 5 times a
// power of ten, about five of them), from bottom to top. Both ends lie on lines, with room of
// at most a step beyond the balances, so that no line hides in the frame's edge; a chart
// that never goes below zero starts at zero.
struct TBalanceAxis {
  double bottom = 0, top = 0, step = 1;
};
[[nodiscard]] TBalanceAxis BalanceAxis(int64_t low, int64_t high);

}  // namespace kzm
