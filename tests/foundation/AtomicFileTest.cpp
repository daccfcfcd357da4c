#include "foundation/AtomicFile.h"

#include "common/TempFolder.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

namespace kzm {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

TEST(AtomicFile, WritesReplacesAndLeavesNoTemporaryFile) {
  TTempFolder dir;
  const std::string path = dir.File("data.kzm");
  ASSERT_TRUE(WriteFileAtomic(path, std::string("one\0two", 7)));
  EXPECT_EQ(ReadBytes(path), std::string("one\0two", 7));
  ::chmod(path.c_str(), 0640);
  ASSERT_TRUE(WriteFileAtomic(path, "second"));
  EXPECT_EQ(ReadBytes(path), "second");
  struct stat st {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);  // a replaced file keeps its permissions
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST(AtomicFile, FailureKeepsTheOldFileAndSaysWhy) {
  TTempFolder dir;
  const std::string path = dir.File("keep.ini");
  WriteBytes(path, "old");
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(dir.File("missing/x.ini"), "new", &error));
  EXPECT_NE(error.find("missing/x.ini"), std::string::npos);
  if (::geteuid() != 0) {  // root writes anywhere
    ::chmod(dir.Path().c_str(), 0500);
    EXPECT_FALSE(WriteFileAtomic(path, "new"));
    ::chmod(dir.Path().c_str(), 0700);
    EXPECT_EQ(ReadBytes(path), "old");
  }
}

TEST(AtomicFile, ReadingAMissingFileOrAFolderFails) {
  std::string bytes = "x";
  EXPECT_FALSE(ReadWholeFile("/no/such/file", bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadWholeFile("/tmp", bytes));
}

}  // namespace
}  // namespace kzm
