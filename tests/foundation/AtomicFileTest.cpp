#include "foundation/AtomicFile.h"

#include "common/TempFolder.h"
#include "foundation/DiskWrites.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sys/resource.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <vector>

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

// A batch takes each folder once however many files go into it, the files themselves being
// whole and in place at once; the folders are synced by the end of the batch at the latest.
TEST(AtomicFile, ABatchSyncsEachFolderOnce) {
  TTempFolder dir;
  ::mkdir(dir.File("Daily").c_str(), 0755);
  ::mkdir(dir.File("Monthly").c_str(), 0755);
  {
    TFolderSyncBatch batch;
    for (int month = 1; month <= 12; ++month) {
      const std::string name = "2024" + std::string(month < 10 ? "0" : "") + std::to_string(month);
      ASSERT_TRUE(WriteFileAtomic(dir.File("Daily/" + name + ".kzm"), name, nullptr, &batch));
      EXPECT_EQ(ReadBytes(dir.File("Daily/" + name + ".kzm")), name);
    }
    ASSERT_TRUE(WriteFileAtomic(dir.File("Monthly/202401.mif"), "m", nullptr, &batch));
    EXPECT_EQ(batch.Pending(), 2u);
    batch.SyncFolders();
    EXPECT_EQ(batch.Pending(), 0u);
    ASSERT_TRUE(WriteFileAtomic(dir.File("Daily/202401.kzm"), "again", nullptr, &batch));
    EXPECT_EQ(batch.Pending(), 1u);
    // A failed write leaves its folder out of the batch: nothing of it was renamed.
    EXPECT_FALSE(WriteFileAtomic(dir.File("missing/202401.kzm"), "x", nullptr, &batch));
    EXPECT_EQ(batch.Pending(), 1u);
  }
  EXPECT_EQ(ReadBytes(dir.File("Daily/202401.kzm")), "again");
}

// Each file reaches the disk before it takes its name, and its folder after; a file of a batch
// goes down unsynced, for the batch to sync the disk once.
TEST(AtomicFile, TheSyncComesBeforeTheRename) {
  TTempFolder dir;
  std::vector<std::pair<TDiskStep, std::string>> steps;
  DiskWrites().Watch([&](TDiskStep step, const std::string& path) { steps.emplace_back(step, path); });
  ASSERT_TRUE(WriteFileAtomic(dir.File("a"), "1"));
  ASSERT_TRUE(WriteFileUnsynced(dir.File("b"), "2"));
  ASSERT_TRUE(SyncDiskOf(dir.Path()));
  DiskWrites().Watch({});
  const std::vector<std::pair<TDiskStep, std::string>> expected{
      {TDiskStep::dsSyncFile, dir.File("a")}, {TDiskStep::dsRename, dir.File("a")},
      {TDiskStep::dsSyncFolder, dir.Path()},  {TDiskStep::dsRename, dir.File("b")},
      {TDiskStep::dsSyncDisk, dir.Path()}};
  EXPECT_EQ(steps, expected);
  EXPECT_EQ(ReadBytes(dir.File("b")), "2");
}

int FilesIn(const std::string& folder) {
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    (void)entry;
    ++files;
  }
  return files;
}

// Written in pieces, the file takes the old one's place only when committed, whole; one that is
// given up, or whose writing failed, leaves the old file and no temporary file behind.
TEST(AtomicFile, AStreamReplacesTheFileOnlyWhenCommitted) {
  TTempFolder dir;
  const std::string path = dir.File("found.csv");
  WriteBytes(path, "old");
  {
    TAtomicFileStream file(path);
    ASSERT_TRUE(file.Open());
    file.Append("one,");
    file.Append(std::string("two\0", 4));
    EXPECT_EQ(ReadBytes(path), "old");
    ASSERT_TRUE(file.Commit());
  }
  EXPECT_EQ(ReadBytes(path), std::string("one,two\0", 8));
  EXPECT_EQ(FilesIn(dir.Path()), 1);
  {
    TAtomicFileStream file(path);
    ASSERT_TRUE(file.Open());
    file.Append("given up");
  }
  EXPECT_EQ(ReadBytes(path), std::string("one,two\0", 8));
  EXPECT_EQ(FilesIn(dir.Path()), 1);

  // A disk that is full from the second piece on.
  {
    TAtomicFileStream file(path);
    ASSERT_TRUE(file.Open());
    file.Append("first");
    rlimit old{};
    ::getrlimit(RLIMIT_FSIZE, &old);
    void (*oldHandler)(int) = std::signal(SIGXFSZ, SIG_IGN);
    rlimit full = old;
    full.rlim_cur = 5;
    ::setrlimit(RLIMIT_FSIZE, &full);
    file.Append("second");
    ::setrlimit(RLIMIT_FSIZE, &old);
    std::signal(SIGXFSZ, oldHandler);
    file.Append("third");
    std::string error;
    EXPECT_FALSE(file.Commit(&error));
    EXPECT_EQ(error.rfind(path + "\n", 0), 0u) << error;
  }
  EXPECT_EQ(ReadBytes(path), std::string("one,two\0", 8));
  EXPECT_EQ(FilesIn(dir.Path()), 1);

  TAtomicFileStream nowhere(dir.File("missing/found.csv"));
  std::string error;
  EXPECT_FALSE(nowhere.Open(&error));
  EXPECT_FALSE(nowhere.Commit());
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

// A folder where the file should be makes the final rename fail, for root too.
TEST(AtomicFile, AFailedRenameIsAFailure) {
  TTempFolder dir;
  const std::string path = dir.File("202403.kzm");
  std::filesystem::create_directory(path);
  WriteBytes(path + "/inside", "kept");
  std::string error;
  EXPECT_FALSE(WriteFileAtomic(path, "new", &error));
  EXPECT_EQ(error, path + "\n" + "ファイルであるはずの場所にフォルダがあります。");
  EXPECT_EQ(ReadBytes(path + "/inside"), "kept");
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path())) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);  // no temporary file left beside it
}

// Only a plain file is read. A named pipe or a device is refused at once (a read would wait
// for a writer that never comes); a link is followed or refused as asked.
TEST(AtomicFile, ReadingUpToALimit) {
  TTempFolder dir;
  WriteBytes(dir.File("ten"), "0123456789");
  WriteBytes(dir.File("plain"), "x");
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0600), 0);
  std::filesystem::create_symlink(dir.File("ten"), dir.File("link"));
  std::filesystem::create_symlink(dir.File("none"), dir.File("dangling"));
  std::filesystem::create_symlink(dir.File("pipe"), dir.File("link-to-pipe"));
  constexpr TLinkRule kRefuse = TLinkRule::lrRefuse;
  struct TCase {
    std::string path;
    size_t limit;
    TReadStatus status;
    int error;
    TLinkRule links = TLinkRule::lrFollow;
  };
  const std::vector<TCase> cases = {
      {dir.File("ten"), 10, TReadStatus::rsRead, 0},
      {dir.File("ten"), 10, TReadStatus::rsRead, 0, kRefuse},
      {dir.File("ten"), 9, TReadStatus::rsTooLarge, 0},
      {dir.File("none"), 10, TReadStatus::rsMissing, 0},
      {dir.Path(), 10, TReadStatus::rsFailed, EISDIR},
      {dir.File("plain/202403.kzm"), 10, TReadStatus::rsFailed, ENOTDIR},  // a file in place of a folder
      {dir.File("pipe"), 10, TReadStatus::rsFailed, kNotAPlainFile},
      {dir.File("pipe"), 10, TReadStatus::rsFailed, kNotAPlainFile, kRefuse},
      {dir.File("link-to-pipe"), 10, TReadStatus::rsFailed, kNotAPlainFile},
      {"/dev/zero", 10, TReadStatus::rsFailed, kNotAPlainFile},
      {dir.File("link"), 10, TReadStatus::rsRead, 0},
      {dir.File("link"), 10, TReadStatus::rsFailed, ELOOP, kRefuse},
      {dir.File("dangling"), 10, TReadStatus::rsMissing, 0},
      {dir.File("dangling"), 10, TReadStatus::rsFailed, ELOOP, kRefuse},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.path + " " + std::to_string(c.limit) + (c.links == kRefuse ? " refusing links" : ""));
    std::string bytes = "old";
    int error = 0;
    EXPECT_EQ(ReadFileUpTo(c.path, c.limit, bytes, &error, c.links), c.status);
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(bytes, c.status == TReadStatus::rsRead ? "0123456789" : "");
  }
}

// A pid no process has: a child that has ended and been reaped.
pid_t EndedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return child;
}

TEST(AtomicFile, StaleTemporaryFilesAreRemoved) {
  TTempFolder dir;
  const std::string dead = std::to_string(EndedProcess());
  const std::string self = std::to_string(::getpid());
  const std::vector<std::pair<std::string, bool>> files = {
      {"202403.kzm.tmp" + dead + "-0", true},      // its writer is gone
      {"nbkr.ini.tmp" + dead + "-12", true},
      {"202403.kzm.tmp" + self + "-1", false},     // still being written
      {"202404.kzm.tmp1-0", false},                // pid 1 has run since before the file
      {"202405.kzm.tmp1-7", true},                 // ... but not since before this old one
      {"202403.kzm", false},
      {"notes.tmp", false},
      {"notes.tmp12", false},
      {"notes.tmp" + dead + "-1x", false},
      {".tmp" + dead + "-0", false},
  };
  for (const auto& [name, removed] : files) WriteBytes(dir.File(name), "x");
  const struct timespec old[2] = {{946684800, 0}, {946684800, 0}};  // 2000-01-01
  ::utimensat(AT_FDCWD, dir.File("202405.kzm.tmp1-7").c_str(), old, 0);
  std::filesystem::create_directory(dir.File("folder.tmp" + dead + "-0"));

  EXPECT_EQ(RemoveStaleTempFiles(dir.Path()), 3);
  for (const auto& [name, removed] : files) {
    SCOPED_TRACE(name);
    EXPECT_EQ(std::filesystem::exists(dir.File(name)), !removed);
  }
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("folder.tmp" + dead + "-0")));
}

TEST(AtomicFile, ReadingAMissingFileOrAFolderFails) {
  std::string bytes = "x";
  EXPECT_FALSE(ReadWholeFile("/no/such/file", bytes));
  EXPECT_TRUE(bytes.empty());
  EXPECT_FALSE(ReadWholeFile("/tmp", bytes));
}

}  // namespace
}  // namespace kzm
