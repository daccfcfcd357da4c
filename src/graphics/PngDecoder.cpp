#include "graphics/PngDecoder.h"

#include <zlib.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "graphics/PngChunks.h"
#include "graphics/PngFilters.h"
#include "graphics/PngPixels.h"

namespace kzm {

namespace {

using png::THeader;

void CheckHeader(const THeader& h) {
  if (h.bitDepth == 16) throw EPngError("16bit色深度には対応していません");
  if (h.compression != 0) throw EPngError("このPNG圧縮には対応していません");
  if (h.interlace != 0) throw EPngError("PNGインターレースには対応していません");
  if (png::SamplesPerPixel(h.colorType) == 0) throw EPngError("このPNGには対応していません");
  // Checked for every colour type, so a truecolour image of 4 bits cannot make the pixel
  // unpacking read past its row.
  if (!png::DepthSupported(h.colorType, h.bitDepth)) {
    throw EPngError(std::to_string(h.bitDepth) + "bit色深度には対応していません");
  }
  if (!TBitmap::SizeAllowed(h.width, h.height)) {
    throw EPngError("PNG画像が大きすぎます(" + std::to_string(h.width) + "x" + std::to_string(h.height) + ")");
  }
}

// zlib's inflate over the image data, handing out one row at a time.
class TRowInflater {
 public:
  explicit TRowInflater(png::TImageDataReader& data) : m_data(data) {
    if (inflateInit(&m_z) != Z_OK) throw EPngError("PNGデータを展開できません");
  }
  ~TRowInflater() { inflateEnd(&m_z); }
  TRowInflater(const TRowInflater&) = delete;
  TRowInflater& operator=(const TRowInflater&) = delete;

  // Fills out with up to length bytes and returns how many came; fewer at the data's end.
  std::size_t Next(std::uint8_t* out, std::size_t length) {
    m_z.next_out = out;
    m_z.avail_out = static_cast<uInt>(length);
    while (m_z.avail_out > 0 && !m_ended) {
      if (m_z.avail_in == 0) {
        m_z.next_in = m_input;
        m_z.avail_in = static_cast<uInt>(m_data.Read(m_input, sizeof m_input));
      }
      const int rc = inflate(&m_z, Z_SYNC_FLUSH);
      if (rc == Z_STREAM_END || rc == Z_BUF_ERROR) {
        m_ended = true;
      } else if (rc != Z_OK) {
        throw EPngError("PNGデータが壊れています");
      }
    }
    return length - m_z.avail_out;
  }

 private:
  png::TImageDataReader& m_data;
  z_stream m_z{};
  bool m_ended = false;
  std::uint8_t m_input[32768];
};

void DecodeRows(const THeader& h, const png::TPalette& palette, png::TImageDataReader& data, TBitmap& bitmap) {
  const int samples = png::SamplesPerPixel(h.colorType);
  const std::size_t rowBytes = (static_cast<std::size_t>(h.width) * samples * h.bitDepth + 7) / 8;
  const std::size_t distance = std::max<std::size_t>(1, static_cast<std::size_t>(samples * h.bitDepth / 8));
  // Filter byte in front of each row; the rows above the first count as zeros.
  std::vector<std::uint8_t> current(rowBytes + 1);
  std::vector<std::uint8_t> prior(rowBytes + 1);
  TRowInflater inflater(data);
  for (int y = 0; y < bitmap.Height(); ++y) {
    const std::size_t got = inflater.Next(current.data(), current.size());
    if (got == 0 && y == 0) throw EPngError("PNGファイルが壊れています(画像データがありません)");
    if (got == 0) return;
    // Bytes missing at the data's end stay zero.
    std::memset(current.data() + got, 0, current.size() - got);
    png::UnfilterRow(current[0], current.data() + 1, prior.data() + 1, rowBytes, distance);
    png::ConvertRow(h, palette, current.data() + 1, bitmap.Row(y), bitmap.Width());
    if (got < current.size()) return;
    std::swap(current, prior);
  }
}

}  // namespace

void LoadPngStream(TBitmap& bitmap, TStream& stream) {
  THeader header;
  if (!png::ReadHeader(stream, header)) return;
  CheckHeader(header);
  const bool alpha = header.colorType == 4 || header.colorType == 6;
  bitmap.SetSize(static_cast<int>(header.width), static_cast<int>(header.height), alpha ? 32 : 24);
  png::TPalette palette;
  std::uint32_t firstLength = 0;
  if (!png::FindImageData(stream, palette, firstLength)) {
    throw EPngError("PNGファイルが壊れています(画像データがありません)");
  }
  if (header.colorType == 3 && !palette.found) throw EPngError("PNGファイルが壊れています(パレットがありません)");
  png::TImageDataReader data(stream, firstLength);
  DecodeRows(header, palette, data, bitmap);
}

}  // namespace kzm
