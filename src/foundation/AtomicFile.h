#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace kzm {

// Writes bytes to path atomically: a temporary file in the same folder is written, flushed
// and synced, then renamed over the target, so a crash or a full disk never leaves a
// half-written file. Returns false on any failure (the old file is then untouched) and, when
// error is given, the path and what failed in a Japanese sentence.
[[nodiscard]] bool WriteFileAtomic(const std::string& path, std::string_view bytes,
                                   std::string* error = nullptr);

// Removes the temporary files WriteFileAtomic leaves in folder when its process ends in the
// middle of a write (a crash, a kill): "<name>.tmp<pid>-<n>" whose process is gone, or runs
// again under that number but started after the file was written. Files of living writers
// and every other file stay. Returns how many were removed.
int RemoveStaleTempFiles(const std::string& folder);

// Reads a whole file. False when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes);

enum class TReadStatus : uint8_t {
  rsRead,      // bytes hold the file
  rsMissing,   // nothing at all is at path
  rsTooLarge,  // the file is larger than the limit; nothing was read
  rsFailed,    // something is there but could not be read (a folder, no permission, ...)
};
// Reads a whole file of at most limit bytes, checking the size before reading anything.
// bytes is empty unless the file was read; error receives the errno of rsFailed.
[[nodiscard]] TReadStatus ReadFileUpTo(const std::string& path, size_t limit, std::string& bytes,
                                       int* error = nullptr);

}  // namespace kzm
