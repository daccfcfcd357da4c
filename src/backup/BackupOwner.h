#pragma once

// Whose a backup is and what it holds. Each passbook carries an id in a small file of its
// own, made the first time a backup is taken or restored; a backup carries a manifest member
// naming the passbook's id and, for every member, its size and CRC-32. A restore reads the
// manifest before anything changes: another passbook's backup is then told apart, and a
// member that is missing, added or changed since the backup was taken is refused.
//
// PassbookId.ini (CP932, CR LF): [PASSBOOK] ID, 32 hexadecimal digits.
// BackupManifest.csv (in the zip only; UTF-8 like the zip's names, CR LF): a first line
// "passbook,<id>" (the id empty when none could be had), then "<name>,<size>,<crc>" a member,
// the CRC as 8 hexadecimal digits.

#include <string>
#include <string_view>
#include <vector>

#include "backup/BackupArchive.h"
#include "passbook/PassbookId.h"

namespace kzm {

inline constexpr const char* kManifestName = "BackupManifest.csv";

struct TManifest {
  std::string passbookId;
  std::vector<TZipMember> members;  // name, size and crc; index unused
};

[[nodiscard]] std::string ManifestText(const TManifest& manifest);
// False, with error in Japanese, for a text that is not a manifest.
[[nodiscard]] bool ParseManifest(std::string_view text, TManifest& manifest, std::string& error);

}  // namespace kzm
