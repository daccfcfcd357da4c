#pragma once

// Merging the conflict copies a sync engine leaves in a passbook folder when two PCs changed a
// file while apart (names in ConflictNames.h). Each copy is merged into the file it stands
// beside, by what the file holds: month files entry by entry against this PC's merge base
// (PerPcState.h); settlements are not merged but built again; categories, settings and our own
// CSV files key by key. A backup ("同期の統合") is taken first, then every merged file is staged
// and put in, with the copies removed, under the restore record (RestoreJournal.h): a merge
// stopped at any point is finished, or dropped, the next time the passbook opens for writing.

#include <string>
#include <vector>

#include "passbook/Profile.h"

namespace kzm {

inline constexpr const char* kSyncMergeReason = "同期の統合";

struct TMergedFile {
  std::string file;         // the passbook's file, relative ("Daily/202405.kzm")
  int copies = 0;           // conflict copies merged into it
  std::string kept;         // what was kept, for the person (Japanese)
  std::string needsPerson;  // what a person should look at; empty when nothing
};

struct TSyncMerge {
  bool ok = true;                  // false: nothing changed (why in message)
  std::vector<TMergedFile> files;  // empty: there was nothing to merge
  std::string message;
  [[nodiscard]] bool NeedsPerson() const;
};

// Merges every conflict copy of the passbook's files and removes the copies. Needs the
// writer lock; reads and writes files only, so the open passbook must be loaded again after
// (OpenPassbookSynced does). Costs one listing of three folders when there is nothing to merge.
[[nodiscard]] TSyncMerge MergeConflictCopies(const std::string& passbookFolder);

// One line per file merged, for the person ("Daily/202405.kzm: …").
[[nodiscard]] std::string MergeReport(const TSyncMerge& merge);

// Opens the passbook as OpenPassbookCarried does; for writing, then merges the conflict copies
// (telling the person through the window system what was merged and what needs a look) and
// loads the passbook again when anything changed.
bool OpenPassbookSynced(const std::string& folder, TPassbookAccess access = TPassbookAccess::paWrite);

}  // namespace kzm
