#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>
#include <string_view>

namespace kzm {

// The parts joined into one string, allocated once. Also spares GCC 12 at -O3 its false
// -Wrestrict warning on "literal" + std::string.
[[nodiscard]] inline std::string Concat(std::initializer_list<std::string_view> parts) {
  std::size_t size = 0;
  for (const std::string_view part : parts) size += part.size();
  std::string out;
  out.reserve(size);
  for (const std::string_view part : parts) out.append(part);
  return out;
}

}  // namespace kzm
