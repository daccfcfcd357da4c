#pragma once

// The names sync engines give the copy of a file two PCs changed at the same time, which
// they leave beside the file they kept:
//   Syncthing   NAME.sync-conflict-YYYYMMDD-HHMMSS-DEVICEID.EXT
//   Nextcloud   NAME (conflicted copy YYYY-MM-DD HHMMSS).EXT
//   Dropbox     NAME (WHO's conflicted copy YYYY-MM-DD).EXT  (WHO: a PC or person, any text)
// A name with no extension has none after the mark either.

#include <string>
#include <string_view>

namespace kzm {

// The name of the file a conflict copy stands beside ("202405.kzm"), and the time it was
// made as "YYYYMMDDHHMMSS" (the Dropbox copy's day with 000000) so that several copies can be
// taken in order. False for a name that is no conflict copy.
[[nodiscard]] bool ParseConflictName(std::string_view name, std::string& original, std::string& made);

}  // namespace kzm
