#pragma once

#include <string>
#include <string_view>

namespace kzm {

// UTF-16 little-endian bytes (without a byte-order mark) as UTF-8, up to the first zero
// character. Unpaired surrogates become U+FFFD; an odd last byte is ignored.
[[nodiscard]] std::string Utf16LeToUtf8(std::string_view bytes);

// UTF-8 text as UTF-16 little-endian bytes (no byte-order mark). Invalid UTF-8 becomes U+FFFD.
[[nodiscard]] std::string Utf8ToUtf16Le(std::string_view utf8);

// The text with every invalid UTF-8 sequence (stray bytes, overlong forms, surrogates,
// values above U+10FFFF) replaced by U+FFFD, so that text read from a file declared UTF-8
// can be held in memory safely.
[[nodiscard]] std::string SanitizeUtf8(std::string_view text);

}  // namespace kzm
