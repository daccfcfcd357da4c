#pragma once

// The program's own texts compiled in from resources/embedded/.

#include <istream>
#include <memory>
#include <string>
#include <string_view>

namespace kzm {

// The whole text resource called name (extension and letter case ignored), decoded from
// CP932 to UTF-8; empty when there is none.
[[nodiscard]] std::string ReadResourceText(std::string_view name);

// A stream over the raw bytes of the resource, or nullptr when it does not exist.
[[nodiscard]] std::unique_ptr<std::istream> OpenResource(std::string_view name);

}  // namespace kzm
