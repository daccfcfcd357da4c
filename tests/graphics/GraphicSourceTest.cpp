#include "graphics/GraphicSource.h"

#include <gtest/gtest.h>
#include <png.h>

#include <filesystem>

#include "archive/ArchiveWriter.h"
#include "archive/ProgramArchives.h"
#include "foundation/EmbeddedResources.h"
#include "foundation/WindowSystem.h"
#include "graphics/PngFiles.h"
#include "graphics/TestFiles.h"

namespace kzm {
namespace {

using test::TTempDir;

// A window system that records its messages.
class TRecordingWindows : public TWindowSystem {
 public:
  TRecordingWindows() { SetWindowSystem(this); }
  ~TRecordingWindows() override { SetWindowSystem(nullptr); }
  void BroadcastToForms(int, int, int) override {}
  void Notify(const std::string& text) override { messages.push_back(text); }
  bool AskYesNo(const std::string&) override { return false; }
  bool CloseDataWindows() override { return true; }
  int DefaultTextHeight() override { return 13; }
  bool OpenDocument(const std::string&) override { return false; }
  bool MoveToRecycleBin(const std::string&) override { return false; }
  std::vector<std::string> messages;
};

// A small PNG whose width tells where it came from.
std::string PngOfWidth(int width) {
  return test::EncodeWithLibpng(test::RandomPicture(width, 2, 8, 6, 1), PNG_ALL_FILTERS);
}

class GraphicSourceTest : public ::testing::Test {
 protected:
  GraphicSourceTest() : source(dir.Folder() + "resource/") {
    std::filesystem::create_directory(dir.Folder() + "resource");
    test::WriteBytes(dir.File("first.arc"), BuildArchive({{"back.png", PngOfWidth(11)}, {"a.png", PngOfWidth(12)}}, ""));
    test::WriteBytes(dir.File("second.arc"), BuildArchive({{"Back.PNG", PngOfWidth(21)}, {"b.png", PngOfWidth(22)}}, ""));
    source.AddArchive(dir.File("first.arc"));
    source.AddArchive(dir.File("second.arc"));
    source.AddArchive(dir.File("missing.arc"));
  }

  TTempDir dir;
  TRecordingWindows windows;
  TGraphicSource source;
};

TEST_F(GraphicSourceTest, LooksInFolderThenArchivesThenBuiltIn) {
  ASSERT_EQ(source.Archives().Count(), 2);
  EXPECT_EQ(source.Archives().Name(0), "first");
  EXPECT_EQ(source.LoadImage("back.png", 0)->Width(), 11) << "first archive wins";
  EXPECT_EQ(source.LoadImage("BACK.png", 1)->Width(), 21) << "start index skips the first";
  EXPECT_EQ(source.LoadImage("b.png", -1)->Width(), 22);
  test::WriteBytes(dir.Folder() + "resource/back.png", PngOfWidth(5));
  EXPECT_EQ(source.LoadImage("back.png", 0)->Width(), 5) << "loose file first";

  TGraphicSource builtInOnly;
  if (FindEmbeddedResource("BACK")) {
    const TGraphicPtr back = builtInOnly.LoadImage("back.png");
    EXPECT_EQ(back->Width(), 280);
    EXPECT_EQ(back->Height(), 120);
  }
  EXPECT_TRUE(windows.messages.empty());
}

TEST_F(GraphicSourceTest, MissingNamesGiveNothingAndAreReportedOnce) {
  EXPECT_EQ(source.GetImage("nowhere.png"), nullptr);
  EXPECT_EQ(source.GetImage("nowhere.png"), nullptr);
  EXPECT_EQ(source.CacheCount(), 0);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find("nowhere.png"), std::string::npos);
  EXPECT_EQ(source.LoadImage("a.txt", 0), nullptr) << "found nowhere under that name";
}

TEST_F(GraphicSourceTest, SharedPicturesAreCountedAndFreed) {
  const TGraphicPtr first = source.GetImage("back.png", kImageShared, 0);
  const TGraphicPtr second = source.GetImage("BACK.PNG", kImageShared, 0);
  EXPECT_EQ(first, second);
  EXPECT_EQ(first->RefCount(), 2);
  source.ReleaseImage(first);
  EXPECT_EQ(source.CacheCount(), 1);
  source.ReleaseImage(second);
  EXPECT_EQ(source.CacheCount(), 0);
  EXPECT_EQ(first->Width(), 11) << "still valid for a holder";
}

TEST_F(GraphicSourceTest, KeptPrivateAndNewCopies) {
  const TGraphicPtr kept = source.GetImage("a.png", kImageKept, 0);
  source.ReleaseImage(kept);
  EXPECT_EQ(source.CacheCount(), 1);
  EXPECT_EQ(source.GetImage("a.png", kImageShared, 0), kept);

  const TGraphicPtr privateCopy = source.GetImage("b.png", kImagePrivate, 0);
  EXPECT_EQ(source.CacheCount(), 1) << "private pictures are not cached";
  EXPECT_EQ(source.GetImage("a.png", kImagePrivate, 0), kept) << "unless already cached";
  source.ReleaseImage(privateCopy);

  const TGraphicPtr copy1 = source.GetImage("a.png", kImageNewCopy, 0);
  const TGraphicPtr copy2 = source.GetImage("a.png", kImageNewCopy, 0);
  EXPECT_NE(copy1, copy2);
  EXPECT_NE(copy1, kept);
  EXPECT_EQ(source.CacheCount(), 3);
  source.ReleaseImage(copy1);
  EXPECT_EQ(source.CacheCount(), 2);
}

TEST_F(GraphicSourceTest, BrokenPicturesThrowAndAreNotCached) {
  test::WriteBytes(dir.Folder() + "resource/bad.png", "not a png");
  EXPECT_THROW((void)source.GetImage("bad.png"), EkzmError);
  EXPECT_EQ(source.CacheCount(), 0);
  test::WriteBytes(dir.File("bad.arc"), "PK\3\4");
  EXPECT_THROW(source.AddArchive(dir.File("bad.arc")), EarcSTreamError);
}

TEST_F(GraphicSourceTest, ProgramArchivesPutGraphicBeforeTheShippedOne) {
  struct Case {
    const char* what;
    bool withGraphic;
    const char* graphicBytes;
    int backWidth;
    bool allOpened;
  };
  for (const Case& c : {Case{"graphic wins", true, nullptr, 31, true},
                        Case{"no graphic", false, nullptr, 41, true},
                        Case{"damaged graphic left out", true, "PK\3\4", 41, false}}) {
    SCOPED_TRACE(c.what);
    TTempDir app;
    test::WriteBytes(app.File("zevazuvu.arc"), BuildArchive({{"back.png", PngOfWidth(41)}}, ""));
    if (c.withGraphic) {
      test::WriteBytes(app.File("graphic"), c.graphicBytes ? std::string(c.graphicBytes)
                                                           : BuildArchive({{"back.png", PngOfWidth(31)}}, ""));
    }
    TGraphicSource program;
    EXPECT_EQ(AddProgramArchives(program, app.Folder()), c.allOpened);
    EXPECT_EQ(program.LoadImage("back.png")->Width(), c.backWidth);
  }
}

TEST(SolidImage, Descriptions) {
  const struct {
    const char* text;
    int width, height, bits;
    std::array<int, 4> pixel;  // blue, green, red, alpha (alpha only for 32 bits)
  } cases[] = {
      {"\\40,20,$FFFFFF,32", 40, 20, 32, {255, 255, 255, 255}},
      {"\\3,2,$0000FF", 3, 2, 24, {0, 0, 255, 0}},
      {"\\2,1,255", 2, 1, 24, {0, 0, 255, 0}},
      {"\\2,\\1,$FF0000,24", 2, 1, 24, {255, 0, 0, 0}},
      {"\\2,2,zz,32", 2, 2, 32, {0, 0, 0, 255}},
      {"\\x,5,1", 0, 5, 24, {}},
      {"\\-4,5", 0, 5, 24, {}},
      {"\\", 0, 0, 24, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const TGraphicPtr image = TGraphicSource().LoadImage(c.text);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Width(), c.width);
    EXPECT_EQ(image->Height(), c.height);
    EXPECT_EQ(image->BitsPerPixel(), c.bits);
    if (image->IsEmpty()) continue;
    const std::uint8_t* p = image->Row(image->Height() - 1) + (image->Width() - 1) * image->BytesPerPixel();
    for (int i = 0; i < image->BytesPerPixel(); ++i) EXPECT_EQ(p[i], c.pixel[i]) << i;
  }
}

}  // namespace
}  // namespace kzm
