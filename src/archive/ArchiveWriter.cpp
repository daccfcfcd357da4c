#include "archive/ArchiveWriter.h"

#include "archive/ArchiveEntry.h"

namespace kzm {

std::string BuildArchive(const std::vector<TArchiveMember>& members, std::string_view stamp) {
  std::string body;
  std::int64_t offset = 48;  // the header ends with "ADAT" at 44
  std::int32_t id = 0;
  for (const TArchiveMember& m : members) {
    TArcEntry entry;
    entry.id = ++id;
    entry.nameLength = static_cast<std::int32_t>(m.name.size());
    entry.offset = offset + static_cast<std::int64_t>(TArcEntry::kBytes + m.name.size());
    entry.flag = 1;
    entry.size = static_cast<std::int64_t>(m.bytes.size());
    body += entry.Serialize() + m.name + m.bytes;
    offset = entry.offset + entry.size;
  }
  std::string out = "OARC";
  AppendLe(out, static_cast<std::uint64_t>(48 + body.size()), 8);
  out += "AHDR";
  AppendLe(out, 24, 4);
  AppendLe(out, members.size(), 8);
  std::string stamp16(stamp.substr(0, 16));
  stamp16.resize(16, '0');
  out += stamp16 + "ADAT" + body;
  return out;
}

}  // namespace kzm
