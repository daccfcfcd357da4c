#pragma once

#include <string>
#include <string_view>

namespace kzm {

// CP932 (Windows-31J) on disk, UTF-8 in memory.
//
// Decoding never fails: a byte that does not start a valid CP932 character is kept as the
// private code point U+10FF00 + byte, which EncodeCp932 turns back into that byte, so a file
// with broken bytes saves back identical. Duplicate codes (NEC/IBM extensions) decode to one
// character and are written back as Windows writes it.
[[nodiscard]] std::string DecodeCp932(std::string_view bytes);
// The same into out (replaced), whose memory is used again: for decoding line after line.
void DecodeCp932(std::string_view bytes, std::string& out);

// Encodes UTF-8 text as CP932. Returns false when the text holds a character CP932 cannot
// hold (or invalid UTF-8); out then holds nothing useful and, when badChar is given, it
// receives the first such character (UTF-8) so the caller can name it to the user.
[[nodiscard]] bool EncodeCp932(std::string_view utf8, std::string& out, std::string* badChar = nullptr);

// True when every character of the UTF-8 text can be written as CP932.
[[nodiscard]] bool IsCp932Encodable(std::string_view utf8);

}  // namespace kzm
