#pragma once

// Entering a card bill into the passbook: an ordinary move from the 引落口座 into the card on
// the payment date, for the billed amount.

#include <string>

#include "card/CardCycles.h"
#include "card/CardSettings.h"

namespace kzm {

class TkzmDataUnit;

// Enters the payment of cycle into data (the passbook's month data), writes its month, builds
// the accounting month again and tells the windows. Refused (false, the reason in message)
// when the card's settings do not fit the passbook, the cycle is paid or has nothing to pay,
// its month cannot be read or written; nothing is then changed.
bool EnterCardPayment(const TCardSettings& card, const TCardCycle& cycle, TkzmDataUnit& data, std::string& message);

}  // namespace kzm
