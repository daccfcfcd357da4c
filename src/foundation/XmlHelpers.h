#pragma once

// Small text helpers shared by the XML reader and writer.

#include <string>
#include <string_view>

namespace kzm::xml {

// Drops blanks and control characters (bytes up to 0x20) from both ends.
[[nodiscard]] inline std::string_view TrimControls(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= 0x20) text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= 0x20) text.remove_suffix(1);
  return text;
}

// Lower case for ASCII letters only; other characters (and every byte of a multi-byte
// character) are left alone.
[[nodiscard]] inline std::string LowerAscii(std::string_view text) {
  std::string result(text);
  for (char& c : result) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return result;
}

}  // namespace kzm::xml
