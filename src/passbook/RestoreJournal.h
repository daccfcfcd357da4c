#pragma once

// Putting files back into a passbook all or none, whatever moment the program is stopped at.
// The files to put in are first written whole into a stage folder beside the passbook and
// synced; then the record "Restore.ini" is written in the passbook folder; then the files it
// names are removed, the staged files moved in, and the record and the stage removed last.
// A run stopped before the record changed nothing, and its stage is dropped at the next open;
// one stopped after it is finished at the next open. This part knows files and renames only:
// what goes into the stage, and why, is the caller's.
//
// Restore.ini (CP932, CR LF): [RESTORE] FROM (the backup put back), BEFORE (the backup of the
// state before), FILE (the one file put back, empty for the whole passbook), STAGED=1, DONE=0;
// [REMOVE] COUNT and the keys 1 to COUNT, the files to remove (paths relative to the passbook).
// A record without STAGED is one an earlier version left; it cannot be finished from here.
// The record and the stage carry this PC's name ("Restore.pc-<id>.ini", ".<name>.pc-<id>.restore",
// see PcOwnPath), so another PC sharing the folder never finishes or drops them.

#include <string>
#include <vector>

namespace kzm {

inline constexpr const char* kRestoreRecordFileName = "Restore.ini";

struct TRestoreRecord {
  std::string from;
  std::string before;
  std::string file;
  std::vector<std::string> remove;
};

// "<parent>/.<name>.restore" for the passbook folder "<parent>/<name>": on the same disk, so the
// files move in by renaming, and hidden. The staged files lie in its folder "files", one
// level further in, so that the passbook list never takes the stage for a passbook.
[[nodiscard]] std::string RestoreStageFolder(const std::string& passbookFolder);
[[nodiscard]] std::string RestoreStageFiles(const std::string& passbookFolder);

// Removes the stage and all it holds (a link there is taken away, never followed).
void DropRestoreStage(const std::string& passbookFolder);

// Writes the record, then puts the staged files in as above. False, with error in Japanese,
// when the record could not be written (nothing changed) or the files could not all be put in
// (the record stays, and the next open tries again).
bool SwapInRestore(const std::string& passbookFolder, const TRestoreRecord& record, std::string& error);

// Finishes what a stopped restore left, or drops its stage. Returns what was done, in
// Japanese, for the person; empty when nothing was left. Needs the passbook's writer lock.
[[nodiscard]] std::string SettleStoppedRestore(const std::string& passbookFolder);

}  // namespace kzm
