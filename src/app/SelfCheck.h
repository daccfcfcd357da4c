#pragma once

namespace kzm {

// For installations: with --self-check the program looks for what it needs beside it (the
// picture archive, the manual) and in its data folder, says on standard output what it found,
// and ends without showing a window. 0 when everything was found, else 1.
[[nodiscard]] int RunSelfCheck();

}  // namespace kzm
