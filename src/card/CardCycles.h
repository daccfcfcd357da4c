#pragma once

// The billing cycles of a card. A cycle runs from the day after one closing day to the next
// closing day (a purchase on the closing day itself is in the cycle that closes that day);
// its bill is paid from the 引落口座 on the payment day of the month after the closing
// month, or of the one after that, moved onto the next business day as banks do.
//
// What a cycle bills is what the card owes at its closing day: payments made with the card
// (and money moved out of it, such as an e-money charge) minus refunds received on it and
// minus every move into the card that is not a bill's own payment (an advance payment at an
// ATM, a refund through cash, a move from the 引落口座 that pays no bill). When these outweigh
// the purchases nothing is paid and the rest is taken off the bills after it, as card
// companies do; a bill is never negative.

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/BusinessDays.h"
#include "card/CardSettings.h"
#include "foundation/Dates.h"
#include "settlement/AccountingMonth.h"

namespace kzm {

class TkzmDataUnit;
struct TkzmEntry;

// One use of the card (a refund, or money put on it from another account, is negative) or
// one move from the 引落口座 into it.
struct TCardMoney {
  TDayNumber date = 0;
  int64_t amount = 0;
};

// What a card's cycles are worked out from.
struct TCardMovements {
  std::vector<TCardMoney> uses;
  std::vector<TCardMoney> paid;
  // The first day gathered; 0: from the passbook's start. A move from the 引落口座 soon after
  // it may pay a bill of days not gathered, so it never lowers a bill.
  TDayNumber since = 0;
};

// Sorts entry into movements when it touches the card; other entries are passed over.
void AddCardEntry(const TCardSettings& card, const TkzmEntry& entry, TCardMovements& movements);
// Gathers the card's entries dated first..last (0: open end) from the passbook's month files.
// False when a month file could not be read (the data has told the user): the totals would
// be wrong.
bool CollectCardMovements(TkzmDataUnit& data, const TCardSettings& card, TDayNumber first, TDayNumber last,
                          TCardMovements& movements);

// A move this many days either side of the payment date, for the billed amount, is the bill
// paid by hand: early (a day before, because the bank's holiday was known) or late; never
// before the cycle closes, when its bill is not known yet.
inline constexpr int kPaymentNearDays = 7;

struct TCardCycle {
  TMonthKey closingMonth = 0;  // yyyymm of the closing day
  TDayNumber first = 0;
  TDayNumber last = 0;         // the closing day
  int64_t spent = 0;           // purchases less refunds and money put on the card; may be below 0
  int64_t billed = 0;          // what the bank pays: spent less credit from earlier cycles, at least 0
  TDayNumber paymentDate = 0;  // on a business day
  bool entered = false;        // the payment is in the passbook, or there is nothing to pay
  TDayNumber paidOn = 0;       // the date of the move that paid it; 0 when none did
};

// The card's closing day in a month.
[[nodiscard]] TDayNumber ClosingDate(const TCardSettings& card, TMonthKey month);
// The month whose closing day ends the cycle holding day.
[[nodiscard]] TMonthKey CycleMonthOfDay(const TCardSettings& card, TDayNumber day);

// The cycles closing in the months from..to, oldest first. Uses before from count for the
// credit they leave, and each move into the card pays at most one cycle or lowers the bill
// of the cycle it falls in, so the answer for a month does not depend on the range asked.
[[nodiscard]] std::vector<TCardCycle> CardCycles(const TCardSettings& card, const TCardMovements& movements,
                                                 TMonthKey from, TMonthKey to, TBusinessDays& businessDays);

// The cycles from the one of the card's first use through the one holding today (or the one
// of a later use already entered), oldest first: what the window and the command line show.
[[nodiscard]] std::vector<TCardCycle> CardCyclesUpTo(const TCardSettings& card, const TCardMovements& movements,
                                                     TDayNumber today, TBusinessDays& businessDays);

// A cycle not closed by today may still grow: it is neither paid nor payable yet.
[[nodiscard]] inline bool CycleOpen(const TCardCycle& cycle, TDayNumber today) { return cycle.last >= today; }
// Where the cycle stands on today, for a person: "締め前" (not closed yet), "支払なし"
// (nothing billed), "未" (not paid) or "済 (yyyy/mm/dd)" with the day it was paid.
[[nodiscard]] std::string CycleStateText(const TCardCycle& cycle, TDayNumber today);

}  // namespace kzm
