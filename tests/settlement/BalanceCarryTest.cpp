#include "settlement/BalanceCarry.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "passbook/SettlementBatch.h"
#include "settlement/MonthSetup.h"

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

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
};

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
  stage(true);
  CurrentProfile().OpenPassbook(temp.Path());
  EXPECT_EQ(Bank(202601).second, 7777);
  EXPECT_FALSE(std::filesystem::exists(pending));
}

}  // namespace
}  // namespace kzm
