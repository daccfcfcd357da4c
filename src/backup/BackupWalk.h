#pragma once

// The files of a passbook folder as a backup sees them.

#include <set>
#include <string>
#include <vector>

#include "backup/BackupArchive.h"

namespace kzm {

// Reads every file under passbookFolder (sub-folders included) into members, named by their
// path relative to it. Left out: the restore record, and temporary files of writes that were
// cut off. What cannot be read (no permission, a link to nothing, a special file) is named in
// unreadable instead.
void CollectPassbookFiles(const std::string& passbookFolder, std::vector<TBackupMember>& members,
                          std::vector<std::string>& unreadable);

// Whether a member's name stays inside the folder it is restored to: relative, with "/"
// only, no empty, "." or ".." part.
[[nodiscard]] bool IsSafeMemberName(const std::string& name);

// Removes every file under passbookFolder whose relative path is not in keep (the restore
// record and temporary files stay). False, with error, when one could not be removed.
bool RemoveFilesOtherThan(const std::string& passbookFolder, const std::set<std::string>& keep, std::string& error);

}  // namespace kzm
