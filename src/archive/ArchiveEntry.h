#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kzm {

// One member entry of a resource archive as it lies on disk: 37 bytes, packed,
// little-endian. Id (I32), NameLength (I32), Offset (I64), Flag (byte), Size (I64) and 12
// reserved bytes that are kept as read and written as zeros for new entries.
struct TArcEntry {
  static constexpr std::size_t kBytes = 37;

  std::int32_t id = 0;
  std::int32_t nameLength = 0;
  std::int64_t offset = 0;
  std::uint8_t flag = 0;
  std::int64_t size = 0;
  std::array<std::uint8_t, 12> reserved{};

  // Parses kBytes bytes.
  [[nodiscard]] static TArcEntry Parse(const std::uint8_t* bytes);
  [[nodiscard]] std::string Serialize() const;
};

// Little-endian helpers shared by the archive reader and writer.
void AppendLe(std::string& out, std::uint64_t value, int bytes);
[[nodiscard]] std::uint64_t ReadLe(const std::uint8_t* bytes, int count);

}  // namespace kzm
