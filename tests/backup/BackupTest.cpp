// Backups of a passbook folder: taken, kept by their rules, restored byte for byte.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <algorithm>
#include <map>
#include <set>
#include <random>
#include <string>

#include "backup/Backup.h"
#include "backup/BackupArchive.h"
#include "backup/BackupChoices.h"
#include "backup/BackupKeep.h"
#include "backup/BackupPlace.h"
#include "backup/TestZips.h"
#include "common/TempFolder.h"
#include "foundation/AppGlobal.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "foundation/ThisPc.h"
#include "passbook/Profile.h"

namespace kzm {
namespace {

namespace fs = std::filesystem;
using Snapshot = std::map<std::string, std::string>;


std::time_t LocalTime(int year, int month, int day, int hour = 8) {
  std::tm local{};
  local.tm_year = year - 1900;
  local.tm_mon = month - 1;
  local.tm_mday = day;
  local.tm_hour = hour;
  local.tm_isdst = -1;
  return std::mktime(&local);
}

class BackupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(Passbook() + "/Daily");
    fs::create_directories(Passbook() + "/Monthly");
    fs::create_directories(Passbook() + "/cash");
    test::WriteBytes(Passbook() + "/nbkr.ini", "[USERINFO]\r\nNAME=\x82\xa0\r\n");
    test::WriteBytes(Passbook() + "/Headfile.dta", std::string("\xff\x01\x90\x48\x94\xef\r\n", 8));
    test::WriteBytes(Passbook() + "/Daily/202401.kzm", "20240105,1,a,298,,,\r\n");
    test::WriteBytes(Passbook() + "/Daily/202402.kzm", std::string("20240203,1,\x00\xfe,5,,,\r\n", 21));
    test::WriteBytes(Passbook() + "/Monthly/202401.mif", "[MONTH]\r\nSTART=45292\r\n");
    test::WriteBytes(Passbook() + "/cash/item.csv", "");
  }

  std::string Passbook() const { return temp.File("data/通帳1"); }
  std::string Backups() const { return temp.File("backups/通帳1"); }
  TBackupStore Store() {
    return TBackupStore(Passbook(), Backups(), [this] { return now; });
  }

  test::TTempFolder temp;
  std::time_t now = LocalTime(2026, 12, 10);
};

// Backup, change the passbook in every way, restore: every file as before, and the state
// before the restore is itself a backup that gives the changes back.
TEST_F(BackupTest, ARestoreBringsBackEveryFileByteForByte) {
  TBackupStore store = Store();
  const TBackupOutcome taken = store.Take(TBackupReason::brManual);
  ASSERT_TRUE(taken.ok) << taken.message;
  EXPECT_EQ(taken.files, 7);  // with the passbook's id, made by the first backup
  EXPECT_TRUE(taken.unreadable.empty());
  const Snapshot before = test::FilesUnder(Passbook());

  now += 60;
  test::WriteBytes(Passbook() + "/Daily/202401.kzm", "20240105,1,b,300,,,\r\n");
  test::WriteBytes(Passbook() + "/Daily/202403.kzm", "20240301,1,c,1,,,\r\n");
  fs::remove(Passbook() + "/Monthly/202401.mif");
  const Snapshot changed = test::FilesUnder(Passbook());

  const TRestoreOutcome restored = store.Restore(taken.path);
  ASSERT_TRUE(restored.ok) << restored.message;
  const std::string saved = restored.before;
  // The record and the stage go when the restore is done.
  EXPECT_EQ(test::FilesUnder(Passbook()), before);
  EXPECT_FALSE(fs::exists(RestoreStageFolder(Passbook())));

  const std::vector<TBackupInfo> listed = store.List();
  ASSERT_EQ(listed.size(), 2u);
  EXPECT_EQ(listed[0].path, saved);
  EXPECT_EQ(listed[0].reasonText, "復元の前");
  EXPECT_EQ(listed[1].reasonText, "手動");

  now += 60;
  ASSERT_TRUE(store.Restore(saved).ok);
  EXPECT_EQ(test::FilesUnder(Passbook()), changed);
}

// One month's restore puts back that month's file and nothing else.
TEST_F(BackupTest, OneMonthIsRestoredAlone) {
  TBackupStore store = Store();
  const TBackupOutcome taken = store.Take(TBackupReason::brOpen);
  ASSERT_TRUE(taken.ok);
  const std::string january = test::ReadBytes(Passbook() + "/Daily/202401.kzm");
  test::WriteBytes(Passbook() + "/Daily/202401.kzm", "changed\r\n");
  test::WriteBytes(Passbook() + "/Daily/202402.kzm", "changed too\r\n");
  now += 1;
  const TRestoreOutcome restored = store.Restore(taken.path, MonthMember(202401));
  ASSERT_TRUE(restored.ok) << restored.message;
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Daily/202401.kzm"), january);
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Daily/202402.kzm"), "changed too\r\n");
  EXPECT_EQ(store.List().size(), 2u);  // the state before it was saved too
  // Its balances are carried into the later months at the next open.
  EXPECT_EQ(test::ReadBytes(Passbook() + "/" + PcOwnName("CarryJournal.csv")), "202401\r\n");

  // A month the backup does not hold changes nothing, not even the list of backups.
  const TRestoreOutcome missing = store.Restore(taken.path, MonthMember(202409));
  EXPECT_FALSE(missing.ok);
  EXPECT_NE(missing.message.find("202409"), std::string::npos);
  EXPECT_EQ(store.List().size(), 2u);
}

// A file that cannot be read is named, the others are kept; a whole restore leaves it where
// it is, and a whole restore over a passbook with such a file is refused, as it would lose it.
TEST_F(BackupTest, AnUnreadableFileIsToldAndTheOthersKept) {
  fs::create_symlink(temp.File("nowhere"), Passbook() + "/Daily/202403.kzm");
  TBackupStore store = Store();
  const TBackupOutcome taken = store.Take(TBackupReason::brManual);
  ASSERT_TRUE(taken.ok) << taken.message;
  EXPECT_EQ(taken.files, 7);
  EXPECT_EQ(taken.unreadable, std::vector<std::string>{"Daily/202403.kzm"});
  EXPECT_NE(taken.message.find("Daily/202403.kzm"), std::string::npos);
  TZipReader reader;
  std::string error, bytes;
  ASSERT_TRUE(reader.Open(taken.path, error)) << error;
  EXPECT_TRUE(reader.Read("Daily/202402.kzm", bytes, error));
  EXPECT_FALSE(reader.Read("Daily/202403.kzm", bytes, error));

  now += 1;
  const TRestoreOutcome refused = store.Restore(taken.path);
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.message.find("Daily/202403.kzm"), std::string::npos);
  fs::remove(Passbook() + "/Daily/202403.kzm");
  test::WriteBytes(Passbook() + "/Daily/202403.kzm", "readable now\r\n");
  now += 1;
  const TRestoreOutcome restored = store.Restore(taken.path);
  ASSERT_TRUE(restored.ok) << restored.message;
  // The backup never held it, so the restore has nothing to say about it.
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Daily/202403.kzm"), "readable now\r\n");
}

// Backups never go inside a passbook, and the default folder is never taken for a passbook.
TEST_F(BackupTest, BackupsStayOutOfPassbooks) {
  TBackupStore inside(Passbook(), Passbook() + "/Backup");
  const TBackupOutcome refused = inside.Take(TBackupReason::brManual);
  EXPECT_FALSE(refused.ok);
  EXPECT_FALSE(FolderExists(Passbook() + "/Backup"));
  EXPECT_FALSE(CheckBackupFolder(temp.File("data/通帳1/a/b")).empty());
  EXPECT_TRUE(CheckBackupFolder(temp.File("data/バックアップ")).empty());

  AppGlobal().UseDataFolder(temp.File("data"));
  TBackupStore store = BackupStoreOf(Passbook(), [this] { return now; });
  EXPECT_EQ(store.BackupFolder(), temp.File("data/バックアップ/通帳1"));
  ASSERT_TRUE(store.Take(TBackupReason::brOpen).ok);
  ListPassbooks();
  EXPECT_EQ(PassbookFolders(), std::vector<std::string>{Passbook()});

  std::string error;
  EXPECT_FALSE(ChooseBackupFolder(Passbook() + "/x", error));
  EXPECT_FALSE(error.empty());
  ASSERT_TRUE(ChooseBackupFolder(temp.File("elsewhere/"), error)) << error;
  EXPECT_EQ(BackupStoreOf(Passbook()).BackupFolder(), temp.File("elsewhere/通帳1"));
  ASSERT_TRUE(ChooseBackupFolder("", error)) << error;
  EXPECT_EQ(BackupStoreOf(Passbook()).BackupFolder(), temp.File("data/バックアップ/通帳1"));
}

// A backup holding a name that leads out of the passbook is refused before anything changes.
TEST_F(BackupTest, ARestoreNeverWritesOutsideThePassbook) {
  fs::create_directories(Backups());
  const std::string path = Backups() + "/20261201-080000-manual.zip";
  test::WriteZip(path, {{"../evil.txt", "x"}, {"nbkr.ini", "y"}});
  const Snapshot before = test::FilesUnder(Passbook());
  TBackupStore store = Store();
  EXPECT_FALSE(store.Restore(path).ok);
  EXPECT_FALSE(FileExists(temp.File("data/evil.txt")));
  EXPECT_EQ(test::FilesUnder(Passbook()), before);
  EXPECT_EQ(store.List().size(), 1u);

  test::WriteBytes(path, "no zip at all");
  EXPECT_FALSE(store.Restore(path).ok);
  EXPECT_EQ(test::FilesUnder(Passbook()), before);
}

// A file that cannot be read now comes back from the newest backup that holds it readable.
TEST_F(BackupTest, ADamagedFileComesBackFromTheNewestReadableCopy) {
  TBackupStore store = Store();
  const TBackupOutcome older = store.Take(TBackupReason::brOpen);
  ASSERT_TRUE(older.ok);
  const std::string settlement = test::ReadBytes(Passbook() + "/Monthly/202401.mif");
  now += 24 * 3600;
  fs::create_directories(temp.File("a-folder"));
  fs::remove(Passbook() + "/Monthly/202401.mif");
  fs::create_directory_symlink(temp.File("a-folder"), Passbook() + "/Monthly/202401.mif");
  const TBackupOutcome newer = store.Take(TBackupReason::brOpen);
  ASSERT_TRUE(newer.ok);
  EXPECT_EQ(newer.unreadable, std::vector<std::string>{"Monthly/202401.mif"});

  EXPECT_EQ(store.NewestReadableCopy("Monthly/202401.mif"), older.path);
  EXPECT_EQ(store.NewestReadableCopy("Daily/202401.kzm"), newer.path);
  EXPECT_EQ(store.NewestReadableCopy("Daily/209901.kzm"), "");
  now += 60;
  ASSERT_TRUE(store.Restore(older.path, "Monthly/202401.mif").ok);
  EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(Passbook() + "/Monthly/202401.mif")));
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Monthly/202401.mif"), settlement);
}

// What the window and the command line ask before a restore: a month typed by hand, and the
// damaged files of this passbook, with the time of the backup that has them.
TEST_F(BackupTest, WhatARestoreAsksAbout) {
  EXPECT_EQ(ReadRestoreMonth("202402"), 202402);
  EXPECT_EQ(ReadRestoreMonth("202412"), 202412);
  for (const char* bad : {"202400", "202413", "20242", "2024021", "2024-2", " 20242", ""}) {
    EXPECT_EQ(ReadRestoreMonth(bad), 0) << bad;
  }
  EXPECT_EQ(RestoreTargetText(202402), "2024年2月の記入");
  EXPECT_EQ(RestoreTargetText(0), "通帳全体");
  EXPECT_EQ(MonthMember(202402), "Daily/202402.kzm");

  EXPECT_EQ(PassbookFilesAmong(Passbook(), {Passbook() + "/Daily/202402.kzm", Passbook() + "2/Daily/202402.kzm",
                                            temp.File("other/Monthly/202401.mif"), Passbook() + "/Monthly/202401.mif"}),
            (std::vector<std::string>{"Daily/202402.kzm", "Monthly/202401.mif"}));

  TBackupStore store = Store();
  const TBackupOutcome taken = store.Take(TBackupReason::brManual);
  ASSERT_TRUE(taken.ok) << taken.message;
  EXPECT_EQ(BackupWhenText(store, taken.path), "2026/12/10 08:00:00");
  EXPECT_EQ(BackupWhenText(store, Backups() + "/old.zip"), "old.zip");
}

// A year of opening the passbook every day, with a statement imported every Saturday: the
// backups of the last 14 days, 8 weeks and 12 months stay, and the 10 newest before imports.
TEST_F(BackupTest, AYearOfDailyOpensKeepsWhatTheRulesSay) {
  TBackupStore store = Store();
  now = LocalTime(2026, 1, 1);
  for (int day = 0; day < 365; ++day, now += 24 * 3600) {
    if (!store.OpenedToday()) {
      ASSERT_TRUE(store.Take(TBackupReason::brOpen).ok);
    }
    EXPECT_TRUE(store.OpenedToday());
    if (IsoDayOfWeek(EncodeDate(2026, 1, 1) + day) == 6) {
      const std::time_t opened = now;
      now += 3600;
      ASSERT_TRUE(store.Take(TBackupReason::brImport).ok);
      now = opened;
    }
  }
  now -= 24 * 3600;
  const std::vector<TBackupInfo> kept = store.List();
  const auto dayOf = [](std::time_t t) {
    std::tm local{};
    localtime_r(&t, &local);
    return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
  };
  const TDayNumber today = dayOf(now);
  std::set<TDayNumber> days;
  std::set<int> weeks, months;
  int imports = 0;
  for (const TBackupInfo& info : kept) {
    const TDayNumber day = dayOf(info.time);
    days.insert(day);
    weeks.insert((today - IsoDayOfWeek(today) - (day - IsoDayOfWeek(day))) / 7);
    months.insert(DecodeDate(day).month);
    if (info.reason == TBackupReason::brImport) ++imports;
  }
  for (int back = 0; back < kKeepDays; ++back) EXPECT_TRUE(days.contains(today - back)) << back;
  for (int back = 0; back < kKeepWeeks; ++back) EXPECT_TRUE(weeks.contains(back)) << back;
  EXPECT_EQ(months.size(), 12u);
  EXPECT_GE(imports, kKeepBeforeChange);
  EXPECT_LE(kept.size(), static_cast<size_t>(kKeepDays + kKeepWeeks + kKeepMonths + kKeepBeforeChange));
  EXPECT_GE(kept.size(), static_cast<size_t>(kKeepDays + kKeepMonths - 1));
  // January, eleven months back, keeps only its newest copy.
  EXPECT_EQ(std::count_if(kept.begin(), kept.end(), [&](const TBackupInfo& info) { return dayOf(info.time) < EncodeDate(2026, 2, 1); }), 1);
}

TEST(BackupKeep, EdgesOfTheRules) {
  const std::time_t now = LocalTime(2026, 12, 10, 12);
  const std::time_t hour = 3600, day = 24 * hour;
  struct TCase {
    const char* what;
    std::vector<TKeepCandidate> candidates;
    std::vector<bool> expected;
  };
  const TCase cases[] = {
      {"two on one day: the newer stays", {{now - 2 * hour, false}, {now - hour, false}}, {false, true}},
      {"a copy dated later than now stays", {{now + day, false}, {now - hour, false}}, {true, true}},
      {"the 11th before a change goes once its periods are claimed",
       [&] {
         std::vector<TKeepCandidate> list;
         for (int i = 0; i < 11; ++i) list.push_back({now - i * hour, true});
         return list;
       }(),
       {true, true, true, true, true, true, true, true, true, true, false}},
      {"13 months back is too old", {{now - 400 * day, true}, {now, false}}, {true, true}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(BackupsToKeep(c.candidates, now), c.expected);
  }
  // Without a change, a copy 13 months old goes.
  EXPECT_EQ(BackupsToKeep({{now - 400 * day, false}, {now, false}}, now), (std::vector<bool>{false, true}));
}

// A backup every day for 400 days: exactly the newest of each of the last 14 days, 8 weeks
// (Monday to Sunday) and 12 months stay, not one more; worked out here day by day.
TEST(BackupKeep, ExactlyFourteenDaysEightWeeksAndTwelveMonths) {
  const TDayNumber today = EncodeDate(2026, 12, 10);
  const auto weekStart = [](TDayNumber day) { return day - (IsoDayOfWeek(day) - 1); };
  const auto monthIndex = [](TDayNumber day) { return DecodeDate(day).year * 12 + DecodeDate(day).month; };
  std::vector<TKeepCandidate> candidates;
  std::vector<bool> expected;
  for (int back = 0; back < 400; ++back) {
    const TDayNumber day = today - back;
    const TYmd date = DecodeDate(day);
    candidates.push_back({LocalTime(date.year, date.month, date.day), false});
    const bool newestOfWeek = back == 0 || IsoDayOfWeek(day) == 7;
    const bool newestOfMonth = back == 0 || DecodeDate(day + 1).day == 1;
    expected.push_back(back < 14 || (newestOfWeek && (weekStart(today) - weekStart(day)) / 7 < 8) ||
                       (newestOfMonth && monthIndex(today) - monthIndex(day) < 12));
  }
  EXPECT_EQ(BackupsToKeep(candidates, LocalTime(2026, 12, 10, 12)), expected);
}

// A backup killed at any moment leaves only whole zips under backup names.
TEST_F(BackupTest, AKilledBackupLeavesNoHalfZip) {
  std::mt19937 random(7);
  std::string big;
  for (int i = 0; i < 30000; ++i) big += std::to_string(random()) + ",";
  for (int m = 1; m <= 12; ++m) test::WriteBytes(Passbook() + "/Daily/2025" + (m < 10 ? "0" : "") + std::to_string(m) + ".kzm", big);
  const auto zips = [this] {
    int count = 0;
    std::error_code error;
    for (fs::directory_iterator it(Backups(), error), end; !error && it != end; it.increment(error)) {
      if (it->path().filename().string().ends_with(".zip")) ++count;
    }
    return count;
  };
  for (int round = 0; round < 12; ++round) {
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      TBackupStore store(Passbook(), Backups());
      for (;;) (void)store.Take(TBackupReason::brManual);
    }
    // The first child is let finish one backup, however slow the machine (a sanitizer build
    // under load); the others are killed at any moment.
    for (int waited = 0; round == 0 && zips() == 0 && waited < 600; ++waited) ::usleep(50000);
    ::usleep(static_cast<useconds_t>(50000 + random() % 300000));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
  }
  int whole = 0;
  for (const auto& entry : fs::directory_iterator(Backups())) {
    const std::string name = entry.path().filename().string();
    if (!name.ends_with(".zip")) continue;
    SCOPED_TRACE(name);
    TZipReader reader;
    std::string error, bytes;
    ASSERT_TRUE(reader.Open(entry.path().string(), error)) << error;
    for (const std::string& member : reader.Names()) ASSERT_TRUE(reader.Read(member, bytes, error)) << error;
    ++whole;
  }
  EXPECT_GT(whole, 0);
  // The next backup tidies what the killed ones left.
  ASSERT_TRUE(Store().Take(TBackupReason::brManual).ok);
  for (const auto& entry : fs::directory_iterator(Backups())) {
    EXPECT_TRUE(entry.path().filename().string().ends_with(".zip")) << entry.path();
  }
}

}  // namespace
}  // namespace kzm
