#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kzm {

// Returned by NextUtf8 for a byte that does not start a well-formed UTF-8 character.
inline constexpr char32_t kInvalidUtf8 = 0xFFFFFFFF;

// Appends the UTF-8 form of a code point (up to U+10FFFF).
void AppendUtf8(std::string& out, char32_t cp);

// Reads the character at pos and moves pos past it. A malformed sequence (overlong,
// surrogate, beyond U+10FFFF, cut short) gives kInvalidUtf8 and moves pos by one byte.
[[nodiscard]] char32_t NextUtf8(std::string_view text, std::size_t& pos);

// Length in bytes of the character starting at pos (1 for a malformed byte); never runs
// past the end of text.
[[nodiscard]] std::size_t Utf8CharLength(std::string_view text, std::size_t pos);

}  // namespace kzm
