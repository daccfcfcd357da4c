#include "settlement/BalanceCarry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "passbook/SettlementBatch.h"
#include "foundation/DiskWrites.h"
#include "passbook/CarryJournal.h"
#include "settlement/CarryRun.h"
#include "settlement/MonthSetup.h"
#include "settlement/SettlementCache.h"

namespace kzm {
namespace {

// Balances carried from month to month as a person changes the past.
class BalanceCarryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CurrentProfile().Load(temp.Path());
    CurrentMonthData().SetFolder(temp.Path() + "/Daily");
  }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().SetFolder("");
  }

  static void Book(int y, int m, int d, const char* category, int kind, int32_t amount) {
    CurrentMonthData().SelectDay(EncodeDate(y, m, d));
    CurrentMonthData().AddEntry(MakeKey(category, kind), MakeKey("銀行", kKindAsset), "", "", amount);
  }
  static void Build(TMonthKey key) {
    THeadList summary;
    ASSERT_TRUE(BuildMonth(key, summary)) << key;
  }
  // The bank's opening and closing balance as the month's settlement stores it.
  static std::pair<int64_t, int64_t> Bank(TMonthKey key) {
    THeadList list;
    EXPECT_TRUE(ReadSettlement(key, list)) << key;
    const int c = list.IndexOfKey(MakeKey("銀行", kKindAsset));
    if (c < 0) return {-1, -1};
    return {list.Items(c).balance, list.Items(c).total};
  }
  // Every settled month opens where the month before closed.
  static void ExpectChained(TMonthKey from, TMonthKey to) {
    for (TMonthKey key = NextMonthKey(from); key <= to; key = NextMonthKey(key)) {
      SCOPED_TRACE(key);
      EXPECT_EQ(Bank(key).first, Bank(PrevMonthKey(key)).second);
    }
  }

  // Twelve months of 2026 with a salary each, settled.
  static void Year() {
    for (int m = 1; m <= 12; ++m) Book(2026, m, 5, "給与", kKindReceipt, 1000);
    for (TMonthKey key = 202601; key <= 202612; key = NextMonthKey(key)) Build(key);
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
};

// Stops right after the month file is written, before anything is carried: the next open
// carries it, and the journal is gone once it has.
TEST_F(BalanceCarryTest, AStopBeforeTheCarryIsCarriedAtTheNextOpen) {
  Year();
  Book(2026, 2, 9, "給与", kKindReceipt, 500);
  ASSERT_TRUE(CurrentMonthData().Save());
  EXPECT_EQ(Bank(202612).second, 12000);
  ASSERT_TRUE(OpenPassbookCarried(temp.Path()));
  EXPECT_EQ(Bank(202612).second, 12500);
  ExpectChained(202601, 202612);
  EXPECT_TRUE(MonthsToCarry(temp.Path()).empty());
  EXPECT_FALSE(FileExists(temp.Path() + "/" + kCarryJournalFileName));
}

// A change in January moves eleven later months: each is written once, and the disk is synced
// a few times for all of them rather than once or twice per file.
TEST_F(BalanceCarryTest, ARunWritesEachMonthOnceWithFewSyncs) {
  Year();
  Book(2026, 1, 20, "食費", kKindPayment, 300);
  ASSERT_TRUE(CurrentMonthData().Save());
  const int64_t syncs = DiskWrites().Syncs();
  const int64_t renames = DiskWrites().Count(TDiskStep::dsRename);
  ASSERT_TRUE(CarryChangedDays({EncodeDate(2026, 1, 20)}));
  EXPECT_LE(DiskWrites().Syncs() - syncs, 8);
  EXPECT_EQ(DiskWrites().Count(TDiskStep::dsRename) - renames, 2 * 12 + 1);  // pending, in place, marker
  EXPECT_EQ(Bank(202612).second, 11700);
  ExpectChained(202601, 202612);
}

// A bank account moved to the top of the list changes nothing by itself: building a month
// again without a change moves no later month.
TEST_F(BalanceCarryTest, AnAccountFirstInTheListMovesNothingWhenNothingChanged) {
  THeadList& categories = CurrentProfile().Categories();
  categories.Move(categories.IndexOfKey(MakeKey("銀行", kKindAsset)), 0);
  Year();
  const auto before = test::FilesUnder(temp.Path() + "/Monthly");
  Build(202603);
  EXPECT_EQ(test::FilesUnder(temp.Path() + "/Monthly"), before);
  EXPECT_EQ(Bank(202612).second, 12000);
}

// Killed at the first month moved into place: the batch's record is down already, so the
// next open moves the rest, never leaving some months carried and others not.
TEST_F(BalanceCarryTest, AStopAtTheFirstMoveFinishesTheWholeBatch) {
  struct TKilled {};
  Year();
  Book(2026, 1, 20, "食費", kKindPayment, 300);
  const std::string first = SettlementFilePath(202601);
  DiskWrites().Watch([&](TDiskStep step, const std::string& path) {
    if (step == TDiskStep::dsRename && path == first) throw TKilled{};
  });
  EXPECT_THROW(CarryChangedDays({EncodeDate(2026, 1, 20)}), TKilled);
  DiskWrites().Watch({});
  SettlementCache().Forget();
  CurrentProfile().OpenPassbook(temp.Path());
  for (TMonthKey key = 202601; key <= 202612; key = NextMonthKey(key)) EXPECT_EQ(Bank(key).second, 1000 * (key - 202600) - 300) << key;
}

// Something else under the batch's own folder name (a stray file, a link to a folder outside
// the passbook) is moved aside: the carry goes through and nothing outside is touched.
TEST_F(BalanceCarryTest, AStrayPendingIsMovedAsideNeverFollowed) {
  Year();
  const std::string outside = temp.File("outside");
  EnsureFolder(outside);
  test::WriteBytes(outside + "/202601.mif", "someone else's");
  std::filesystem::create_directory_symlink(outside, temp.File("Monthly/pending"));
  for (int round = 0; round < 2; ++round) {
    Book(2026, 1, 20 + round, "食費", kKindPayment, 100);
    ASSERT_TRUE(CurrentMonthData().Save());
    ASSERT_TRUE(CarryChangedDays({EncodeDate(2026, 1, 20 + round)}));
    EXPECT_EQ(Bank(202612).second, 12000 - 100 * (round + 1));
    test::WriteBytes(temp.File("Monthly/pending"), "a stray file");
  }
  EXPECT_EQ(test::ReadBytes(outside + "/202601.mif"), "someone else's");
  EXPECT_TRUE(windows.messages.empty());
}

// The first month opens with the person's own balances: an entry booked months before it
// (an old statement row) leaves every later month as it was.
TEST_F(BalanceCarryTest, AnEntryBeforeTheFirstMonthMovesNothingLater) {
  for (int m = 3; m <= 6; ++m) Book(2026, m, 5, "給与", kKindReceipt, 1000);
  for (TMonthKey key = 202603; key <= 202606; key = NextMonthKey(key)) Build(key);
  THeadList march;
  ASSERT_TRUE(ReadSettlement(202603, march));
  const std::vector<int64_t> balances{20000, 600000};  // 現金, 銀行
  ASSERT_TRUE(StoreMonthSetup(202603, march, balances, march.First(), march.Last()));
  ASSERT_EQ(Bank(202606).second, 604000);
  Book(2026, 1, 15, "食費", kKindPayment, 1000);
  ASSERT_TRUE(CurrentMonthData().Save());
  ASSERT_TRUE(CarryChangedDays({EncodeDate(2026, 1, 15)}));
  EXPECT_EQ(Bank(202601), std::make_pair(int64_t{0}, int64_t{-1000}));
  EXPECT_EQ(Bank(202603).first, 600000);
  EXPECT_EQ(Bank(202606).second, 604000);
}

// A process that only reads works the months out in memory and writes nothing.
TEST_F(BalanceCarryTest, AReaderWritesNothing) {
  Year();
  Book(2026, 3, 9, "給与", kKindReceipt, 500);
  ASSERT_TRUE(CurrentMonthData().Save());
  const auto before = test::FilesUnder(temp.Path());
  ASSERT_TRUE(OpenPassbookCarried(temp.Path(), TPassbookAccess::paRead));
  EXPECT_EQ(Bank(202612).second, 12500);
  Build(202605);
  EXPECT_EQ(test::FilesUnder(temp.Path()), before);
  ASSERT_TRUE(OpenPassbookCarried(temp.Path()));
  EXPECT_EQ(Bank(202612).second, 12500);
}

TEST_F(BalanceCarryTest, AnEntryTwoMonthsBackMovesEveryLaterMonth) {
  for (int m = 1; m <= 5; ++m) Book(2026, m, 25, "給与", kKindReceipt, 300000);
  for (int m = 1; m <= 5; ++m) Book(2026, m, 27, "住居･光熱", kKindPayment, 80000);
  for (TMonthKey key = 202601; key <= 202605; key = NextMonthKey(key)) Build(key);
  ASSERT_EQ(Bank(202605), std::make_pair(int64_t{880000}, int64_t{1100000}));

  Book(2026, 3, 10, "給与", kKindReceipt, 100000);  // forgotten, typed in later
  Build(202603);
  EXPECT_EQ(Bank(202603), std::make_pair(int64_t{440000}, int64_t{760000}));
  EXPECT_EQ(Bank(202604), std::make_pair(int64_t{760000}, int64_t{980000}));
  EXPECT_EQ(Bank(202605), std::make_pair(int64_t{980000}, int64_t{1200000}));
  ExpectChained(202601, 202605);
  Build(202605);  // rebuilding a later month changes nothing more
  EXPECT_EQ(Bank(202605).second, 1200000);
  EXPECT_TRUE(windows.messages.empty());
}

TEST_F(BalanceCarryTest, AnImportOverThreeMonthsKeepsTheChain) {
  for (int m = 1; m <= 6; ++m) Book(2026, m, 5, "食費", kKindPayment, 1000);
  for (TMonthKey key = 202601; key <= 202606; key = NextMonthKey(key)) Build(key);
  // Rows booked into three months, each month summarised once, earliest first.
  Book(2026, 2, 28, "給与", kKindReceipt, 5000);
  Book(2026, 3, 1, "食費", kKindPayment, 700);
  Book(2026, 4, 30, "給与", kKindReceipt, 9000);
  for (TMonthKey key : {202602, 202603, 202604}) Build(key);
  ExpectChained(202601, 202606);
  EXPECT_EQ(Bank(202606).second, -6000 + 5000 - 700 + 9000);
}

TEST_F(BalanceCarryTest, APersonsOwnAdjustmentStays) {
  for (int m = 1; m <= 3; ++m) Book(2026, m, 5, "給与", kKindReceipt, 1000);
  for (TMonthKey key = 202601; key <= 202603; key = NextMonthKey(key)) Build(key);
  // March opens 500 higher than February closed: the person's carried balance.
  THeadList march;
  ASSERT_TRUE(ReadSettlement(202603, march));
  const std::vector<int64_t> balances{0, 2500};  // 現金, 銀行
  ASSERT_TRUE(StoreMonthSetup(202603, march, balances, march.First(), march.Last()));
  ASSERT_EQ(Bank(202603), std::make_pair(int64_t{2500}, int64_t{3500}));

  Book(2026, 1, 9, "食費", kKindPayment, 200);
  Build(202601);
  EXPECT_EQ(Bank(202602), std::make_pair(int64_t{800}, int64_t{1800}));
  EXPECT_EQ(Bank(202603), std::make_pair(int64_t{2300}, int64_t{3300}));
}

TEST_F(BalanceCarryTest, AMonthWithoutEntriesCarriesTheBalancesThrough) {
  Book(2026, 1, 10, "給与", kKindReceipt, 50000);
  Build(202601);
  Build(202602);  // a holiday abroad: nothing booked
  EXPECT_FALSE(FileExists(SettlementFilePath(202602)));
  Book(2026, 3, 10, "食費", kKindPayment, 2000);
  Build(202603);
  EXPECT_EQ(Bank(202603), std::make_pair(int64_t{50000}, int64_t{48000}));

  // Now the empty month gets an entry: March moves with it.
  Book(2026, 2, 14, "食費", kKindPayment, 3000);
  Build(202602);
  EXPECT_EQ(Bank(202602), std::make_pair(int64_t{50000}, int64_t{47000}));
  EXPECT_EQ(Bank(202603), std::make_pair(int64_t{47000}, int64_t{45000}));

  // And loses it again: its settlement follows, and so does March.
  CurrentMonthData().SelectDay(EncodeDate(2026, 2, 14));
  CurrentMonthData().DeleteDayEntries();
  Build(202602);
  EXPECT_EQ(Bank(202602), std::make_pair(int64_t{50000}, int64_t{50000}));
  EXPECT_EQ(Bank(202603), std::make_pair(int64_t{50000}, int64_t{48000}));
}

// A batch stopped after its record was written is finished when the passbook opens again; one
// stopped before the record changed nothing.
TEST_F(BalanceCarryTest, AStoppedBatchIsFinishedOrDropped) {
  for (int m = 1; m <= 2; ++m) Book(2026, m, 5, "給与", kKindReceipt, 1000);
  Build(202601);
  Build(202602);
  const std::string pending = temp.Path() + "/Monthly/pending";
  const auto stage = [&](bool ready) {
    THeadList january;
    ASSERT_TRUE(ReadSettlement(202601, january));
    january.Items(january.IndexOfKey(MakeKey("銀行", kKindAsset))).total = 7777;
    EnsureFolder(pending);
    january.SaveToFile(pending + "/202601.mif");
    if (ready) test::WriteBytes(pending + "/ready", "");
  };
  stage(false);
  FinishSettlementBatch();
  EXPECT_EQ(Bank(202601).second, 1000);
  EXPECT_FALSE(std::filesystem::exists(pending));
  // A batch of balances set by hand (no month is left to carry) stopped before its moves: a
  // reader cannot finish it, but shows what the batch holds and leaves it for a writer.
  ASSERT_TRUE(ForgetCarriedMonths(temp.Path(), MonthsToCarry(temp.Path())));
  stage(true);
  ASSERT_TRUE(OpenPassbookCarried(temp.Path(), TPassbookAccess::paRead));
  EXPECT_EQ(Bank(202601).second, 7777);
  EXPECT_TRUE(std::filesystem::exists(pending + "/ready"));
  CurrentProfile().OpenPassbook(temp.Path());
  EXPECT_EQ(Bank(202601).second, 7777);
  EXPECT_FALSE(std::filesystem::exists(pending));
}

// A month file another PC wrote (brought by the sync engine) is carried into the later months
// when the passbook next opens for writing.
TEST_F(BalanceCarryTest, AMonthAnotherPcChangedIsCarriedAtTheNextOpen) {
  Year();
  ASSERT_TRUE(CurrentMonthData().Save());
  ASSERT_TRUE(OpenPassbookCarried(temp.Path()));
  const std::string march = temp.File("Daily/202603.kzm");
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("20260305,収入,給与,資産,銀行,1000,,\r\n20260306,収入,給与,資産,銀行,250,,\r\n", bytes));
  test::WriteBytes(march + ".landing", bytes);
  std::filesystem::rename(march + ".landing", march);
  EXPECT_EQ(Bank(202612).second, 12000);
  ASSERT_TRUE(OpenPassbookCarried(temp.Path()));
  EXPECT_EQ(Bank(202612).second, 12250);
  ExpectChained(202601, 202612);
}

}  // namespace
}  // namespace kzm
