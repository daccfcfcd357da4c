#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// The items of a comma text, the way a string list reads one: blanks and control
// characters before an item are skipped; an item that begins with a double quote runs to
// the next lone double quote (two stand for one); any other item runs to the next comma,
// blank or control character; after an item, blanks are skipped and one comma is consumed.
// So "a b,c" gives "a", "b", "c", and "_" is how texts that are read this way write blanks.
[[nodiscard]] std::vector<std::string> SplitCommaText(std::string_view text);

}  // namespace kzm
