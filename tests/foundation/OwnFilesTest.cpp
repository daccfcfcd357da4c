#include "foundation/OwnFiles.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <vector>

namespace kzm {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

// What a store learns from reading its file: whether it may go on (and later save), the
// bytes, and the message naming the file when it may not.
TEST(OwnFiles, ReadOwnFileReportsWhatCannotBeReadAndNamesTheFile) {
  TTempFolder dir;
  WriteBytes(dir.File("ten"), "0123456789");
  std::filesystem::create_symlink(dir.File("ten"), dir.File("link"));
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  struct TCase {
    std::string path;
    size_t limit;
    bool ok;
    std::string bytes;
    std::string error;  // the start of the message
    bool saysWhy;       // the system's reason follows on the next line
  };
  const std::vector<TCase> cases = {
      {dir.File("ten"), 10, true, "0123456789", "", false},
      // A missing file is an empty one: the store starts fresh.
      {dir.File("none"), 10, true, "", "", false},
      {dir.File("ten"), 9, false, "", "予算のファイル「" + dir.File("ten") + "」が大きすぎて読めません。", false},
      {dir.Path(), 10, false, "", "予算のファイル「" + dir.Path() + "」を読み込めません。\n", true},
      // A link could lead out of the passbook; a named pipe would keep the read waiting.
      {dir.File("link"), 10, false, "", "予算のファイル「" + dir.File("link") + "」を読み込めません。\n", true},
      {dir.File("pipe"), 10, false, "", "予算のファイル「" + dir.File("pipe") + "」を読み込めません。\n", true},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.path + " " + std::to_string(c.limit));
    std::string bytes = "old";
    std::string error;
    EXPECT_EQ(ReadOwnFile(c.path, c.limit, "予算のファイル", bytes, error), c.ok);
    if (c.ok) {
      EXPECT_EQ(bytes, c.bytes);
    }
    EXPECT_EQ(error.substr(0, c.error.size()), c.error);
    EXPECT_EQ(error.size() > c.error.size(), c.saysWhy);
  }
}

TEST(OwnFiles, NonEmptyLinesTakesOffEitherLineEndAndDropsEmptyLines) {
  struct TCase {
    std::string bytes;
    std::vector<std::string> lines;
  };
  const std::vector<TCase> cases = {
      {"", {}},
      {"a\r\nb\r\n", {"a", "b"}},
      {"a\nb", {"a", "b"}},  // no end on the last line
      {"\r\n\r\na\r\n\n\nb\r\n\r\n", {"a", "b"}},
      {"a\rb\r\n", {"a\rb"}},  // only the CR before LF ends a line
      {"x,\x82\xa0\r\n", {"x,\x82\xa0"}},  // CP932 bytes pass through untouched
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::PrintToString(c.bytes));
    EXPECT_EQ(NonEmptyLines(c.bytes), c.lines);
  }
}

// Text goes to the disk as CP932, the kept bytes after it untouched; a character CP932 has no
// code for is refused by name and the old file stays, never written with a stand-in.
TEST(OwnFiles, WriteOwnFileEncodesOrRefusesAndNamesTheFile) {
  TTempFolder dir;
  const std::string path = dir.File("Budget.csv");
  std::string error;
  ASSERT_TRUE(WriteOwnFile(path, "食費,1\r\n", "予算のファイル", error, "\x82\xa0?\r\n")) << error;
  EXPECT_EQ(ReadBytes(path), "\x90\x48\x94\xef,1\r\n\x82\xa0?\r\n");

  EXPECT_FALSE(WriteOwnFile(path, "食費🍙,1\r\n", "予算のファイル", error));
  EXPECT_EQ(error, "予算のファイル「" + path + "」に保存できない文字「🍙」があります。");
  EXPECT_EQ(ReadBytes(path), "\x90\x48\x94\xef,1\r\n\x82\xa0?\r\n");

  error.clear();
  EXPECT_FALSE(WriteOwnFile(dir.File("none/Budget.csv"), "a\r\n", "予算のファイル", error));
  EXPECT_EQ(error.rfind("予算のファイルを保存できません。\n" + dir.File("none/Budget.csv") + "\n", 0), 0u) << error;
}

}  // namespace
}  // namespace kzm
