#pragma once

// The rules a column mapping must meet before it is kept as a preset, the same whoever makes
// it: the column mapping dialog and `import --columns`.

#include <string>

#include "statement/StatementLayout.h"

namespace kzm {

// A mapping is kept when it has a date column and amounts: one signed amount column, or out
// and in columns, never both (a file cannot mean its money both ways); and a name of its own,
// not blank and unlike (in any ASCII case) the name of a built-in layout, which a preset would
// otherwise hide. False with the reason, for the user, in error.
[[nodiscard]] bool CheckColumnMapping(const TStatementLayout& layout, std::string& error);

}  // namespace kzm
