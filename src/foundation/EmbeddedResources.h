#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace kzm {

// One file compiled into the program from resources/embedded/.
struct TEmbeddedResource {
  const char* name;  // upper-case file name without extension; nullptr ends the table
  const unsigned char* data;
  std::size_t size;
};

extern const TEmbeddedResource kEmbeddedResources[];

// The bytes of the embedded resource called name. The extension of name is ignored and
// letter case does not matter ("Colors", "colors.xml" and "COLORS" are one resource).
// Empty optional when there is no such resource.
[[nodiscard]] std::optional<std::string_view> FindEmbeddedResource(std::string_view name);

}  // namespace kzm
