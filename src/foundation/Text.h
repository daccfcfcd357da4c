#pragma once

// Text helpers shared by every part of the program. Texts are UTF-8; positions are 1-based
// byte positions in the UTF-8 string, and nothing here cuts a character in half.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace kzm {

// The bytes from position max(from, 1) to min(to, length), both included; empty when
// to < from.
[[nodiscard]] std::string CopyRange(std::string_view text, int from, int to);
// The bytes from position from (at least 1) to the end.
[[nodiscard]] std::string CopyFrom(std::string_view text, int from);
// Position of the first occurrence of pattern in text at or after position from that starts
// on a character boundary; 0 if none (or when pattern is empty).
[[nodiscard]] int PosFrom(std::string_view pattern, std::string_view text, int from);

// Removes path separators ("/") from the end, so "/data/" gives "/data" and "/" gives "".
[[nodiscard]] std::string StripTrailingBackslashes(std::string_view text);

// "&", "<", ">", the double and the single quote as XML entities.
[[nodiscard]] std::string XmlEscape(std::string_view text);
// The five entities back, each replaced once over the whole text, "&amp;" last (so
// "&amp;lt;" gives "&lt;").
[[nodiscard]] std::string XmlUnescape(std::string_view text);

// Decimal with "," between groups of three digits: 1,200,000; -1,000; 0.
[[nodiscard]] std::string FormatThousands(int64_t number);
// The integer value of an amount text after removing every ",", "\", "¥" and "￥";
// 0 when the rest is not a decimal integer that fits 32 bits.
[[nodiscard]] int32_t ParseAmount(std::string_view text);

// Width of a text in pixels, as the window system draws it.
using TTextWidth = std::function<int(std::string_view)>;
// text when it fits in width pixels; otherwise the longest prefix of whole characters
// followed by ".." that fits (".." alone when none does).
[[nodiscard]] std::string FitText(std::string_view text, const TTextWidth& measure, int width);

// A decimal integer with an optional sign, blanks around it allowed; fallback when the text
// is anything else or does not fit 32 bits.
[[nodiscard]] int32_t ParseInt(std::string_view text, int32_t fallback = 0);
// The same reading; false (value untouched) when the text is no such integer.
[[nodiscard]] bool TryParseInt(std::string_view text, int32_t& value);
// The same for 64 bits: sums and balances, which may outgrow any one amount.
[[nodiscard]] bool TryParseInt(std::string_view text, int64_t& value);
[[nodiscard]] int64_t ParseInt64(std::string_view text, int64_t fallback = 0);

// Removes blanks and control characters (bytes up to 0x20) from both ends.
[[nodiscard]] std::string_view Trim(std::string_view text);
// ASCII letters changed case; every other character stays.
[[nodiscard]] std::string UpperCase(std::string_view text);
[[nodiscard]] std::string LowerCase(std::string_view text);
// Equal without regard to the case of ASCII letters.
[[nodiscard]] bool SameText(std::string_view a, std::string_view b);
// Every occurrence of from replaced by to, scanning left to right.
[[nodiscard]] std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to);

// FNV-1a over the bytes, 64 bits: enough to tell one version of a small text from another,
// never a guard against someone who wants a clash.
[[nodiscard]] uint64_t Fnv1a(std::string_view bytes);

}  // namespace kzm
