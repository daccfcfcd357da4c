#pragma once

#include <string>
#include <string_view>

namespace kzm {

// Writes bytes to path atomically: a temporary file in the same folder is written, flushed
// and synced, then renamed over the target, so a crash or a full disk never leaves a
// half-written file. Returns false on any failure (the old file is then untouched) and, when
// error is given, a short description of what failed.
[[nodiscard]] bool WriteFileAtomic(const std::string& path, std::string_view bytes,
                                   std::string* error = nullptr);

// Reads a whole file. False when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes);

}  // namespace kzm
