#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kzm::ui {

// Cells of the daily grid hold texts and category keys. A key starts with the byte FF and
// its kind byte, which are no UTF-8, so they travel as the characters U+00FF and U+0001..6;
// the rest is UTF-8 like any other text. The way back restores the key byte for byte.
[[nodiscard]] QString ToCell(std::string_view text);
[[nodiscard]] std::string FromCell(const QString& cell);

}  // namespace kzm::ui
