#pragma once

// Each passbook carries an id in a small file of its own, made the first time it is needed
// (a backup, a restore, a month written): backups tell passbooks apart by it, and what one PC
// keeps about a passbook outside it (PerPcState.h) is filed under it.
//
// PassbookId.ini (CP932, CR LF): [PASSBOOK] ID, 32 hexadecimal digits.

#include <string>

namespace kzm {

inline constexpr const char* kPassbookIdFileName = "PassbookId.ini";

// The id of the passbook at passbookFolder, made and written when it has none. Empty, with
// error in Japanese, when it can be neither read nor written.
[[nodiscard]] std::string PassbookIdOf(const std::string& passbookFolder, std::string& error);

}  // namespace kzm
