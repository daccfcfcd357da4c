#include "graphics/PngDecoder.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>

#include "graphics/PngFiles.h"
#include "graphics/TestFiles.h"
#include "common/TestPaths.h"

namespace kzm {
namespace {

using test::HandMadePng;

TBitmap Decode(const std::string& bytes) {
  TMemoryStream stream(bytes);
  TBitmap bitmap;
  LoadPngStream(bitmap, stream);
  return bitmap;
}

std::string DecodeError(const std::string& bytes) {
  try {
    (void)Decode(bytes);
  } catch (const EPngError& e) {
    return e.what();
  }
  return "(no error)";
}

// Every pixel byte (row padding excluded) equal; reports the first difference.
::testing::AssertionResult SamePixels(const TBitmap& a, const TBitmap& b) {
  if (a.Width() != b.Width() || a.Height() != b.Height() || a.BitsPerPixel() != b.BitsPerPixel()) {
    return ::testing::AssertionFailure() << "shape " << a.Width() << "x" << a.Height() << "x" << a.BitsPerPixel()
                                         << " vs " << b.Width() << "x" << b.Height() << "x" << b.BitsPerPixel();
  }
  const int rowBytes = a.Width() * a.BytesPerPixel();
  for (int y = 0; y < a.Height(); ++y) {
    for (int i = 0; i < rowBytes; ++i) {
      if (a.Row(y)[i] != b.Row(y)[i]) {
        return ::testing::AssertionFailure() << "row " << y << " byte " << i << ": " << int{a.Row(y)[i]} << " vs "
                                             << int{b.Row(y)[i]};
      }
    }
  }
  return ::testing::AssertionSuccess();
}

std::filesystem::path PngSuiteFolder() {
  return std::filesystem::path(test::SourceDir()) / ".." / "shared" / "testdata" / "pngsuite";
}

// What our decoder must say about a file libpng can read, by the rules it follows.
std::string ExpectedError(int depth, int colorType, int interlace) {
  if (depth == 16) return "16bit色深度には対応していません";
  if (interlace != 0) return "PNGインターレースには対応していません";
  (void)colorType;
  return {};
}

TEST(PngDecoder, MatchesLibpngOnPngSuite) {
  const auto folder = PngSuiteFolder();
  if (folder.empty() || !std::filesystem::is_directory(folder)) GTEST_SKIP() << "PngSuite not present";
  // Files libpng rejects or reads differently on purpose (broken CRCs, bad signatures,
  // unknown colour types and depths): what our decoder must do instead.
  const std::map<std::string, std::string> damaged = {
      {"xs1n0g01.png", "PNGファイルではありません"}, {"xs2n0g01.png", "PNGファイルではありません"},
      {"xs4n0g01.png", "PNGファイルではありません"}, {"xs7n0g01.png", "PNGファイルではありません"},
      {"xcrn0g04.png", "PNGファイルではありません"}, {"xlfn0g04.png", "PNGファイルではありません"},
      {"xc1n0g08.png", "このPNGには対応していません"}, {"xc9n2c08.png", "このPNGには対応していません"},
      {"xd0n2c08.png", "0bit色深度には対応していません"}, {"xd3n2c08.png", "3bit色深度には対応していません"},
      {"xd9n2c08.png", "99bit色深度には対応していません"},
  };
  int compared = 0;
  int refused = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (entry.path().extension() != ".png") continue;
    SCOPED_TRACE(name);
    const std::string bytes = test::ReadBytes(entry.path().string());
    if (const auto it = damaged.find(name); it != damaged.end()) {
      EXPECT_EQ(DecodeError(bytes), it->second);
      continue;
    }
    const auto header = test::LibpngHeader(bytes);
    if (name[0] == 'x' || !header) {
      // Other damage (CRCs we do not check, missing data): any outcome but a crash.
      try {
        (void)Decode(bytes);
      } catch (const EPngError&) {
      }
      continue;
    }
    const std::string expected = ExpectedError((*header)[0], (*header)[1], (*header)[2]);
    if (!expected.empty()) {
      EXPECT_EQ(DecodeError(bytes), expected);
      ++refused;
      continue;
    }
    const auto reference = test::DecodeWithLibpng(bytes);
    ASSERT_TRUE(reference.has_value());
    EXPECT_TRUE(SamePixels(Decode(bytes), *reference));
    ++compared;
  }
  EXPECT_GT(compared, 90);
  EXPECT_GT(refused, 20);
}

TEST(PngDecoder, MatchesLibpngOnEveryKindAndFilter) {
  const struct {
    int depth;
    int colorType;
  } kinds[] = {{1, 0}, {2, 0}, {4, 0}, {8, 0}, {8, 2}, {1, 3}, {2, 3}, {4, 3}, {8, 3}, {8, 4}, {8, 6}};
  const int filters[] = {PNG_FILTER_NONE, PNG_FILTER_SUB, PNG_FILTER_UP, PNG_FILTER_AVG, PNG_FILTER_PAETH,
                         PNG_ALL_FILTERS};
  unsigned seed = 1;
  for (const auto& kind : kinds) {
    for (int filter : filters) {
      for (int width : {1, 5, 13, 33}) {
        SCOPED_TRACE(testing::Message() << "depth " << kind.depth << " type " << kind.colorType << " filter "
                                        << filter << " width " << width);
        const auto picture = test::RandomPicture(width, 7, kind.depth, kind.colorType, ++seed);
        const std::string bytes = test::EncodeWithLibpng(picture, filter);
        const auto reference = test::DecodeWithLibpng(bytes);
        ASSERT_TRUE(reference.has_value());
        EXPECT_TRUE(SamePixels(Decode(bytes), *reference));
      }
    }
  }
}

TEST(PngDecoder, TransparencyChunkIsIgnored) {
  auto picture = test::RandomPicture(9, 4, 8, 3, 77);
  picture.trns = std::string(256, '\0');
  const TBitmap bitmap = Decode(test::EncodeWithLibpng(picture, PNG_ALL_FILTERS));
  EXPECT_FALSE(bitmap.Is32());
  const auto reference = test::DecodeWithLibpng(test::EncodeWithLibpng(picture, PNG_ALL_FILTERS));
  EXPECT_TRUE(SamePixels(bitmap, *reference));
}

TEST(PngDecoder, SmallCases) {
  const TBitmap rgba = Decode(HandMadePng(1, 1, 8, 6, std::string("\0\xff\0\0\x80", 5)));
  ASSERT_TRUE(rgba.Is32());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(rgba.Row(0)), 4), std::string("\0\0\xff\x80", 4));

  const TBitmap bits = Decode(HandMadePng(9, 1, 1, 0, std::string("\0\x80\x80", 3)));
  EXPECT_EQ(bits.Row(0)[0], 255);
  for (int x = 1; x < 8; ++x) EXPECT_EQ(bits.Row(0)[3 * x], 0) << x;
  EXPECT_EQ(bits.Row(0)[3 * 8], 255);

  // Two rows of a 5-pixel 1-bit image: one byte each.
  const TBitmap narrow = Decode(HandMadePng(5, 2, 1, 0, std::string("\0\xf8\0\x08", 4)));
  EXPECT_EQ(narrow.Row(0)[3 * 4], 255);
  EXPECT_EQ(narrow.Row(1)[3 * 4], 255);
  EXPECT_EQ(narrow.Row(1)[3 * 3], 0);

  // Palette indices beyond the palette read as black.
  const std::string palette = test::PngChunk("PLTE", "\x10\x20\x30");
  const TBitmap indexed = Decode(HandMadePng(2, 1, 8, 3, std::string("\0\0\5", 3), palette));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(indexed.Row(0)), 6), std::string("\x30\x20\x10\0\0\0", 6));
}

TEST(PngDecoder, RefusesWhatItDoesNotSupport) {
  const std::string row(4, '\0');
  const struct {
    const char* name;
    std::string bytes;
    std::string message;
  } cases[] = {
      {"not png", "GIF89a...", "PNGファイルではありません"},
      {"16 bit before colour type", HandMadePng(1, 1, 16, 7, row, {}, 1), "16bit色深度には対応していません"},
      {"compression", HandMadePng(1, 1, 8, 2, row, {}, 0, 1), "このPNG圧縮には対応していません"},
      {"interlace", HandMadePng(1, 1, 8, 2, row, {}, 1), "PNGインターレースには対応していません"},
      {"colour type", HandMadePng(1, 1, 8, 5, row), "このPNGには対応していません"},
      {"grey depth", HandMadePng(1, 1, 3, 0, row), "3bit色深度には対応していません"},
      {"palette depth", HandMadePng(1, 1, 5, 3, row), "5bit色深度には対応していません"},
      {"truecolour of 4 bits", HandMadePng(9, 1, 4, 2, row), "4bit色深度には対応していません"},
      {"huge", HandMadePng(100000, 100000, 8, 6, row), "PNG画像が大きすぎます(100000x100000)"},
      {"broken data", HandMadePng(1, 1, 8, 0, row).replace(33 + 8 + 2, 4, "\xff\xff\xff\xff"),
       "PNGデータが壊れています"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeError(c.bytes), c.message);
  }
}

// Files that claim to be pictures but cannot be one are refused, never shown black.
TEST(PngDecoder, RefusesBrokenFiles) {
  const std::string palette = test::PngChunk("PLTE", "\x10\x20\x30");
  const std::string whole = HandMadePng(1, 1, 8, 3, std::string("\0\0", 2), palette);
  const size_t dataAt = whole.find("IDAT") - 4;
  const std::string header = whole.substr(0, 33);  // signature and IHDR
  const struct {
    const char* name;
    std::string bytes;
    std::string message;
  } cases[] = {
      {"no image data", header + palette + test::PngChunk("IEND", ""), "PNGファイルが壊れています(画像データがありません)"},
      {"empty image data", header + palette + test::PngChunk("IDAT", "") + test::PngChunk("IEND", ""),
       "PNGファイルが壊れています(画像データがありません)"},
      {"palette image without palette", header + whole.substr(dataAt), "PNGファイルが壊れています(パレットがありません)"},
      {"ends inside its header", whole.substr(0, 20), "PNGファイルが壊れています(ヘッダーが途中で切れています)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeError(c.bytes), c.message);
  }
}

// The image data may come in several IDAT chunks, empty ones among them; a palette of more
// than 256 entries gives its first 256.
TEST(PngDecoder, SplitDataAndLongPalettes) {
  auto picture = test::RandomPicture(7, 5, 8, 2, 31);
  const std::string bytes = test::EncodeWithLibpng(picture, PNG_ALL_FILTERS);
  const size_t at = bytes.find("IDAT") - 4;
  const uint32_t length = static_cast<uint32_t>(static_cast<unsigned char>(bytes[at]) << 24 |
                                                static_cast<unsigned char>(bytes[at + 1]) << 16 |
                                                static_cast<unsigned char>(bytes[at + 2]) << 8 |
                                                static_cast<unsigned char>(bytes[at + 3]));
  const std::string data = bytes.substr(at + 8, length);
  ASSERT_GT(data.size(), 3u);
  std::string split = bytes.substr(0, at);
  split += test::PngChunk("IDAT", data.substr(0, 1)) + test::PngChunk("IDAT", "") +
           test::PngChunk("IDAT", data.substr(1, 2)) + test::PngChunk("IDAT", data.substr(3));
  split += bytes.substr(at + 12 + length);
  EXPECT_TRUE(SamePixels(Decode(split), Decode(bytes)));

  std::string entries;
  for (int i = 0; i < 300; ++i) entries += std::string{static_cast<char>(i), static_cast<char>(i / 2), static_cast<char>(255 - i % 256)};
  const TBitmap indexed = Decode(HandMadePng(2, 1, 8, 3, std::string("\0\xff\x01", 3), test::PngChunk("PLTE", entries)));
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(indexed.Row(0)), 6),
            std::string("\x00\x7f\xff\xfe\x00\x01", 6));
}

TEST(PngDecoder, ShortFilesLeaveWhatWasRead) {
  TBitmap untouched(3, 3, 24);
  TMemoryStream noHeader(std::string_view("\x89PNG\r\n\x1a\n", 8));
  LoadPngStream(untouched, noHeader);
  EXPECT_EQ(untouched.Width(), 3) << "no IHDR: the bitmap stays as it was";

  // Second row missing from the data: the first is decoded, the rest stays black.
  const TBitmap partial = Decode(HandMadePng(2, 3, 8, 0, std::string("\0\x40\x41", 3)));
  EXPECT_EQ(partial.Height(), 3);
  EXPECT_EQ(partial.Row(0)[3], 0x41);
  EXPECT_EQ(partial.Row(1)[0], 0);

  // A file cut in the middle of its data chunk.
  const std::string whole = HandMadePng(64, 64, 8, 2, std::string(64 * 193, '\x07'));
  EXPECT_NO_THROW((void)Decode(whole.substr(0, whole.size() - 30)));
}

}  // namespace
}  // namespace kzm
