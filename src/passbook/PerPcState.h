#pragma once

// What one PC keeps about a passbook that must not travel with it when the data folder lives
// in a folder a sync engine shares between PCs: here, the merge bases. It lives under
// $XDG_STATE_HOME (default ~/.local/state)/Orvik/tavimrok/<id>, the id from the passbook's
// PassbookId.ini, so that the passbook keeps its state wherever its folder is, and two
// passbooks never share one.
//
// A merge base is the last version of a file this PC knows the other PCs had too: the file as
// it lay on disk before this PC wrote over it, unless what lay there was this PC's own last
// write (another PC need not have seen that one). "<name>.own" beside it holds a hash of this
// PC's last write. Bases are a cache: lost, a merge keeps the union of both sides.

#include <string>
#include <string_view>

namespace kzm {

// The passbook's folder of per-PC state; empty when the passbook has no id yet.
[[nodiscard]] std::string PerPcStateFolder(const std::string& passbookFolder);

// The base kept for the file at relativeName ("Daily/202405.kzm") of the passbook. False when
// there is none.
[[nodiscard]] bool ReadMergeBase(const std::string& passbookFolder, const std::string& relativeName,
                                 std::string& bytes);
// Keeps base as the file's base after a merge wrote written: what both sides held is what
// the other PCs know; the merged file is this PC's own until they have seen it.
void KeepMergeBase(const std::string& passbookFolder, const std::string& relativeName, std::string_view base,
                   std::string_view written);

// Called by the month file's writer before it replaces the file at path (…/Daily/yyyymm.kzm)
// with bytes, and after it did (written true). Nothing here ever stops a write.
void NoteMonthFileWrite(const std::string& path, std::string_view bytes, bool written);

}  // namespace kzm
