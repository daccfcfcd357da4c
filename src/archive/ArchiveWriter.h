#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// One file to be stored in a resource archive.
struct TArchiveMember {
  std::string name;   // stored as given (the bytes of the name)
  std::string bytes;  // the data
};

// The bytes of a whole archive holding members in order, numbered from 1, flag 1, with the
// given 16-character date stamp (see TArchiveStream for the layout). The program itself only
// reads archives; this serves the archive tool and the tests.
[[nodiscard]] std::string BuildArchive(const std::vector<TArchiveMember>& members, std::string_view stamp);

}  // namespace kzm
