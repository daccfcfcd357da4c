#include "foundation/Files.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <filesystem>

namespace kzm {
namespace {

using test::TTempFolder;
using test::WriteBytes;

std::vector<std::string> Sorted(std::vector<std::string> list) {
  std::sort(list.begin(), list.end());
  return list;
}

TEST(Files, EnsureFolderCreatesParents) {
  TTempFolder dir;
  const std::string deep = dir.File("a/通帳1/c");
  EXPECT_FALSE(EnsureFolder(deep + "/"));
  EXPECT_TRUE(FolderExists(deep));
  EXPECT_TRUE(EnsureFolder(deep));
}

TEST(Files, IsValidFileName) {
  for (const char* good : {"通帳1", "my book", ".hidden", "a.b"}) {
    SCOPED_TRACE(good);
    EXPECT_TRUE(IsValidFileName(good));
  }
  for (const char* bad : {"a\\b", "a/b", "c:", "*", "what?", "\"q\"", "<", ">", "a|b", ".", "..", "tab\t"}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(IsValidFileName(bad));
  }
}

TEST(Files, MasksMatchLikeTheDesktop) {
  struct Case {
    const char* name;
    const char* mask;
    bool match;
  };
  const Case cases[] = {
      {"202403.kzm", "??????.kzm", true}, {"202403.KZM", "??????.kzm", true},
      {"20243.kzm", "??????.kzm", false}, {"2024033.kzm", "??????.kzm", false},
      {"通帳12.kzm", "????.kzm", true},   {"noext", "*.*", true},
      {"a.b.c", "*.c", true},             {"a.b.c", "*.b", false},
      {"", "*", true},                    {"abc", "a*b*c", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ~ " + c.mask);
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.match);
  }
}

TEST(Files, ListFilesAndSubFolders) {
  TTempFolder dir;
  WriteBytes(dir.File("202401.kzm"), "");
  WriteBytes(dir.File(".202402.kzm"), "");
  WriteBytes(dir.File("202403.kzm"), "");
  ::chmod(dir.File("202403.kzm").c_str(), 0444);
  WriteBytes(dir.File("notes.txt"), "");
  ASSERT_FALSE(EnsureFolder(dir.File("202404.kzm")));
  ASSERT_FALSE(EnsureFolder(dir.File("通帳1")));
  std::vector<std::string> list = {"stale"};
  ListFiles(dir.Path() + "/", "??????.kzm", list);
  EXPECT_EQ(Sorted(list), (std::vector<std::string>{dir.File("202401.kzm"), dir.File("202403.kzm")}));
  ListFiles(dir.Path(), "*.*", list);
  EXPECT_EQ(list.size(), 4u);
  ListSubFolders(dir.Path() + "//", list);
  EXPECT_EQ(Sorted(list), (std::vector<std::string>{dir.File("202404.kzm"), dir.File("通帳1")}));
  ListFiles(dir.File("missing"), "*.*", list);
  EXPECT_TRUE(list.empty());
}

// A listing whose files are then deleted refuses links: a link in place of the folder lists
// nothing (the files it leads to stay out of reach), and links among the files are no files.
TEST(Files, AListingThatRefusesLinksStaysInTheFolder) {
  TTempFolder dir;
  ASSERT_FALSE(EnsureFolder(dir.File("outside")));
  WriteBytes(dir.File("outside/202401.mif"), "");
  ASSERT_FALSE(EnsureFolder(dir.File("Monthly")));
  WriteBytes(dir.File("Monthly/202402.mif"), "");
  std::filesystem::create_symlink(dir.File("outside/202401.mif"), dir.File("Monthly/202401.mif"));
  std::filesystem::create_directory_symlink(dir.File("outside"), dir.File("Monthly/pending"));
  std::vector<std::string> list = {"stale"};
  EXPECT_FALSE(ListFiles(dir.File("Monthly/pending"), "*", list, TLinkRule::lrRefuse));
  EXPECT_EQ(errno, ELOOP);
  EXPECT_TRUE(list.empty());
  EXPECT_TRUE(ListFiles(dir.File("Monthly"), "*", list, TLinkRule::lrRefuse));
  EXPECT_EQ(list, std::vector<std::string>{dir.File("Monthly/202402.mif")});
  // Followed as before where nothing is deleted.
  EXPECT_TRUE(ListFiles(dir.File("Monthly/pending"), "*", list));
  EXPECT_EQ(list, std::vector<std::string>{dir.File("Monthly/pending/202401.mif")});
}

TEST(Files, SpecialFoldersFollowXdg) {
  TTempFolder dir;
  const std::string oldHome = std::getenv("HOME") ? std::getenv("HOME") : "";
  setenv("HOME", dir.Path().c_str(), 1);
  setenv("XDG_CONFIG_HOME", dir.File("config").c_str(), 1);
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_DESKTOP_DIR");
  EXPECT_EQ(SpecialFolder(TSpecialFolder::sfAppData), dir.File(".local/share"));
  EXPECT_EQ(SpecialFolder(TSpecialFolder::sfDesktop), dir.Path());  // no desktop folder: home
  setenv("XDG_DATA_HOME", dir.File("data/").c_str(), 1);
  EXPECT_EQ(SpecialFolder(TSpecialFolder::sfAppData), dir.File("data"));
  setenv("XDG_DATA_HOME", "relative", 1);
  EXPECT_EQ(SpecialFolder(TSpecialFolder::sfAppData), dir.File(".local/share"));
  EnsureFolder(dir.File("config"));
  EnsureFolder(dir.File("デスクトップ"));
  WriteBytes(dir.File("config/user-dirs.dirs"), "# x\nXDG_DESKTOP_DIR=\"$HOME/デスクトップ\"\n");
  EXPECT_EQ(SpecialFolder(TSpecialFolder::sfDesktop), dir.File("デスクトップ"));
  setenv("HOME", oldHome.c_str(), 1);
  unsetenv("XDG_DATA_HOME");
  unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace kzm
