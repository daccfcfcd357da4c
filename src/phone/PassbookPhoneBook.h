#pragma once

// The phone service bound to the open passbook: an entry from a phone is booked as a typed
// one — its day's month file written, the balances carried, every window told — and the
// service's own records live in this PC's folder for the passbook, never in the passbook.

#include <string>

#include "phone/PhoneService.h"

namespace kzm {

[[nodiscard]] TPhoneBook OpenPassbookPhoneBook();

// The passbook's per-PC state folder's Phone folder (~/.local/state/Orvik/tavimrok/<passbook
// id>/Phone by default), made when missing, the passbook's id with it. Empty with error in Japanese when it cannot be had.
[[nodiscard]] std::string PhoneStateFolder(const std::string& passbookFolder, std::string& error);

}  // namespace kzm
