#include "graphics/PngFiles.h"

#include <png.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <stdexcept>

namespace kzm::test {

namespace {

void AppendBe32(std::string& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

struct TReadSource {
  const std::string* bytes;
  std::size_t pos = 0;
};

void ReadFromString(png_structp png, png_bytep out, png_size_t length) {
  auto* src = static_cast<TReadSource*>(png_get_io_ptr(png));
  if (src->pos + length > src->bytes->size()) png_error(png, "read past end");
  std::memcpy(out, src->bytes->data() + src->pos, length);
  src->pos += length;
}

void WriteToString(png_structp png, png_bytep data, png_size_t length) {
  static_cast<std::string*>(png_get_io_ptr(png))->append(reinterpret_cast<const char*>(data), length);
}

void Flush(png_structp) {}

void Quiet(png_structp, png_const_charp) {}

[[noreturn]] void QuietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

}  // namespace

std::string PngChunk(const std::string& type, const std::string& data) {
  std::string out;
  AppendBe32(out, static_cast<std::uint32_t>(data.size()));
  const std::string body = type + data;
  out += body;
  AppendBe32(out, static_cast<std::uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(body.data()),
                                                   static_cast<uInt>(body.size()))));
  return out;
}

std::string HandMadePng(std::uint32_t width, std::uint32_t height, int depth, int colorType,
                        const std::string& scanlines, const std::string& beforeData, int interlace,
                        int compression) {
  std::string ihdr;
  AppendBe32(ihdr, width);
  AppendBe32(ihdr, height);
  ihdr += {static_cast<char>(depth), static_cast<char>(colorType), static_cast<char>(compression), 0,
           static_cast<char>(interlace)};
  uLongf size = compressBound(static_cast<uLong>(scanlines.size()));
  std::string packed(size, '\0');
  compress(reinterpret_cast<Bytef*>(packed.data()), &size, reinterpret_cast<const Bytef*>(scanlines.data()),
           static_cast<uLong>(scanlines.size()));
  packed.resize(size);
  return std::string("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + beforeData + PngChunk("IDAT", packed) +
         PngChunk("IEND", "");
}

std::string EncodeWithLibpng(const TPngPicture& p, int filterMask, int compressionLevel) {
  std::string out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    throw std::runtime_error("libpng could not write the test picture");
  }
  png_set_write_fn(png, &out, WriteToString, Flush);
  png_set_IHDR(png, info, static_cast<png_uint_32>(p.width), static_cast<png_uint_32>(p.height), p.depth,
               p.colorType, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  std::vector<png_color> palette;
  for (std::size_t i = 0; i + 2 < p.palette.size(); i += 3) {
    palette.push_back({static_cast<png_byte>(p.palette[i]), static_cast<png_byte>(p.palette[i + 1]),
                       static_cast<png_byte>(p.palette[i + 2])});
  }
  if (!palette.empty()) png_set_PLTE(png, info, palette.data(), static_cast<int>(palette.size()));
  if (!p.trns.empty()) {
    png_set_tRNS(png, info, reinterpret_cast<png_const_bytep>(p.trns.data()), static_cast<int>(p.trns.size()),
                 nullptr);
  }
  png_set_filter(png, 0, filterMask);
  png_set_compression_level(png, compressionLevel);
  png_write_info(png, info);
  for (const std::string& row : p.rows) png_write_row(png, reinterpret_cast<png_const_bytep>(row.data()));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return out;
}

TPngPicture RandomPicture(int width, int height, int depth, int colorType, unsigned seed) {
  std::mt19937 random(seed);
  TPngPicture p{width, height, depth, colorType, {}, {}, {}};
  const int samples = colorType == 2 ? 3 : colorType == 4 ? 2 : colorType == 6 ? 4 : 1;
  const std::size_t rowBytes = (static_cast<std::size_t>(width) * samples * depth + 7) / 8;
  const int paletteSize = colorType == 3 ? 1 << depth : 0;
  for (int i = 0; i < 3 * paletteSize; ++i) p.palette.push_back(static_cast<char>(random()));
  for (int y = 0; y < height; ++y) {
    std::string row(rowBytes, '\0');
    // Smooth rows with noise, so every filter has work to do.
    for (std::size_t i = 0; i < rowBytes; ++i) {
      row[i] = static_cast<char>((i * 3 + static_cast<std::size_t>(y) * 5 + random() % 16) & 0xFF);
    }
    p.rows.push_back(row);
  }
  return p;
}

namespace {

// The libpng work apart from the objects it fills, so the jump back on an error never
// skips a destructor or leaves one of our locals in doubt.
bool ReadWithLibpng(const std::string& bytes, TBitmap& result, std::vector<png_bytep>& rows) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, Quiet);
  png_infop info = png_create_info_struct(png);
  TReadSource source{&bytes};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_read_fn(png, &source, ReadFromString);
  png_read_info(png, info);
  const int colorType = png_get_color_type(png, info);
  const bool alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
  png_set_expand(png);
  if (!alpha) png_set_strip_alpha(png);
  if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
  png_set_bgr(png);
  png_read_update_info(png, info);
  result.SetSize(static_cast<int>(png_get_image_width(png, info)), static_cast<int>(png_get_image_height(png, info)),
                 alpha ? 32 : 24);
  for (int y = 0; y < result.Height(); ++y) rows.push_back(result.Row(y));
  png_read_image(png, rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

}  // namespace

std::optional<TBitmap> DecodeWithLibpng(const std::string& bytes) {
  TBitmap result;
  std::vector<png_bytep> rows;
  if (!ReadWithLibpng(bytes, result, rows)) return std::nullopt;
  return result;
}

std::optional<std::vector<int>> LibpngHeader(const std::string& bytes) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, QuietError, Quiet);
  png_infop info = png_create_info_struct(png);
  TReadSource source{&bytes};
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return std::nullopt;
  }
  png_set_read_fn(png, &source, ReadFromString);
  png_read_info(png, info);
  std::vector<int> fields{png_get_bit_depth(png, info), png_get_color_type(png, info),
                          png_get_interlace_type(png, info)};
  png_destroy_read_struct(&png, &info, nullptr);
  return fields;
}

}  // namespace kzm::test
