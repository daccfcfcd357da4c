#pragma once

#include <string>

namespace kzm {

// A system error number as a short Japanese sentence for messages to the user. The common
// ones (no space, no permission, a name too long, a read-only disk, not found) have their own
// text; any other says that a system error occurred, with its number.
[[nodiscard]] std::string SystemErrorText(int error);

}  // namespace kzm
