#pragma once

// A width fold for statement texts, so that "ＡＴＭ　ｾﾌﾞﾝ" and "ATM セブン" compare equal.
// It does what NFKC does to the characters statements use — full-width ASCII to ASCII, the
// ideographic space to a space, ￥ to ¥, half-width katakana to full-width (with their voiced
// marks joined) — and nothing else: other compatibility characters (circled digits, ㈱ and
// the like) stay as they are.

#include <string>
#include <string_view>

namespace kzm {

// The text folded as above.
[[nodiscard]] std::string FoldWidth(std::string_view utf8);

// FoldWidth, then every run of blanks (spaces, tabs, line breaks) made one space and blanks
// at both ends removed: the form in which statement texts and rule texts are compared.
[[nodiscard]] std::string NormaliseStatementText(std::string_view utf8);

}  // namespace kzm
