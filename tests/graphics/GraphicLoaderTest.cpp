#include "graphics/GraphicLoader.h"

#include <gtest/gtest.h>

// libjpeg's header needs FILE and size_t declared first.
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

#include "foundation/Errors.h"
#include "graphics/JpegDecoder.h"
#include "graphics/PngFiles.h"

namespace kzm {
namespace {

std::string Le(std::uint32_t v, int bytes) {
  std::string s;
  for (int i = 0; i < bytes; ++i) s.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
  return s;
}

// A BMP file: rows given top first, written bottom-up unless height is negative.
std::string MakeBmp(int width, int height, int bits, const std::vector<std::string>& topFirst) {
  std::string info = Le(40, 4) + Le(static_cast<std::uint32_t>(width), 4) +
                     Le(static_cast<std::uint32_t>(height), 4) + Le(1, 2) + Le(static_cast<std::uint32_t>(bits), 2) +
                     Le(0, 4) + Le(0, 4) + Le(2835, 4) + Le(2835, 4) + Le(0, 4) + Le(0, 4);
  std::string pixels;
  for (int i = 0; i < static_cast<int>(topFirst.size()); ++i) {
    std::string row = topFirst[height > 0 ? topFirst.size() - 1 - i : i];
    row.resize((row.size() + 3) / 4 * 4, '\0');
    pixels += row;
  }
  return "BM" + Le(static_cast<std::uint32_t>(54 + pixels.size()), 4) + Le(0, 4) + Le(54, 4) + info + pixels;
}

TBitmap Load(const std::string& name, const std::string& bytes) {
  TMemoryStream stream(bytes);
  TBitmap bitmap;
  LoadGraphicByExt(bitmap, name, stream);
  return bitmap;
}

std::string Pixel(const TBitmap& b, int x, int y) {
  return std::string(reinterpret_cast<const char*>(b.Row(y) + x * b.BytesPerPixel()), b.BytesPerPixel());
}

std::string MakeJpeg(int width, int height) {
  jpeg_compress_struct info{};
  jpeg_error_mgr error{};
  info.err = jpeg_std_error(&error);
  jpeg_create_compress(&info);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&info, &out, &size);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 95, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<unsigned char> row(static_cast<std::size_t>(width) * 3);
  for (int x = 0; x < width; ++x) {
    row[3 * x] = 200;  // red
    row[3 * x + 1] = 40;
    row[3 * x + 2] = 10;
  }
  while (info.next_scanline < info.image_height) {
    JSAMPROW r = row.data();
    jpeg_write_scanlines(&info, &r, 1);
  }
  jpeg_finish_compress(&info);
  std::string bytes(reinterpret_cast<char*>(out), size);
  jpeg_destroy_compress(&info);
  std::free(out);
  return bytes;
}

TEST(GraphicLoader, ReadsBmpFilesOfBothRowOrders) {
  const std::vector<std::string> rows = {std::string("\1\2\3\4\5\6", 6), std::string("\7\10\11\12\13\14", 6)};
  for (int height : {2, -2}) {
    SCOPED_TRACE(height);
    const TBitmap bmp = Load("x.BMP", MakeBmp(2, height, 24, rows));
    ASSERT_EQ(bmp.Height(), 2);
    EXPECT_EQ(Pixel(bmp, 1, 0), "\4\5\6");
    EXPECT_EQ(Pixel(bmp, 0, 1), "\7\10\11");
  }
  const TBitmap alpha = Load("x.bmp", MakeBmp(1, 1, 32, {std::string("\1\2\3\4", 4)}));
  ASSERT_TRUE(alpha.Is32());
  EXPECT_EQ(Pixel(alpha, 0, 0), "\1\2\3\4");
}

TEST(GraphicLoader, RefusesBadBmpFiles) {
  std::string eightBit = MakeBmp(1, 1, 24, {"\1\2\3"});
  eightBit[28] = 8;
  const std::string huge = MakeBmp(1, 1, 24, {"\1\2\3"}).replace(18, 8, Le(100000, 4) + Le(100000, 4));
  for (const std::string& bytes : {std::string("BX"), eightBit, huge}) {
    EXPECT_THROW((void)Load("a.bmp", bytes), EkzmError);
  }
}

TEST(GraphicLoader, DecodesJpegAndScrambledJpeg) {
  const std::string jpeg = MakeJpeg(17, 9);
  for (const char* name : {"photo.jpg", "photo.JPEG"}) {
    const TBitmap bmp = Load(name, jpeg);
    ASSERT_EQ(bmp.Width(), 17);
    EXPECT_EQ(bmp.BitsPerPixel(), 24);
    const std::string p = Pixel(bmp, 8, 4);
    EXPECT_NEAR(static_cast<unsigned char>(p[2]), 200, 6);
    EXPECT_NEAR(static_cast<unsigned char>(p[0]), 10, 6);
  }
  std::string scrambled = jpeg;
  ScrambleJpx(scrambled);
  EXPECT_NE(scrambled, jpeg);
  EXPECT_EQ(Load("p.jpx", scrambled).Width(), 17);
  EXPECT_THROW((void)Load("p.jpg", jpeg.substr(0, 40)), EkzmError);
  EXPECT_THROW((void)Load("p.jpg", "not a jpeg"), EkzmError);
}

TEST(GraphicLoader, UnknownExtensionLeavesTheGraphic) {
  TBitmap bitmap(4, 4, 24);
  const std::string png = test::HandMadePng(1, 1, 8, 0, std::string(2, '\0'));
  TMemoryStream stream(png);
  for (const char* name : {"a.gif", "png", "a.png.txt", "a.pngx"}) {
    LoadGraphicByExt(bitmap, name, stream);
    EXPECT_EQ(bitmap.Width(), 4) << name;
  }
  LoadGraphicByExt(bitmap, "A.PnG", stream);
  EXPECT_EQ(bitmap.Width(), 1);
}

}  // namespace
}  // namespace kzm
