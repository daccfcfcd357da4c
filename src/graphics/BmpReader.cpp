#include "graphics/BmpReader.h"

#include <cstring>
#include <string>

#include "archive/ArchiveEntry.h"
#include "foundation/Errors.h"

namespace kzm {

namespace {

// BITMAPFILEHEADER (14 bytes) and the fields of BITMAPINFOHEADER (40 bytes) that matter.
struct TBmpHeader {
  std::uint32_t dataOffset = 0;
  std::uint32_t infoSize = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  int bitCount = 0;
  std::uint32_t compression = 0;
};

constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kRgb = 0;
constexpr std::uint32_t kBitFields = 3;

TBmpHeader ReadHeaders(TStream& stream, std::int64_t start) {
  std::uint8_t bytes[kFileHeaderBytes + kInfoHeaderBytes];
  if (stream.Read(bytes, sizeof bytes) < static_cast<std::int64_t>(sizeof bytes) || bytes[0] != 'B' ||
      bytes[1] != 'M') {
    throw EkzmError("BMPファイルではありません");
  }
  const std::uint8_t* info = bytes + kFileHeaderBytes;
  TBmpHeader h;
  h.dataOffset = static_cast<std::uint32_t>(ReadLe(bytes + 10, 4));
  h.infoSize = static_cast<std::uint32_t>(ReadLe(info, 4));
  h.width = static_cast<std::int32_t>(ReadLe(info + 4, 4));
  h.height = static_cast<std::int32_t>(ReadLe(info + 8, 4));
  h.bitCount = static_cast<int>(ReadLe(info + 14, 2));
  h.compression = static_cast<std::uint32_t>(ReadLe(info + 16, 4));
  // 32-bit files written with bit fields use the usual masks; other masks are not read.
  const bool plain = h.compression == kRgb || (h.compression == kBitFields && h.bitCount == 32);
  if (h.infoSize < kInfoHeaderBytes || (h.bitCount != 24 && h.bitCount != 32) || !plain ||
      h.width < 0 || h.height == INT32_MIN) {
    throw EkzmError("このBMPには対応していません");
  }
  stream.Seek(start + h.dataOffset, TSeekOrigin::Beginning);
  return h;
}

}  // namespace

void LoadBmpStream(TBitmap& bitmap, TStream& stream) {
  const std::int64_t start = stream.Position();
  const TBmpHeader h = ReadHeaders(stream, start);
  const bool bottomUp = h.height > 0;
  const int height = bottomUp ? h.height : -h.height;
  if (!TBitmap::SizeAllowed(h.width, height)) throw EkzmError("BMP画像が大きすぎます");
  TBitmap result(h.width, height, h.bitCount);
  const std::size_t rowBytes = static_cast<std::size_t>(h.width) * (h.bitCount / 8);
  const std::int64_t padding = static_cast<std::int64_t>((4 - rowBytes % 4) % 4);
  for (int i = 0; i < height; ++i) {
    std::uint8_t* row = result.Row(bottomUp ? height - 1 - i : i);
    // A file that ends early keeps the rest of the picture black.
    if (stream.Read(row, static_cast<std::int64_t>(rowBytes)) < static_cast<std::int64_t>(rowBytes)) break;
    stream.Seek(padding, TSeekOrigin::Current);
  }
  bitmap = std::move(result);
}

}  // namespace kzm
