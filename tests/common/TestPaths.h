#pragma once

// Where tests find the files of the source tree and the built program folder: from the
// environment ctest sets, else the folders of the build that made the test program, so that
// a test program also runs directly, from any folder.

#include <string>

namespace kzm::test {

[[nodiscard]] std::string SourceDir();
[[nodiscard]] std::string BinDir();

}  // namespace kzm::test
