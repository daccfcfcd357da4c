#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <random>
#include <thread>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "demo/DemoPassbook.h"
#include "foundation/AppGlobal.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/CarryJournal.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/PerPcState.h"
#include "passbook/Profile.h"
#include "sync/SyncMerge.h"
#include "views/DailyPage.h"

namespace kzm {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::WriteBytes;

constexpr const char* kMonth = "Daily/202403.kzm";
constexpr const char* kCopy = "Daily/202403.sync-conflict-20240320-101500-PCTWO77.kzm";

std::string Cp932(const std::string& text) {
  std::string bytes;
  EXPECT_TRUE(EncodeCp932(text, bytes));
  return bytes;
}

size_t CountOf(const std::string& haystack, const std::string& needle) {
  size_t count = 0;
  for (size_t at = haystack.find(needle); at != std::string::npos; at = haystack.find(needle, at + 1)) ++count;
  return count;
}

// A one-year sample passbook opened for writing; this PC then books two entries in March while
// the other PC's version of the month (the one before, plus an entry of its own) lies beside
// it as a Syncthing conflict copy, with copies of a settlement, the budgets and a file the
// merge does not know.
class SyncMergeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ::setenv("XDG_STATE_HOME", temp.File("state").c_str(), 1);
    AppGlobal().UseDataFolder(temp.File("data"));
    TDemoOptions options;
    options.years = 1;
    options.until = 202412;
    std::vector<std::string> folders;
    std::string error;
    ASSERT_TRUE(MakeDemoPassbooks(temp.File("data"), options, folders, error)) << error;
    folder = folders.front();
    ASSERT_TRUE(OpenPassbookSynced(folder));
    const std::string before = ReadBytes(File(kMonth));
    AddEntry(EncodeDate(2024, 3, 15), "こちらのPC");
    // A second write here: the base stays the version the other PC knows.
    AddEntry(EncodeDate(2024, 3, 17), "二度目");
    WriteBytes(File(kCopy), before + Cp932("20240316,支出,食費,資産,現金,777,あちらのPC,\r\n"));
    WriteBytes(File("Monthly/202403.sync-conflict-20240320-101500-PCTWO77.mif"), "stale");
    WriteBytes(File("Budget.csv"), Cp932("202401,食費,支出,30000\r\n"));
    WriteBytes(File("Budget (conflicted copy 2024-03-20 101500).csv"), Cp932("202403,交通,支出,8000\r\n"));
    WriteBytes(File("Colors.sync-conflict-20240320-101500-PCTWO77.clr"), "?");
  }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().SetFolder("");
    ::unsetenv("XDG_STATE_HOME");
  }

  std::string File(const std::string& relative) const { return folder + "/" + relative; }

  static void AddEntry(TDayNumber day, const std::string& item) {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", item, 500);
    ASSERT_TRUE(FinishDaySave(day));
  }

  void ExpectMergedMonth() const {
    const std::string month = ReadBytes(File(kMonth));
    EXPECT_EQ(CountOf(month, Cp932("こちらのPC")), 1u);
    EXPECT_EQ(CountOf(month, Cp932("あちらのPC")), 1u);
    EXPECT_EQ(CountOf(month, Cp932("二度目")), 1u);
    EXPECT_FALSE(fs::exists(File(kCopy)));
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  std::string folder;
};

TEST_F(SyncMergeTest, EveryCopyIsMergedByItsKindBehindABackup) {
  const TSyncMerge merge = MergeConflictCopies(folder);
  ASSERT_TRUE(merge.ok) << merge.message;
  ExpectMergedMonth();
  EXPECT_EQ(ReadBytes(File("Budget.csv")), Cp932("202401,食費,支出,30000\r\n202403,交通,支出,8000\r\n"));
  EXPECT_FALSE(fs::exists(File("Monthly/202403.sync-conflict-20240320-101500-PCTWO77.mif")));
  EXPECT_TRUE(MonthsToCarry(folder).contains(202403));
  // What the merge cannot read stays for a person, and says so.
  EXPECT_TRUE(fs::exists(File("Colors.sync-conflict-20240320-101500-PCTWO77.clr")));
  EXPECT_TRUE(merge.NeedsPerson());
  ASSERT_EQ(merge.files.size(), 4u);
  EXPECT_EQ(merge.files[2].file, kMonth);
  EXPECT_TRUE(merge.files[2].needsPerson.empty());
  // Undone through the backup taken first, which still holds the copy.
  EXPECT_NE(merge.message.find(".zip"), std::string::npos);
  EXPECT_EQ(fs::path(merge.message.substr(merge.message.find('/'))).parent_path(),
            fs::path(temp.File("data/バックアップ/家計簿")));
  // The next merge starts from what both PCs held: the other PC's entry, deleted there
  // later, is deleted here too.
  std::string base;
  ASSERT_TRUE(ReadMergeBase(folder, kMonth, base));
  EXPECT_EQ(CountOf(base, Cp932("あちらのPC")), 0u);
  EXPECT_EQ(CountOf(base, Cp932("こちらのPC")), 0u);
  // What is left to a person is told again, with no new backup.
  const TSyncMerge again = MergeConflictCopies(folder);
  ASSERT_EQ(again.files.size(), 1u);
  EXPECT_TRUE(again.NeedsPerson());
  EXPECT_TRUE(again.message.empty());
}

TEST_F(SyncMergeTest, OpeningMergesTellsThePersonAndLoadsTheMergedMonth) {
  windows.messages.clear();
  ASSERT_TRUE(OpenPassbookSynced(folder));
  ExpectMergedMonth();
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find(kMonth), std::string::npos);
  EXPECT_NE(windows.messages[0].find("Colors.sync-conflict"), std::string::npos);
  CurrentMonthData().SelectDay(EncodeDate(2024, 3, 16));
  const int last = CurrentMonthData().LastIndex();
  ASSERT_GE(last, 0);
  EXPECT_EQ(CurrentMonthData().Entry(last).itemText, "あちらのPC");
  EXPECT_TRUE(MonthsToCarry(folder).empty());  // built again at the open
}

TEST_F(SyncMergeTest, ACopyWhoseFileIsGoneTakesItsPlaceWhole) {
  const std::string copy = ReadBytes(File(kCopy));
  fs::remove(File(kMonth));
  ASSERT_TRUE(MergeConflictCopies(folder).ok);
  EXPECT_EQ(ReadBytes(File(kMonth)), copy);
  EXPECT_FALSE(fs::exists(File(kCopy)));
}

// Starts a merge in a child process and kills it after delay (none: lets it end); returns
// how long the child ran.
std::chrono::microseconds MergeInChild(const std::string& folder, std::optional<std::chrono::microseconds> delay) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t child = ::fork();
  if (child == 0) {
    (void)MergeConflictCopies(folder);
    ::_exit(0);
  }
  if (child > 0 && delay) {
    std::this_thread::sleep_for(*delay);
    ::kill(child, SIGKILL);
  }
  if (child > 0) ::waitpid(child, nullptr, 0);
  return std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);
}

TEST_F(SyncMergeTest, AMergeKilledAnywhereIsFinishedOrDroppedAtTheNextOpen) {
  const fs::path saved = temp.File("saved");
  fs::copy(folder, saved, fs::copy_options::recursive);
  const auto restart = [&] {
    fs::remove_all(folder);
    fs::copy(saved, folder, fs::copy_options::recursive);
  };
  const auto whole = MergeInChild(folder, std::nullopt);
  std::mt19937 random(7);
  for (int kill = 0; kill < 10; ++kill) {
    restart();
    const auto delay = std::chrono::microseconds(random() % (whole.count() + 1));
    SCOPED_TRACE("killed after " + std::to_string(delay.count()) + " of " + std::to_string(whole.count()) + " µs");
    MergeInChild(folder, delay);
    ASSERT_TRUE(OpenPassbookSynced(folder));
    ExpectMergedMonth();
  }
}

}  // namespace
}  // namespace kzm
