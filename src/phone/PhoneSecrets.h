#pragma once

// The secrets that let a phone write into the passbook: a one-time pairing code shown on the
// PC, and the key a paired phone sends with every request. Both come from the kernel's random
// source; the PC keeps only a key's SHA-256, so a copied settings file lets nobody in.

#include <string>
#include <string_view>

namespace kzm {

// Six random digits.
[[nodiscard]] std::string NewPairingCode();
// 32 random bytes as 64 lowercase hex digits.
[[nodiscard]] std::string NewPhoneKey();
// The key's SHA-256 as 64 lowercase hex digits.
[[nodiscard]] std::string HashPhoneKey(std::string_view key);
// Compares two hashes in a time that does not depend on where they differ.
[[nodiscard]] bool HashesMatch(std::string_view a, std::string_view b);

}  // namespace kzm
