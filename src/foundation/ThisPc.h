#pragma once

// What tells this PC apart from the others that share a passbook through a synced folder
// (Syncthing, Nextcloud, Dropbox). Files that only this PC may act on (its lock, the journals
// of its changes in progress, the stage of a restore) carry this PC's id in their names, so
// another PC never finishes, undoes or waits on them; caches and the record of what this PC
// last saw live in its state folder, outside the synced folder.

#include <string>
#include <string_view>

namespace kzm {

// Twelve hexadecimal digits, stable for one user on one PC: made from /etc/machine-id (the
// host name where there is none) and the user's state folder, so two people, or two test
// homes, on one machine count as two PCs.
[[nodiscard]] std::string ThisPcId();
// The host name, for people ("居間のPC" reads better than a number); "PC" when unknown.
[[nodiscard]] std::string ThisPcName();
// "$XDG_STATE_HOME/Orvik/tavimrok" (default "~/.local/state/..."): what belongs to this PC
// and may be lost without harm. Not created here.
[[nodiscard]] std::string PcStateFolder();

// name with this PC's mark before its extension: "CarryJournal.csv" gives
// "CarryJournal.pc-<id>.csv", "pending" gives "pending.pc-<id>".
[[nodiscard]] std::string PcOwnName(std::string_view name);
// True for a name that carries some PC's mark (this one's or another's).
[[nodiscard]] bool IsPcOwnName(std::string_view name);
// Where this PC keeps the file (or folder) oldName of folder: under PcOwnName, unless only
// the old name exists. A journal an earlier version left there is this PC's, and is used
// under its old name until it is finished; nothing is renamed, so a reader writes nothing.
[[nodiscard]] std::string PcOwnPath(const std::string& folder, std::string_view oldName);

}  // namespace kzm
