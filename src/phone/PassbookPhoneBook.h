#pragma once

// The phone service bound to the open passbook: an entry from a phone is booked as a typed
// one — its day's month file written, the balances carried, every window told — and the
// service's own records live in this PC's folder for the passbook, never in the passbook.

#include <string>

#include "phone/PhoneService.h"

namespace kzm {

[[nodiscard]] TPhoneBook OpenPassbookPhoneBook();

// $XDG_STATE_HOME/Orvik/tavimrok/phone/<passbook id> (~/.local/state/… by default), made
// when missing. Empty with error in Japanese when it cannot be had.
[[nodiscard]] std::string PhoneStateFolder(const std::string& passbookFolder, std::string& error);

}  // namespace kzm
