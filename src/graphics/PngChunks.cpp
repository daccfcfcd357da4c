#include "graphics/PngChunks.h"

#include <algorithm>
#include <cstring>

#include "graphics/PngDecoder.h"

namespace kzm::png {

namespace {

constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

std::uint32_t BigEndian32(const unsigned char* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

struct TChunkHead {
  std::uint32_t length = 0;
  char type[4] = {};
  [[nodiscard]] bool Is(const char* name) const { return std::memcmp(type, name, 4) == 0; }
};

bool ReadChunkHead(TStream& stream, TChunkHead& head) {
  unsigned char bytes[8];
  if (stream.Read(bytes, 8) < 8) return false;
  head.length = BigEndian32(bytes);
  std::memcpy(head.type, bytes + 4, 4);
  return true;
}

// Skips a chunk's data and its CRC.
void SkipChunk(TStream& stream, const TChunkHead& head) {
  stream.Seek(static_cast<std::int64_t>(head.length) + 4, TSeekOrigin::Current);
}

// Appends up to length bytes; never more than the stream holds.
bool AppendChunkData(TStream& stream, std::uint32_t length, std::string& out) {
  const std::int64_t available = std::min<std::int64_t>(length, std::max<std::int64_t>(stream.Remaining(), 0));
  const std::size_t old = out.size();
  out.resize(old + static_cast<std::size_t>(available));
  const std::int64_t got = stream.Read(out.data() + old, available);
  out.resize(old + static_cast<std::size_t>(got));
  return got == length;
}

void ReadPalette(TStream& stream, const TChunkHead& head, TPalette& palette) {
  palette.found = true;
  std::string bytes;
  AppendChunkData(stream, std::min<std::uint32_t>(head.length, 768), bytes);
  const std::size_t entries = bytes.size() / 3;
  for (std::size_t i = 0; i < entries; ++i) {
    palette.bgr[i] = {static_cast<std::uint8_t>(bytes[3 * i + 2]), static_cast<std::uint8_t>(bytes[3 * i + 1]),
                      static_cast<std::uint8_t>(bytes[3 * i])};
  }
  const std::int64_t rest = static_cast<std::int64_t>(head.length) - static_cast<std::int64_t>(bytes.size());
  stream.Seek(rest + 4, TSeekOrigin::Current);
}

}  // namespace

bool ReadHeader(TStream& stream, THeader& header) {
  unsigned char signature[8];
  if (stream.Read(signature, 8) < 8 || std::memcmp(signature, kSignature, 8) != 0) {
    throw EPngError("PNGファイルではありません");
  }
  TChunkHead head;
  while (ReadChunkHead(stream, head)) {
    if (!head.Is("IHDR")) {
      SkipChunk(stream, head);
      continue;
    }
    unsigned char bytes[13] = {};
    if (stream.Read(bytes, 13) < 13) throw EPngError("PNGファイルが壊れています(ヘッダーが途中で切れています)");
    stream.Seek(4, TSeekOrigin::Current);
    header.width = BigEndian32(bytes);
    header.height = BigEndian32(bytes + 4);
    header.bitDepth = bytes[8];
    header.colorType = bytes[9];
    header.compression = bytes[10];
    header.filter = bytes[11];
    header.interlace = bytes[12];
    return true;
  }
  return false;
}

bool FindImageData(TStream& stream, TPalette& palette, std::uint32_t& firstLength) {
  TChunkHead head;
  while (ReadChunkHead(stream, head)) {
    if (head.Is("IDAT")) {
      firstLength = head.length;
      return true;
    }
    if (head.Is("PLTE")) {
      ReadPalette(stream, head, palette);
    } else {
      SkipChunk(stream, head);
    }
  }
  return false;
}

bool TImageDataReader::NextChunk() {
  do {
    TChunkHead head;
    m_stream.Seek(4, TSeekOrigin::Current);  // the CRC of the chunk just read
    if (!ReadChunkHead(m_stream, head) || !head.Is("IDAT")) {
      m_ended = true;
      return false;
    }
    m_left = head.length;
  } while (m_left == 0);
  return true;
}

std::int64_t TImageDataReader::Read(std::uint8_t* buffer, std::int64_t count) {
  std::int64_t done = 0;
  while (done < count && !m_ended) {
    if (m_left == 0 && !NextChunk()) break;
    const std::int64_t got = m_stream.Read(buffer + done, std::min(count - done, m_left));
    if (got <= 0) {
      m_ended = true;
      break;
    }
    done += got;
    m_left -= got;
  }
  return done;
}

}  // namespace kzm::png
