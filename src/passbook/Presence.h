#pragma once

// Who else has the passbook open. Each PC that opens a passbook for writing keeps a small file
// of its own in the passbook folder, "Presence-<pc id>.ini", and writes it again every minute
// while it has the passbook open; the sync engine carries it to the other PCs, which read
// each other's to tell a person that another PC is at work (so a merge is to be expected).
// It goes when the passbook is closed.
//
// File (CP932, CR LF): [PRESENCE] NAME (the PC's name for people), SEEN (seconds since
// 1970-01-01 UTC, when it was last written).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// A PC whose presence file was written within this many seconds counts as present.
inline constexpr int64_t kPresenceFreshSeconds = 5 * 60;

[[nodiscard]] bool IsPresenceFileName(std::string_view name);

// Writes this PC's presence file, atomically. False, with error, when it could not be written.
bool WritePresence(const std::string& passbookFolder, int64_t now, std::string& error);
// Takes this PC's presence file away.
void RemovePresence(const std::string& passbookFolder);

// The names of the other PCs seen at most kPresenceFreshSeconds before now (or a little in
// the future: clocks of two PCs differ), sorted, each once. An unreadable file is passed over.
[[nodiscard]] std::vector<std::string> OtherPcsPresent(const std::string& passbookFolder, int64_t now);

}  // namespace kzm
