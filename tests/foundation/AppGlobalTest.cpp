#include "foundation/AppGlobal.h"

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Files.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace kzm {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

// A program folder, config files and a per-user data home inside one temporary folder.
struct TFixture {
  TTempFolder dir;
  TGlobalSetup setup;

  TFixture() {
    EnsureFolder(dir.File("prog"));
    EnsureFolder(dir.File("etc"));
    setup.exePath = dir.File("prog/tavimrok");
    setup.userConfigFile = dir.File("config/Orvik/tavimrok.ini");
    setup.machineConfigFile = dir.File("etc/tavimrok.ini");
    setenv("XDG_DATA_HOME", dir.File("share").c_str(), 1);
  }
  ~TFixture() { unsetenv("XDG_DATA_HOME"); }
};

TEST(AppGlobal, NamesAndProgramFolder) {
  TFixture f;
  TorvGlobal global(f.setup);
  EXPECT_EQ(global.CompanyName(), "Orvik");
  EXPECT_EQ(global.ProductName(), "もるぽ通帳");
  EXPECT_EQ(global.InternalName(), "tavimrok");
  EXPECT_EQ(global.AppFolder(), f.dir.File("prog"));
  EXPECT_EQ(global.AppPath(), f.dir.File("prog/"));
  EXPECT_EQ(global.ExeFileName(), "tavimrok");
  EXPECT_GT(global.OsMajorVersion(), 0);
}

TEST(AppGlobal, DataFolderRules) {
  struct Case {
    const char* name;
    std::string appDir;  // written to the machine file when not empty
    bool programWritable;
    bool marked;           // the portable mark lies beside the program
    const char* expected;  // below the temporary folder
    bool dataThere = false;  // a Data folder is beside the program already
  };
  const Case cases[] = {
      {"portable copy", "", true, true, "prog/Data"},
      {"portable copy, installed elsewhere", "/opt/tavimrok", true, true, "prog/Data"},
      {"installed here, other letter case", "PROG/", true, true, "share/Orvik/もるぽ通帳"},
      {"read-only program folder", "", false, true, "share/Orvik/もるぽ通帳"},
      // An installation run by root can write its program folder but carries no mark.
      {"unmarked, writable, no machine file", "", true, false, "share/Orvik/もるぽ通帳"},
      {"unmarked, installed elsewhere", "/opt/tavimrok", true, false, "share/Orvik/もるぽ通帳"},
      // A copy used before the mark existed keeps finding its passbooks.
      {"unmarked, Data already beside it", "", true, false, "prog/Data", true},
      {"installed here, Data left beside it", "prog", true, false, "share/Orvik/もるぽ通帳", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TFixture g;
    if (!c.appDir.empty()) {
      const std::string appDir = c.appDir.front() == '/' ? c.appDir : g.dir.File(c.appDir);
      WriteBytes(g.setup.machineConfigFile, "AppDir=" + appDir + "\r\n");
    }
    if (c.marked) WriteBytes(g.dir.File(std::string("prog/") + kPortableMarkName), "");
    if (c.dataThere) EnsureFolder(g.dir.File("prog/Data"));
    if (!c.programWritable) g.setup.exePath = "/proc/tavimrok";
    TorvGlobal global(g.setup);
    const std::string expected = g.dir.File(c.expected);
    EXPECT_EQ(global.IsPortableCopy(), expected == g.dir.File("prog/Data"));
    EXPECT_EQ(global.DataFolder(), expected);
    EXPECT_TRUE(FolderExists(expected));
    EXPECT_EQ(global.DataPath(), expected + "/");
    EXPECT_EQ(FolderExists(g.dir.File("prog/Data")), c.dataThere || expected == g.dir.File("prog/Data"));
  }
}

TEST(AppGlobal, UserOverrideAndSessionFolder) {
  TFixture f;
  WriteBytes(f.dir.File("config/Orvik/tavimrok.ini"), "");  // the folder exists only after this
  {
    TorvGlobal global(f.setup);
    global.SetDataFolder(f.dir.File("mine/books/"));
    EXPECT_EQ(global.DataFolder(), f.dir.File("mine/books"));
    EXPECT_TRUE(FolderExists(f.dir.File("mine/books")));
  }
  EXPECT_EQ(ReadBytes(f.setup.userConfigFile), "[DATA]\r\npath=" + f.dir.File("mine/books") + "\r\n");
  {
    TorvGlobal global(f.setup);  // the next start finds the override
    EXPECT_EQ(global.DataFolder(), f.dir.File("mine/books"));
  }
  {
    TorvGlobal global(f.setup);
    global.UseDataFolder(f.dir.File("demo"));
    EXPECT_EQ(global.DataFolder(), f.dir.File("demo"));
    EXPECT_TRUE(FolderExists(f.dir.File("demo")));
  }
  // The session folder is not remembered.
  EXPECT_EQ(ReadBytes(f.setup.userConfigFile), "[DATA]\r\npath=" + f.dir.File("mine/books") + "\r\n");
}

TEST(AppGlobal, FolderWritable) {
  TTempFolder dir;
  EXPECT_TRUE(TorvGlobal::IsFolderWritable(dir.Path() + "/"));
  EXPECT_FALSE(TorvGlobal::IsFolderWritable(dir.File("missing/")));
  for (int n = 0; n < 1000; ++n) WriteBytes(dir.File("WriteTest" + std::to_string(n) + ".tmp"), "");
  EXPECT_FALSE(TorvGlobal::IsFolderWritable(dir.Path() + "/"));
  std::remove(dir.File("WriteTest500.tmp").c_str());
  EXPECT_TRUE(TorvGlobal::IsFolderWritable(dir.Path() + "/"));
  EXPECT_TRUE(test::ReadBytes(dir.File("WriteTest500.tmp")).empty());
  EXPECT_FALSE(FileExists(dir.File("WriteTest500.tmp")));  // deleted again
}

TEST(AppGlobal, SecondProcessSeesTheLock) {
  TFixture f;
  TorvGlobal first(f.setup);
  EXPECT_FALSE(first.IsAlreadyRunning());
  EXPECT_FALSE(first.IsAlreadyRunning());  // asking again does not lock itself out
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TorvGlobal second(f.setup);
    _exit(second.IsAlreadyRunning() ? 7 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
}

TEST(AppGlobal, LockIsFreeAfterTheHolderEnds) {
  TFixture f;
  {
    TorvGlobal first(f.setup);
    EXPECT_FALSE(first.IsAlreadyRunning());
  }
  TorvGlobal next(f.setup);
  EXPECT_FALSE(next.IsAlreadyRunning());
}

// The lock belongs to the data folder: one copy per folder whatever the environment says,
// copies on other folders side by side, and nothing left behind by a killed copy blocks.
TEST(AppGlobal, OneCopyPerDataFolder) {
  TFixture f;
  auto onFolder = [&](const std::string& folder) {
    auto global = std::make_unique<TorvGlobal>(f.setup);
    global->UseDataFolder(folder);
    return global;
  };
  setenv("TMPDIR", f.dir.File("tmp-one").c_str(), 1);
  const auto first = onFolder(f.dir.File("data"));
  EXPECT_FALSE(first->IsAlreadyRunning());
  EXPECT_TRUE(FileExists(f.dir.File("data/tavimrok.lock")));
  setenv("TMPDIR", f.dir.File("tmp-two").c_str(), 1);
  EXPECT_TRUE(onFolder(f.dir.File("data"))->IsAlreadyRunning());
  ::symlink(f.dir.File("data").c_str(), f.dir.File("link").c_str());
  EXPECT_TRUE(onFolder(f.dir.File("link"))->IsAlreadyRunning());
  EXPECT_EQ(onFolder(f.dir.File("link"))->InstanceKey(), first->InstanceKey());
  unsetenv("TMPDIR");
  const auto other = onFolder(f.dir.File("other"));
  EXPECT_FALSE(other->IsAlreadyRunning());
  EXPECT_NE(other->InstanceKey(), first->InstanceKey());

  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    TorvGlobal killed(f.setup);
    killed.UseDataFolder(f.dir.File("third"));
    if (killed.IsAlreadyRunning()) _exit(7);
    ::raise(SIGKILL);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFSIGNALED(status));
  EXPECT_TRUE(FileExists(f.dir.File("third/tavimrok.lock")));
  EXPECT_FALSE(onFolder(f.dir.File("third"))->IsAlreadyRunning());
}

// A named pipe where the lock belongs is no lock: the copy runs rather than waiting for ever
// to open it (the child ends by its alarm if it waits).
TEST(AppGlobal, APipeInPlaceOfTheLockNeverKeepsTheProgramWaiting) {
  TFixture f;
  EnsureFolder(f.dir.File("data"));
  ASSERT_EQ(::mkfifo(f.dir.File("data/tavimrok.lock").c_str(), 0600), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::alarm(5);
    TorvGlobal global(f.setup);
    global.UseDataFolder(f.dir.File("data"));
    _exit(global.IsAlreadyRunning() ? 7 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
}

TEST(AppGlobal, ApplicationSettingsAreWrittenAtOnce) {
  TFixture f;
  TorvGlobal global(f.setup);
  global.UseDataFolder(f.dir.File("data"));
  EXPECT_FALSE(global.ReadAppBool("STARTUP", "SELECTION", false));
  EXPECT_TRUE(global.WriteAppBool("startup", "selection", true));
  EXPECT_TRUE(global.WriteAppString("STARTUP", "LASTPROFILE", f.dir.File("data/通帳1")));
  EXPECT_TRUE(global.WriteAppInteger("GRID1", "2", 140));
  EXPECT_EQ(ReadBytes(f.dir.File("data/application.ini")),
            "[STARTUP]\r\nselection=1\r\nlastprofile=" + f.dir.File("data/\x92\xCA\x92\xA0") +
                "1\r\n[GRID1]\r\n2=140\r\n");
  TorvGlobal later(f.setup);
  later.UseDataFolder(f.dir.File("data"));
  EXPECT_TRUE(later.ReadAppBool("STARTUP", "SELECTION", false));
  EXPECT_EQ(later.ReadAppInteger("grid1", "2", 0), 140);
  EXPECT_EQ(later.ReadAppString("STARTUP", "LASTPROFILE", ""), f.dir.File("data/通帳1"));
}

// An application.ini that cannot be read is said once; defaults stand in and the file stays.
TEST(AppGlobal, UnreadableApplicationSettingsAreToldOnce) {
  TFixture f;
  test::TRecordingWindowSystem windows;
  TorvGlobal global(f.setup);
  global.UseDataFolder(f.dir.File("data"));
  std::filesystem::create_directories(f.dir.File("data/application.ini/inside"));
  EXPECT_TRUE(global.ReadAppBool("STARTUP", "SELECTION", true));
  std::string error;
  EXPECT_FALSE(global.WriteAppInteger("A", "b", 1, &error));
  EXPECT_NE(error.find(f.dir.File("data/application.ini")), std::string::npos);
  EXPECT_EQ(global.ReadAppInteger("A", "b", 0), 1);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find(f.dir.File("data/application.ini")), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_directory(f.dir.File("data/application.ini/inside")));
}

TEST(AppGlobal, FailedSettingsWriteIsReported) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes anywhere";
  TFixture f;
  TorvGlobal global(f.setup);
  global.UseDataFolder(f.dir.File("data"));
  ::chmod(f.dir.File("data").c_str(), 0500);
  std::string error;
  EXPECT_FALSE(global.WriteAppInteger("A", "b", 1, &error));
  EXPECT_FALSE(error.empty());
  EXPECT_EQ(global.ReadAppInteger("A", "b", 0), 1);  // kept in memory
}

}  // namespace
}  // namespace kzm
