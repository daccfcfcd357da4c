// What one PC keeps for itself when a passbook is shared with others through a synced folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Dates.h"
#include "foundation/ThisPc.h"
#include "passbook/CarryJournal.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthStamps.h"
#include "passbook/Presence.h"
#include "passbook/Profile.h"
#include "passbook/SyncIgnore.h"
#include "passbook/WriterLock.h"

namespace kzm {
namespace {

// Runs as another PC (another state folder gives another id) while it lives.
class TAnotherPc {
 public:
  explicit TAnotherPc(const std::string& state) : m_was(std::getenv("XDG_STATE_HOME") ? std::getenv("XDG_STATE_HOME") : "") {
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
  }
  ~TAnotherPc() { ::setenv("XDG_STATE_HOME", m_was.c_str(), 1); }
  TAnotherPc(const TAnotherPc&) = delete;
  TAnotherPc& operator=(const TAnotherPc&) = delete;

 private:
  std::string m_was;
};

class SyncLocalTest : public ::testing::Test {
 protected:
  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
};

// Each PC's journal carries its own name: another PC's is never read, and one an earlier
// version left under the shared name is this PC's and is finished.
TEST_F(SyncLocalTest, AJournalIsReadOnlyByThePcThatWroteIt) {
  const std::string folder = temp.Path();
  std::string error;
  {
    TAnotherPc other(temp.File("other-state"));
    ASSERT_TRUE(NoteMonthsToCarry(folder, {202401}, error)) << error;
  }
  EXPECT_TRUE(MonthsToCarry(folder).empty());

  test::WriteBytes(temp.File(kCarryJournalFileName), "202402\r\n");
  EXPECT_EQ(MonthsToCarry(folder), std::set<TMonthKey>{202402});
  ASSERT_TRUE(ForgetCarriedMonths(folder, {202402}));
  EXPECT_FALSE(std::filesystem::exists(temp.File(kCarryJournalFileName)));

  ASSERT_TRUE(NoteMonthsToCarry(folder, {202403}, error));
  EXPECT_TRUE(std::filesystem::exists(temp.File(PcOwnName(kCarryJournalFileName))));
  TAnotherPc other(temp.File("other-state"));
  EXPECT_EQ(MonthsToCarry(folder), std::set<TMonthKey>{202401});
}

// The lock the sync engine brings from another PC (or that PC's own lock file beside ours)
// never turns this PC away; a second writer on this PC still is.
TEST_F(SyncLocalTest, AnotherPcsLockNeverStopsThisOne) {
  TWriterLock mine;
  std::string refusal;
  ASSERT_TRUE(mine.Take(temp.Path(), 0, refusal)) << refusal;
  TWriterLock second;
  EXPECT_FALSE(second.Take(temp.Path(), 0, refusal));
  TAnotherPc other(temp.File("other-state"));
  TWriterLock theirs;
  EXPECT_TRUE(theirs.Take(temp.Path(), 0, refusal)) << refusal;
}

// The program adds what it needs to .stignore once, after a person's own lines, and never
// takes one away.
TEST_F(SyncLocalTest, TheIgnoreFileGainsOurLinesAndKeepsThePersons) {
  const std::string path = temp.File(kSyncIgnoreFileName);
  test::WriteBytes(path, "// mine\nPhotos\n*.pc-*");
  std::string error;
  ASSERT_TRUE(KeepSyncIgnore(temp.Path(), error)) << error;
  const std::string once = test::ReadBytes(path);
  EXPECT_TRUE(once.starts_with("// mine\nPhotos\n*.pc-*\n")) << once;
  EXPECT_EQ(once.find("*.pc-*", once.find("*.pc-*") + 1), std::string::npos) << once;
  for (const std::string& pattern : SyncIgnorePatterns()) EXPECT_NE(once.find(pattern + "\n"), std::string::npos);
  ASSERT_TRUE(KeepSyncIgnore(temp.Path(), error));
  EXPECT_EQ(test::ReadBytes(path), once);
}

// Other PCs seen in the last few minutes are named; this PC, a stale visit and a garbled
// file are not.
TEST_F(SyncLocalTest, OtherPcsSeenLatelyAreNamed) {
  const int64_t now = 1'800'000'000;
  std::string error;
  ASSERT_TRUE(WritePresence(temp.Path(), now, error)) << error;
  test::WriteBytes(temp.File("Presence-aaaaaaaaaaaa.ini"), "[PRESENCE]\r\nNAME=kitchen\r\nSEEN=1799999900\r\n");
  test::WriteBytes(temp.File("Presence-bbbbbbbbbbbb.ini"), "[PRESENCE]\r\nNAME=attic\r\nSEEN=1799990000\r\n");
  test::WriteBytes(temp.File("Presence-cccccccccccc.ini"), "[PRESENCE]\r\nNAME=garbled\r\nSEEN=soon\r\n");
  EXPECT_EQ(OtherPcsPresent(temp.Path(), now), std::vector<std::string>{"kitchen"});
  {
    TAnotherPc other(temp.File("other-state"));
    std::vector<std::string> both{ThisPcName(), "kitchen"};
    std::sort(both.begin(), both.end());
    EXPECT_EQ(OtherPcsPresent(temp.Path(), now), both);
  }
  RemovePresence(temp.Path());
  TAnotherPc other(temp.File("other-state"));
  EXPECT_EQ(OtherPcsPresent(temp.Path(), now), std::vector<std::string>{"kitchen"});
}

// A month file this PC wrote is its own; one put in place by another writer (the sync
// engine), or taken away, is named once; with no record yet, the files are taken as they are.
TEST_F(SyncLocalTest, MonthFilesChangedByAnotherWriterAreNamed) {
  CurrentProfile().Load(temp.Path());
  CurrentMonthData().SetFolder(temp.Path() + "/Daily");
  const auto book = [](int month) {
    CurrentMonthData().SelectDay(EncodeDate(2024, month, 3));
    CurrentMonthData().AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", "", 100);
    ASSERT_TRUE(CurrentMonthData().Save());
  };
  book(1);
  book(2);
  std::filesystem::remove(MonthStampsPath(temp.Path()));
  EXPECT_TRUE(MonthFilesChangedElsewhere(temp.Path()).empty());
  book(3);
  EXPECT_TRUE(MonthFilesChangedElsewhere(temp.Path()).empty());

  test::WriteBytes(temp.File("Daily/202401.kzm.tmp1-0"), "20240105,x\r\n");
  std::filesystem::rename(temp.File("Daily/202401.kzm.tmp1-0"), temp.File("Daily/202401.kzm"));
  std::filesystem::remove(temp.File("Daily/202402.kzm"));
  test::WriteBytes(temp.File("Daily/202405.kzm"), "20240505,x\r\n");
  EXPECT_EQ(MonthFilesChangedElsewhere(temp.Path()), (std::set<TMonthKey>{202401, 202402, 202405}));
  EXPECT_TRUE(MonthFileChangedElsewhere(temp.Path(), 202401));
  EXPECT_FALSE(MonthFileChangedElsewhere(temp.Path(), 202403));
  RecordMonthStamps(temp.Path(), {202401, 202402, 202405});
  EXPECT_TRUE(MonthFilesChangedElsewhere(temp.Path()).empty());

  // Once the folder has been quiet a while, a look trusts its stamp; a file that lands
  // changes it, and is named.
  const auto anHourAgo = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  std::filesystem::last_write_time(temp.File("Daily"), anHourAgo);
  EXPECT_TRUE(MonthFilesChangedElsewhere(temp.Path()).empty());
  test::WriteBytes(temp.File("Daily/x.tmp"), "20240306,x\r\n");
  std::filesystem::rename(temp.File("Daily/x.tmp"), temp.File("Daily/202403.kzm"));
  EXPECT_EQ(MonthFilesChangedElsewhere(temp.Path()), std::set<TMonthKey>{202403});
  CurrentMonthData().SetFolder("");
  CurrentProfile().SetFolder("");
}

}  // namespace
}  // namespace kzm
