#pragma once

#include <string_view>

namespace kzm {

class THeadList;

// The index of key in list. When it is absent, a new visible category with zero amounts goes
// right after the first run of categories of the key's kind (at the end when there is none),
// so a category the passbook no longer has still shows among its kind.
int AddKeyAfterKind(THeadList& list, std::string_view key);

}  // namespace kzm
