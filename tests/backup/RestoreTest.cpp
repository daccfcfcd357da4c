// Restores that must change nothing (damaged, hostile or foreign backups, links), and restores
// stopped at any step, which the next open finishes or drops.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zip.h>

#include <filesystem>
#include <map>
#include <string>

#include "backup/Backup.h"
#include "backup/BackupOwner.h"
#include "backup/BackupPlace.h"
#include "backup/TestZips.h"
#include "common/TempFolder.h"
#include "foundation/AppGlobal.h"
#include "foundation/AtomicFile.h"
#include "foundation/DiskWrites.h"
#include "foundation/Files.h"
#include "passbook/RestoreJournal.h"

namespace kzm {
namespace {

namespace fs = std::filesystem;
using Snapshot = std::map<std::string, std::string>;

class RestoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const std::string& name : {Passbook(), Other()}) {
      fs::create_directories(name + "/Daily");
      test::WriteBytes(name + "/nbkr.ini", "[USERINFO]\r\nNAME=a\r\n");
      test::WriteBytes(name + "/Daily/202401.kzm", "20240105,1,a,298,,,\r\n");
      test::WriteBytes(name + "/Daily/202402.kzm", "20240203,1,b,5,,,\r\n");
    }
    test::WriteBytes(Other() + "/Daily/202401.kzm", "20240105,1,other,1,,,\r\n");
  }

  std::string Passbook() const { return temp.File("data/通帳1"); }
  std::string Other() const { return temp.File("data/通帳2"); }
  TBackupStore Store(const std::string& passbook) {
    return TBackupStore(passbook, temp.File("backups") + passbook.substr(passbook.rfind('/')), [this] { return now++; });
  }
  // Everything beside the passbooks too: nothing may be left there or written through a link.
  Snapshot Everything() const { return test::FilesUnder(temp.File("data")); }

  test::TTempFolder temp;
  std::time_t now = 1765324800;
};

// Each of these is refused before anything changes: the passbook stays as it was, no record
// or stage is left behind, and the next backup and restore work.
TEST_F(RestoreTest, DamagedOrHostileBackupsChangeNothing) {
  const std::string month(30000, 'x');
  const std::string deep = [] {
    std::string name;
    for (int i = 0; i < 3000; ++i) name += "a/";
    return name + "x";
  }();
  struct TCase {
    const char* what;
    test::TZipEntries entries;
  };
  const TCase cases[] = {
      {"no nbkr.ini", {{"readme.txt", "hello"}}},
      {"nothing at all", {}},
      {"a file of ours used as a folder", {{"nbkr.ini", "a"}, {"nbkr.ini/x", "b"}}},
      {"a name of 600 bytes", {{"nbkr.ini", "a"}, {"Daily/" + std::string(600, 'n'), "b"}}},
      {"3,000 folders deep", {{"nbkr.ini", "a"}, {deep, "b"}}},
      {"out of the passbook", {{"nbkr.ini", "a"}, {"../通帳2/nbkr.ini", "b"}}},
      {"a manifest that lists other bytes",
       {{"nbkr.ini", "a"}, {kManifestName, "passbook,\r\nnbkr.ini,1,00000000\r\n"}}},
      {"a member changed after it was written (its CRC no longer matches)",
       {{"nbkr.ini", "a"}, {"Daily/202312.kzm", "fine"}, {"Daily/202401.kzm", month}}},
  };
  const std::string path = temp.File("hostile.zip");
  const Snapshot before = Everything();
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.entries.empty()) {
      test::WriteBytes(path, std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    } else {
      ASSERT_TRUE(test::WriteZip(path, c.entries));
    }
    if (c.entries.size() == 3 && c.entries[2].second == month) {
      std::string bytes = test::ReadBytes(path);
      bytes[bytes.find(month) + 1000] = 'y';
      test::WriteBytes(path, bytes);
    }
    const TRestoreOutcome outcome = Store(Passbook()).Restore(path);
    EXPECT_FALSE(outcome.ok);
    EXPECT_FALSE(outcome.message.empty());
    EXPECT_TRUE(outcome.before.empty());  // refused before the state was even backed up
    Snapshot after = Everything();
    after.erase("通帳1/" + std::string(kPassbookIdFileName));
    EXPECT_EQ(after, before);
  }
  TBackupStore store = Store(Passbook());
  const TBackupOutcome taken = store.Take(TBackupReason::brManual);
  ASSERT_TRUE(taken.ok) << taken.message;
  EXPECT_TRUE(store.Restore(taken.path).ok);
}

// Another passbook's backup only when asked for, and then the passbook keeps its own id; a
// backup taken before backups named their passbook still restores; a renamed passbook keeps
// its backups.
TEST_F(RestoreTest, WhoseBackupItIs) {
  TBackupStore store = Store(Passbook());
  const TBackupOutcome other = Store(Other()).Take(TBackupReason::brManual);
  ASSERT_TRUE(other.ok);
  std::string error;
  const std::string id = PassbookIdOf(Passbook(), error);
  const Snapshot before = Everything();
  const TRestoreOutcome refused = store.Restore(other.path);
  EXPECT_TRUE(refused.otherPassbook);
  EXPECT_EQ(Everything(), before);

  const TRestoreOutcome forced = store.Restore(other.path, {}, true);
  ASSERT_TRUE(forced.ok) << forced.message;
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Daily/202401.kzm"), "20240105,1,other,1,,,\r\n");
  EXPECT_EQ(PassbookIdOf(Passbook(), error), id);

  const std::string old = temp.File("old.zip");
  ASSERT_TRUE(test::WriteZip(old, {{"nbkr.ini", "old"}, {"Daily/202401.kzm", "old\r\n"}}));
  const TRestoreOutcome restored = store.Restore(old);
  ASSERT_TRUE(restored.ok) << restored.message;
  EXPECT_EQ(test::ReadBytes(Passbook() + "/nbkr.ini"), "old");
  EXPECT_FALSE(FileExists(Passbook() + "/Daily/202402.kzm"));
  EXPECT_EQ(PassbookIdOf(Passbook(), error), id);

  AppGlobal().UseDataFolder(temp.File("data"));
  ASSERT_TRUE(BackupStoreOf(Passbook()).Take(TBackupReason::brManual).ok);
  fs::rename(Passbook(), temp.File("data/わが家"));
  ASSERT_TRUE(KeepBackupsOfRenamed(Passbook(), temp.File("data/わが家"), error)) << error;
  EXPECT_EQ(BackupStoreOf(temp.File("data/わが家")).List().size(), 1u);
  EXPECT_TRUE(BackupStoreOf(Passbook()).List().empty());
}

// A month restore never writes through a Daily that is a link to a folder elsewhere, and a link
// to a file inside the passbook is left out of a backup, never followed into it.
TEST_F(RestoreTest, LinksAreNeverFollowed) {
  TBackupStore store = Store(Passbook());
  const TBackupOutcome taken = store.Take(TBackupReason::brManual);
  ASSERT_TRUE(taken.ok);
  fs::create_directories(temp.File("elsewhere"));
  test::WriteBytes(temp.File("elsewhere/202401.kzm"), "outside\r\n");
  fs::rename(Passbook() + "/Daily", temp.File("daily-moved"));
  fs::create_directory_symlink(temp.File("elsewhere"), Passbook() + "/Daily");
  EXPECT_FALSE(store.Restore(taken.path, "Daily/202401.kzm").ok);
  EXPECT_FALSE(store.Restore(taken.path).ok);
  EXPECT_EQ(test::ReadBytes(temp.File("elsewhere/202401.kzm")), "outside\r\n");
  // Refused before its record: nothing is left for the next open to try again.
  EXPECT_FALSE(FileExists(Passbook() + "/" + kRestoreRecordFileName));

  fs::remove(Passbook() + "/Daily");
  fs::rename(temp.File("daily-moved"), Passbook() + "/Daily");
  fs::create_symlink("../nbkr.ini", Passbook() + "/Daily/202403.kzm");
  const TBackupOutcome linked = store.Take(TBackupReason::brManual);
  ASSERT_TRUE(linked.ok);
  EXPECT_EQ(linked.unreadable, std::vector<std::string>{"Daily/202403.kzm"});
  TZipReader reader;
  std::string error, bytes;
  ASSERT_TRUE(reader.Open(linked.path, error));
  EXPECT_FALSE(reader.Read("Daily/202403.kzm", bytes, error));
}

// A restore stopped at each of its disk steps in turn: at the next open the passbook is the
// state before or the backup, never a mix, and no record or stage is left.
TEST_F(RestoreTest, AStopAtAnyStepIsFinishedOrDropped) {
  TBackupStore store = Store(Passbook());
  const TBackupOutcome taken = store.Take(TBackupReason::brManual);
  ASSERT_TRUE(taken.ok);
  const Snapshot backup = test::FilesUnder(Passbook());
  test::WriteBytes(Passbook() + "/Daily/202401.kzm", "changed\r\n");
  fs::remove(Passbook() + "/Daily/202402.kzm");
  test::WriteBytes(Passbook() + "/Daily/202403.kzm", "new\r\n");
  const Snapshot changed = test::FilesUnder(Passbook());
  int finished = 0, dropped = 0;
  for (int stop = 1; stop < 200; ++stop) {
    SCOPED_TRACE(stop);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      int steps = 0;
      DiskWrites().Watch([&](TDiskStep, const std::string&) {
        if (++steps == stop) ::_exit(0);
      });
      ::_exit(Store(Passbook()).Restore(taken.path).ok ? 3 : 4);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status));
    // As an open does: the stopped restore first, then what a stopped write left.
    const std::string told = SettleStoppedRestore(Passbook());
    RemoveStaleTempFiles(Passbook());
    const Snapshot after = test::FilesUnder(Passbook());
    EXPECT_TRUE(after == backup || after == changed) << [&] {
      std::string names;
      for (const auto& [name, bytes] : after) names += name + "=" + bytes.substr(0, 20) + ";";
      return names + " told " + told;
    }();
    EXPECT_FALSE(fs::exists(RestoreStageFolder(Passbook())));
    if (WEXITSTATUS(status) == 3) break;
    EXPECT_FALSE(told.empty());
    (after == backup ? finished : dropped) += 1;
    // Back to the changed state for the next stop.
    if (after == backup) {
      for (const auto& [name, bytes] : changed) test::WriteBytes(Passbook() + "/" + name, bytes);
      fs::remove(Passbook() + "/Daily/202402.kzm");
    }
  }
  EXPECT_GT(finished, 0);
  EXPECT_GT(dropped, 0);
}

// What an open finds of a restore: a stage without a record is dropped, a record an earlier
// version left is told (when it was not done) and goes either way.
TEST_F(RestoreTest, WhatAnOpenFindsOfEarlierRestores) {
  struct TCase {
    const char* what;
    const char* record;  // Restore.ini, or null for none
    bool stage;
    const char* told;  // part of what the person is told, empty for nothing
  } cases[] = {
      {"nothing", nullptr, false, ""},
      {"a stage only", nullptr, true, "取りやめました"},
      {"an earlier version's record, done", "[RESTORE]\r\nFROM=a.zip\r\nDONE=1\r\n", false, ""},
      {"an earlier version's record, stopped", "[RESTORE]\r\nFROM=a.zip\r\nDONE=0\r\n", false, "a.zip からもう一度"},
  };
  const Snapshot before = test::FilesUnder(Passbook());
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    if (c.record) test::WriteBytes(Passbook() + "/" + kRestoreRecordFileName, c.record);
    if (c.stage) {
      fs::create_directories(RestoreStageFiles(Passbook()) + "/Daily");
      test::WriteBytes(RestoreStageFiles(Passbook()) + "/Daily/202401.kzm", "staged\r\n");
    }
    const std::string told = SettleStoppedRestore(Passbook());
    EXPECT_EQ(told.empty(), std::string(c.told).empty()) << told;
    EXPECT_NE(told.find(c.told), std::string::npos) << told;
    EXPECT_EQ(test::FilesUnder(Passbook()), before);
    EXPECT_FALSE(fs::exists(RestoreStageFolder(Passbook())));
  }
}

}  // namespace
}  // namespace kzm
