#pragma once

// The files of a passbook folder as a backup sees them.

#include <cstdint>
#include <ctime>
#include <set>
#include <string>
#include <vector>

namespace kzm {

struct TPassbookFile {
  std::string name;  // relative path with "/"
  std::string path;  // full path
  uint64_t size = 0;
  uint32_t crc = 0;
  std::time_t modified = 0;
};

// Every plain file under passbookFolder (sub-folders included), read once in blocks for its
// size and CRC, named by its path relative to the folder. Left out: the records of a restore
// and the writer's lock, temporary files of writes that were cut off. What cannot be read is
// named in unreadable instead: no permission, a special file, and every link, whether to a
// file or a folder, inside the passbook or out of it (a backup holds the passbook's own files).
void CollectPassbookFiles(const std::string& passbookFolder, std::vector<TPassbookFile>& files,
                          std::vector<std::string>& unreadable);

// The relative paths of everything under passbookFolder a restore may replace or remove: the
// files, links and special files (links never followed), and folders that cannot be listed,
// with the same left out.
[[nodiscard]] std::set<std::string> PassbookEntries(const std::string& passbookFolder);

// Whether a file of this name is never backed up, restored nor removed by a restore.
[[nodiscard]] bool IsLeftOut(const std::string& relative);

// Whether a member's name stays inside the folder it is restored to and can be made there:
// relative, with "/" only, no empty, "." or ".." part, parts of at most 255 bytes, at most 32
// folders deep and 1,024 bytes long.
[[nodiscard]] bool IsSafeMemberName(const std::string& name);

}  // namespace kzm
