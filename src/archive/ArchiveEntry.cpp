#include "archive/ArchiveEntry.h"

#include <cstring>

namespace kzm {

void AppendLe(std::string& out, std::uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint64_t ReadLe(const std::uint8_t* bytes, int count) {
  std::uint64_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

TArcEntry TArcEntry::Parse(const std::uint8_t* bytes) {
  TArcEntry e;
  e.id = static_cast<std::int32_t>(ReadLe(bytes, 4));
  e.nameLength = static_cast<std::int32_t>(ReadLe(bytes + 4, 4));
  e.offset = static_cast<std::int64_t>(ReadLe(bytes + 8, 8));
  e.flag = bytes[16];
  e.size = static_cast<std::int64_t>(ReadLe(bytes + 17, 8));
  std::memcpy(e.reserved.data(), bytes + 25, e.reserved.size());
  return e;
}

std::string TArcEntry::Serialize() const {
  std::string out;
  out.reserve(kBytes);
  AppendLe(out, static_cast<std::uint32_t>(id), 4);
  AppendLe(out, static_cast<std::uint32_t>(nameLength), 4);
  AppendLe(out, static_cast<std::uint64_t>(offset), 8);
  out.push_back(static_cast<char>(flag));
  AppendLe(out, static_cast<std::uint64_t>(size), 8);
  out.append(reinterpret_cast<const char*>(reserved.data()), reserved.size());
  return out;
}

}  // namespace kzm
