#pragma once

// Which encoding a statement file is in. Banks and card companies write CP932, UTF-8 with or
// without a byte-order mark, or UTF-16 (some changed over the years), and say nothing about it.

#include <cstdint>
#include <string>
#include <string_view>

namespace kzm {

enum class TStatementEncoding : uint8_t { seCp932, seUtf8, seUtf8Bom, seUtf16Le, seUtf16Be };

// "CP932", "UTF-8", "UTF-8 (BOM)", "UTF-16LE", "UTF-16BE".
[[nodiscard]] const char* EncodingName(TStatementEncoding encoding);

// Turns the bytes of a statement file into UTF-8 text. A byte-order mark decides; without one
// the bytes are UTF-8 when they are valid UTF-8, UTF-16LE when every second byte of mostly
// ASCII text is zero, and CP932 otherwise. False, with a sentence for the user in error, for
// what is no text: control bytes of a binary file (an image, an archive), text that is partly
// UTF-8 and partly something else, or bytes that are no CP932 either.
[[nodiscard]] bool DecodeStatementBytes(std::string_view bytes, std::string& text,
                                        TStatementEncoding& encoding, std::string& error);

}  // namespace kzm
