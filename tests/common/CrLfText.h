#pragma once

#include <cstddef>
#include <string>

namespace kzm::test {

// The text with every kind of line break (CR, LF, CR LF) as the CR LF that the files hold.
inline std::string WithCrLf(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') {
      out += text[i];
      continue;
    }
    out += "\r\n";
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
  }
  return out;
}

}  // namespace kzm::test
