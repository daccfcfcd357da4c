#pragma once

// A QR code for the phone to scan: the page's address with its pairing code.

#include <string>
#include <vector>

namespace kzm {

// The modules row by row, true for dark; empty when the text does not fit a QR code.
[[nodiscard]] std::vector<std::vector<bool>> QrModules(const std::string& text);

}  // namespace kzm
