#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kzm {

// Where a seek counts from.
enum class TSeekOrigin : std::uint8_t { Beginning, Current, End };

// A readable stream of bytes, the input of the picture decoders. Positions and sizes are
// 64-bit; Read returns how many bytes it delivered (fewer at the end, never negative).
class TStream {
 public:
  virtual ~TStream() = default;

  [[nodiscard]] virtual std::int64_t Read(void* buffer, std::int64_t count) = 0;
  // Returns the new position. What an origin means is up to the stream (see the archive).
  virtual std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) = 0;

  [[nodiscard]] std::int64_t Position() { return Seek(0, TSeekOrigin::Current); }
  [[nodiscard]] virtual std::int64_t Size() = 0;
  // Bytes between the position and the end.
  [[nodiscard]] std::int64_t Remaining() { return Size() - Position(); }
  // Reads the rest of the stream.
  [[nodiscard]] std::string ReadAll();
};

// A stream over bytes that the caller keeps alive (an embedded resource, a fuzz input).
class TMemoryStream : public TStream {
 public:
  explicit TMemoryStream(std::string_view bytes) : m_bytes(bytes) {}

  std::int64_t Read(void* buffer, std::int64_t count) override;
  // From the end the offset is added to the size (zero or negative), as usual; positions
  // are kept within 0..size.
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return static_cast<std::int64_t>(m_bytes.size()); }

 private:
  std::string_view m_bytes;
  std::int64_t m_pos = 0;
};

// A whole file opened for reading. Throws EkzmError when it cannot be opened.
class TFileReadStream : public TStream {
 public:
  explicit TFileReadStream(const std::string& path);
  ~TFileReadStream() override;
  TFileReadStream(const TFileReadStream&) = delete;
  TFileReadStream& operator=(const TFileReadStream&) = delete;

  std::int64_t Read(void* buffer, std::int64_t count) override;
  std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override;
  std::int64_t Size() override { return m_size; }

 private:
  int m_fd = -1;
  std::int64_t m_size = 0;
  std::int64_t m_pos = 0;
};

}  // namespace kzm
