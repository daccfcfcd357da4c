#pragma once

// The lines the data folder's ".stignore" needs so that Syncthing, when it keeps the data folder
// in sync between PCs, leaves alone what belongs to one PC or to one moment: the locks and
// journals (under this program's per-PC names and under the names earlier versions gave them),
// the stage of a restore, the batch of settlements being written and the temporary files of
// atomic writes. The file is Syncthing's (UTF-8, one pattern a line, "//" starts a comment)
// and may hold a person's own lines: lines are only ever added, never taken away or changed.

#include <string>
#include <vector>

namespace kzm {

inline constexpr const char* kSyncIgnoreFileName = ".stignore";

// The patterns this program needs, in the order they are written.
[[nodiscard]] const std::vector<std::string>& SyncIgnorePatterns();

// Adds to dataFolder/.stignore whatever of SyncIgnorePatterns it lacks (atomically; the file
// is made when missing). Does nothing when all are there. False, with error, when it could
// not be read or written.
bool KeepSyncIgnore(const std::string& dataFolder, std::string& error);

}  // namespace kzm
