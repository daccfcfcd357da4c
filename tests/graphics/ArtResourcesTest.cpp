// The pictures and texts we ship: every name the windows ask for exists, in the size and PNG
// kind they expect, and the message texts read back as the mascots and hints use them.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ArchiveStream.h"
#include "archive/Stream.h"
#include "common/TestPaths.h"
#include "foundation/Codec.h"
#include "foundation/EmbeddedResources.h"
#include "graphics/Bitmap.h"
#include "graphics/GraphicLoader.h"
#include "graphics/PngDecoder.h"
#include "graphics/TestFiles.h"

namespace kzm {
namespace {

constexpr int kRgb = 2;
constexpr int kRgba = 6;

struct TPictureInfo {
  const char* name;
  int width;
  int height;
  int colourType;
};

const TPictureInfo kEmbeddedPictures[] = {
    {"ap000.png", 313, 21, kRgba}, {"ap025.png", 313, 21, kRgba}, {"ap050.png", 313, 21, kRgba},
    {"ap075.png", 313, 21, kRgba}, {"apptitle.png", 140, 32, kRgb}, {"back.png", 280, 120, kRgba},
    {"boxl.png", 80, 64, kRgba},   {"boxs.png", 44, 41, kRgba},     {"day2.png", 32, 40, kRgb},
    {"luna2.png", 32, 40, kRgb},   {"prttitle.png", 531, 104, kRgb}, {"title.png", 157, 36, kRgba},
};

std::vector<std::string> MascotFrames() {
  std::vector<std::string> names;
  for (int i = 0; i <= 5; ++i) names.push_back("wlk0" + std::to_string(i) + ".png");
  for (int i = 1; i <= 9; ++i) names.push_back("std0" + std::to_string(i) + ".png");
  for (int i = 1; i <= 5; ++i) names.push_back("rst0" + std::to_string(i) + ".png");
  return names;
}

using test::BinDir;
using test::SourceDir;

// The image header of a PNG file, read by hand: the 8-byte signature, then the IHDR chunk
// (length 13, type, width, height, depth, colour type, compression, filter, interlace).
struct TPngHeader {
  std::uint32_t width = 0;
  std::uint32_t height = 0;
  int depth = 0;
  int colourType = 0;
  int interlace = 0;
};

std::uint32_t BigEndian32(std::string_view bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i) v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
  return v;
}

std::optional<TPngHeader> ReadPngHeader(std::string_view file) {
  constexpr std::string_view kSignature("\x89PNG\r\n\x1a\n", 8);
  if (file.size() < 29 || file.substr(0, 8) != kSignature) return std::nullopt;
  if (BigEndian32(file, 8) != 13 || file.substr(12, 4) != "IHDR") return std::nullopt;
  TPngHeader header;
  header.width = BigEndian32(file, 16);
  header.height = BigEndian32(file, 20);
  header.depth = static_cast<unsigned char>(file[24]);
  header.colourType = static_cast<unsigned char>(file[25]);
  header.interlace = static_cast<unsigned char>(file[28]);
  return header;
}

void ExpectPicture(std::string_view file, int width, int height, int colourType) {
  const std::optional<TPngHeader> header = ReadPngHeader(file);
  ASSERT_TRUE(header.has_value()) << "not a PNG file with an image header first";
  EXPECT_EQ(header->width, static_cast<std::uint32_t>(width));
  EXPECT_EQ(header->height, static_cast<std::uint32_t>(height));
  EXPECT_EQ(header->depth, 8);
  EXPECT_EQ(header->colourType, colourType);
  EXPECT_EQ(header->interlace, 0);

  // And the program's own decoder reads it into the bitmap the windows expect.
  TMemoryStream stream(file);
  TBitmap bitmap;
  LoadPngStream(bitmap, stream);
  EXPECT_EQ(bitmap.Width(), width);
  EXPECT_EQ(bitmap.Height(), height);
  EXPECT_EQ(bitmap.BitsPerPixel(), colourType == kRgba ? 32 : 24);
}

std::uint8_t Alpha(const TBitmap& bitmap, int x, int y) { return bitmap.Row(y)[x * 4 + 3]; }

TEST(ArtResources, EmbeddedPicturesHaveTheirSizeAndKind) {
  for (const TPictureInfo& picture : kEmbeddedPictures) {
    SCOPED_TRACE(picture.name);
    const std::optional<std::string_view> file = FindEmbeddedResource(picture.name);
    ASSERT_TRUE(file.has_value());
    ExpectPicture(*file, picture.width, picture.height, picture.colourType);
  }
}

// The mascot's text picture is an opaque white rectangle centred where the balloon rule puts
// it; the balloon must be white all over the largest text our messages make.
TEST(ArtResources, BalloonsAreWhiteWhereTheTextGoes) {
  struct TArea {
    const char* name;
    int left, top, right, bottom;
  };
  const TArea areas[] = {{"boxl.png", 7, 6, 71, 46}, {"boxs.png", 7, 7, 37, 33}};
  for (const TArea& area : areas) {
    SCOPED_TRACE(area.name);
    TMemoryStream stream(*FindEmbeddedResource(area.name));
    TBitmap bitmap;
    LoadPngStream(bitmap, stream);
    for (int y = area.top; y < area.bottom; ++y) {
      for (int x = area.left; x < area.right; ++x) {
        const std::uint8_t* pixel = bitmap.Row(y) + x * 4;
        ASSERT_TRUE(pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255 && pixel[3] == 255)
            << "at " << x << "," << y;
      }
    }
    EXPECT_EQ(Alpha(bitmap, 0, bitmap.Height() - 1), 0) << "the corner beside the tail shows the scene";
  }
}

// Frames are drawn standing on the bottom row, and the mouse only hits the bird (alpha above
// 128), never the empty corners of its square.
TEST(ArtResources, MascotFramesAreBirdsOnTheGround) {
  for (const std::string& name : MascotFrames()) {
    SCOPED_TRACE(name);
    const std::string file = test::ReadBytes(SourceDir() + "/resources/archive/" + name);
    ExpectPicture(file, 32, 32, kRgba);
    TMemoryStream stream(file);
    TBitmap bitmap;
    LoadPngStream(bitmap, stream);
    ASSERT_TRUE(bitmap.Is32());
    EXPECT_EQ(Alpha(bitmap, 0, 0), 0);
    EXPECT_EQ(Alpha(bitmap, 31, 0), 0);
    EXPECT_GT(Alpha(bitmap, 16, 20), 128) << "the middle of the body is solid";
    int onBottomRow = 0;
    for (int x = 0; x < 32; ++x) onBottomRow += Alpha(bitmap, x, 31) > 128 ? 1 : 0;
    if (name == "std09.png") {
      EXPECT_EQ(onBottomRow, 0) << "the happy hop leaves the ground";
    } else {
      EXPECT_GT(onBottomRow, 0);
    }
  }
}

TEST(ArtResources, ArchiveBesideTheProgramHoldsEveryFrame) {
  const std::string path = BinDir() + "/zevazuvu.arc";
  ASSERT_TRUE(std::filesystem::exists(path)) << path;
  TArchiveStream archive(path);
  for (const std::string& name : MascotFrames()) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(archive.SelectName(name));
    TBitmap bitmap;
    LoadGraphicByExt(bitmap, name, archive);
    EXPECT_EQ(bitmap.Width(), 32);
    EXPECT_EQ(bitmap.Height(), 32);
    EXPECT_TRUE(bitmap.Is32());
  }
}

// Lines of a resource text in CP932 with CR LF line ends, decoded to UTF-8.
std::vector<std::string> ResourceLines(std::string_view name) {
  const std::optional<std::string_view> bytes = FindEmbeddedResource(name);
  if (!bytes) return {};
  EXPECT_TRUE(bytes->ends_with("\r\n"));
  const std::string text = DecodeCp932(*bytes);
  EXPECT_EQ(text.find("\xF4\x8F"), std::string::npos) << "bytes that are not CP932";
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    std::string line = text.substr(start, end - start);
    EXPECT_TRUE(line.ends_with('\r')) << "a line end without CR: " << line;
    if (line.ends_with('\r')) line.pop_back();
    lines.push_back(line);
    start = end == std::string::npos ? text.size() : end + 1;
  }
  return lines;
}

TEST(ArtResources, MessagesHoldTheGeneralAndDatedLines) {
  const std::vector<std::string> lines = ResourceLines("MESSAGES");
  std::vector<std::string> keyOrder;
  std::map<std::string, std::vector<std::string>> byKey;
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    const std::size_t eq = line.find('=');
    ASSERT_NE(eq, std::string::npos);
    ASSERT_GT(eq, 0u);
    const std::string key = line.substr(0, eq);
    const std::string text = line.substr(eq + 1);
    // A blank or tab would cut a part short (texts are read as comma text; "_" is the blank).
    EXPECT_EQ(text.find_first_of(" \t"), std::string::npos);
    EXPECT_FALSE(text.empty());
    if (!byKey.contains(key)) keyOrder.push_back(key);
    byKey[key].push_back(text);
  }
  ASSERT_FALSE(keyOrder.empty());
  EXPECT_EQ(keyOrder.front(), "N") << "the general lines must come first";
  EXPECT_EQ(byKey["N"].size(), 42u);
  const std::set<std::string> dated = {"01a", "03c", "04c", "05b", "06a", "07c", "08c", "12b",
                                       "0101", "0831", "1224", "1225"};
  std::set<std::string> found;
  for (const auto& [key, texts] : byKey) {
    if (key == "N") continue;
    found.insert(key);
    EXPECT_EQ(texts.size(), 1u) << key;
  }
  EXPECT_EQ(found, dated);
  EXPECT_EQ(byKey["0101"].front(), "あけました");
}

TEST(ArtResources, DailyHintsHaveTheirKeys) {
  const std::vector<std::string> lines = ResourceLines("DAILYTEXT");
  ASSERT_EQ(lines.size(), 10u);
  std::map<std::string, int> count;
  for (const std::string& line : lines) {
    const std::size_t eq = line.find('=');
    ASSERT_NE(eq, std::string::npos) << line;
    ++count[line.substr(0, eq)];
  }
  EXPECT_EQ(count, (std::map<std::string, int>{{"", 6}, {"memo", 2}, {"rcpt", 1}, {"pmnt", 1}}));
  EXPECT_EQ(lines.front(), "=\\n　・・・・・・・・") << "the first hint opens with an empty line";
}

}  // namespace
}  // namespace kzm
