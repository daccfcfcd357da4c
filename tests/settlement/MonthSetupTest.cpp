#include "settlement/MonthSetup.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "views/MonthTable.h"

namespace kzm {
namespace {

TDayNumber Day(int y, int m, int d) { return EncodeDate(y, m, d); }

TEST(MonthSetupLimits, FromTheMonthBeforeToTheMonthAfter) {
  struct Case {
    TMonthKey key;
    TDayNumber earliest, latest;
  };
  const Case cases[] = {
      {202401, Day(2023, 12, 1), Day(2024, 2, 29)},
      {202412, Day(2024, 11, 1), Day(2025, 1, 31)},
      {202311, Day(2023, 10, 1), Day(2023, 12, 31)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    const TSetupLimits limits = MonthSetupLimits(c.key);
    EXPECT_EQ(limits.earliestFirst, c.earliest);
    EXPECT_EQ(limits.latestLast, c.latest);
  }
}

TEST(MonthSetupLimits, ChecksInOrder) {
  struct Case {
    TDayNumber first, last;
    std::string message;
  };
  const Case cases[] = {
      {Day(2023, 12, 2), Day(2024, 2, 28), ""},
      {Day(2024, 1, 10), Day(2024, 1, 10), ""},  // one day
      {Day(2023, 12, 1), Day(2024, 1, 31), kPeriodSwallowsPrevious},  // December's first day
      {Day(2024, 1, 1), Day(2024, 2, 29), kPeriodSwallowsNext},
      {Day(2023, 11, 30), Day(2024, 1, 31), kPeriodBeyondLimits},
      {Day(2023, 11, 30), Day(2023, 11, 1), kPeriodBeyondLimits},  // the first check wins
      {Day(2024, 1, 10), Day(2024, 1, 9), kPeriodInvalid},
      {Day(2024, 1, 1), Day(2024, 3, 1), kPeriodBeyondLimits},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << FormatDate8(c.first) << "-" << FormatDate8(c.last));
    EXPECT_EQ(CheckMonthPeriod(202401, c.first, c.last), c.message);
  }
}

class MonthSetupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TkzmProfile& profile = CurrentProfile();
    profile.Load(temp.Path());
    CurrentMonthData().SetFolder(temp.Path() + "/Daily");
    EnsureFolder(temp.Path() + "/Monthly");
  }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().SetFolder("");
  }

  static void Settle(TMonthKey key, TDayNumber first, TDayNumber last, int32_t balance = 0, int32_t total = 0) {
    THeadList list;
    list.SetFirst(first);
    list.SetLast(last);
    THeadData& cash = list.Items(list.AddKey(MakeKey("現金", kKindAsset)));
    cash.balance = balance;
    cash.total = total;
    list.SaveToFile(SettlementFilePath(key));
  }

  static THeadList Settlement(TMonthKey key) {
    THeadList list;
    EXPECT_TRUE(ReadSettlement(key, list)) << key;
    return list;
  }

  static void Book(TDayNumber day, const char* category, int kind, const char* account, int32_t amount) {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey(category, kind), MakeKey(account, kKindAsset), "", "", amount);
  }

  // The balances of the asset categories, as the period setup lists them.
  static std::vector<int64_t> Balances(const THeadList& list) {
    std::vector<int64_t> balances;
    for (int c = 0; c < list.Count(); ++c) {
      if (list.KindOf(c) == kKindAsset) balances.push_back(list.Items(c).balance);
    }
    return balances;
  }

  static int CashRow(const TMonthTable& table) {
    for (int row = 1; row < table.RowCount(); ++row) {
      if (table.NameText(row) == "現金残高") return row;
    }
    ADD_FAILURE() << "no 現金 row";
    return 0;
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
};

TEST_F(MonthSetupTest, EarlierLastDayMovesTheSettledNextMonthsStart) {
  Settle(202402, Day(2024, 2, 1), Day(2024, 2, 29));
  TMonthTable january;
  january.Load(202401);
  ASSERT_TRUE(StoreMonthSetup(202401, january.Summary(), Balances(january.Summary()), Day(2024, 1, 1),
                              Day(2024, 1, 20)));
  EXPECT_EQ(Settlement(202401).Last(), Day(2024, 1, 20));
  EXPECT_EQ(Settlement(202401).First(), Day(2024, 1, 1));
  EXPECT_EQ(Settlement(202402).First(), Day(2024, 1, 21));
  EXPECT_EQ(Settlement(202402).Last(), Day(2024, 2, 29));
  EXPECT_FALSE(FileExists(SettlementFilePath(202312)));  // an unsettled neighbour stays so
  EXPECT_TRUE(windows.messages.empty());
}

TEST_F(MonthSetupTest, MovingAStartEndsTheSettledMonthBefore) {
  Settle(202402, Day(2024, 2, 1), Day(2024, 2, 29), 500, 700);
  Settle(202403, Day(2024, 3, 1), Day(2024, 3, 31), 700, 700);
  ASSERT_TRUE(MoveMonthStart(202403, Day(2024, 2, 26)));
  EXPECT_EQ(Settlement(202402).Last(), Day(2024, 2, 25));
  EXPECT_EQ(Settlement(202403).First(), Day(2024, 2, 26));
  // Moving a boundary leaves the balances alone.
  EXPECT_EQ(Settlement(202402).Items(0).balance, 500);
  EXPECT_EQ(Settlement(202403).Items(0).balance, 700);
}

TEST_F(MonthSetupTest, StoredBalancesOpenTheMonthAndCarryOn) {
  TMonthTable march;
  march.Load(202403);
  std::vector<int64_t> balances = Balances(march.Summary());
  ASSERT_EQ(balances.size(), 3u);  // 現金, 銀行, カード
  balances[0] = 10000;
  balances[1] = 500000;
  ASSERT_TRUE(StoreMonthSetup(202403, march.Summary(), balances, march.First(), march.Last()));
  const THeadList stored = Settlement(202403);
  EXPECT_EQ(stored.Items(stored.IndexOfKey(MakeKey("現金", kKindAsset))).balance, 10000);
  EXPECT_EQ(stored.Items(stored.IndexOfKey(MakeKey("銀行", kKindAsset))).balance, 500000);

  // Without an entry in March, April still opens with what March was given.
  TMonthTable april;
  april.Load(202404);
  EXPECT_EQ(april.DayText(CashRow(april), 0), "10,000");

  // With entries, the view's summary closes the month from the new opening balance.
  Book(Day(2024, 3, 3), "食費", kKindPayment, "現金", 400);
  march.Load(202403);
  EXPECT_EQ(march.TotalText(CashRow(march)), "9,600");
  EXPECT_EQ(Settlement(202403).Items(stored.IndexOfKey(MakeKey("現金", kKindAsset))).total, 9600);
}

TEST_F(MonthSetupTest, ConfirmingUnchangedRewritesTheSameValues) {
  Book(Day(2024, 3, 3), "食費", kKindPayment, "現金", 400);
  TMonthTable march;
  march.Load(202403);
  const std::string before = test::ReadBytes(SettlementFilePath(202403));
  std::filesystem::remove(SettlementFilePath(202403));
  ASSERT_TRUE(StoreMonthSetup(202403, march.Summary(), Balances(march.Summary()), march.First(), march.Last()));
  EXPECT_EQ(test::ReadBytes(SettlementFilePath(202403)), before);
}

TEST_F(MonthSetupTest, FailedWriteLeavesEveryMonthAsItWas) {
  Settle(202312, Day(2023, 12, 1), Day(2023, 12, 31), 100, 200);
  Settle(202402, Day(2024, 2, 1), Day(2024, 2, 29), 300, 400);
  // A folder where January's file should be: its write fails after December's.
  std::filesystem::create_directories(SettlementFilePath(202401));
  const std::string december = test::ReadBytes(SettlementFilePath(202312));
  const std::string february = test::ReadBytes(SettlementFilePath(202402));
  TMonthTable january;
  january.Load(202401);
  EXPECT_FALSE(StoreMonthSetup(202401, january.Summary(), Balances(january.Summary()), Day(2023, 12, 20),
                               Day(2024, 1, 20)));
  EXPECT_EQ(windows.messages.size(), 1u);
  EXPECT_EQ(test::ReadBytes(SettlementFilePath(202312)), december);
  EXPECT_EQ(test::ReadBytes(SettlementFilePath(202402)), february);
  EXPECT_TRUE(std::filesystem::is_directory(SettlementFilePath(202401)));
}

// A first day on the settled month before's own first day would leave that month one day
// that also belongs to this one, its entries counted twice.
TEST_F(MonthSetupTest, APeriodMayNotSwallowASettledNeighbour) {
  Settle(202402, Day(2024, 2, 1), Day(2024, 2, 29));
  Settle(202403, Day(2024, 3, 1), Day(2024, 3, 31));
  Settle(202404, Day(2024, 4, 1), Day(2024, 4, 30));
  EXPECT_EQ(CheckMonthPeriod(202403, Day(2024, 2, 1), Day(2024, 3, 31)), kPeriodSwallowsPrevious);
  EXPECT_EQ(CheckMonthPeriod(202403, Day(2024, 2, 2), Day(2024, 3, 31)), "");
  EXPECT_EQ(CheckMonthPeriod(202403, Day(2024, 3, 1), Day(2024, 4, 30)), kPeriodSwallowsNext);
  EXPECT_EQ(CheckMonthPeriod(202403, Day(2024, 3, 1), Day(2024, 4, 29)), "");
}

TEST_F(MonthSetupTest, PreviousMonthBalance) {
  const std::string cash = MakeKey("現金", kKindAsset);
  EXPECT_EQ(PreviousMonthBalance(202403, Day(2024, 3, 1), cash), 0);  // nothing booked, nothing opened

  Settle(202402, Day(2024, 2, 1), Day(2024, 2, 29), 10000, 10000);
  Book(Day(2024, 2, 1), "食費", kKindPayment, "現金", 300);
  Book(Day(2024, 2, 2), "給与", kKindReceipt, "現金", 5000);
  Book(Day(2024, 2, 3), "現金", kKindAsset, "銀行", 2000);
  Book(Day(2024, 2, 3), "銀行", kKindAsset, "現金", 700);
  Book(Day(2024, 2, 29), "食費", kKindPayment, "現金", 1);
  struct Case {
    TDayNumber first;
    int64_t balance;
  };
  for (const Case& c : {Case{Day(2024, 2, 1), 10000}, Case{Day(2024, 2, 2), 9700}, Case{Day(2024, 2, 3), 14700},
                        Case{Day(2024, 2, 29), 16000}, Case{Day(2024, 3, 1), 15999}}) {
    SCOPED_TRACE(FormatDate8(c.first));
    EXPECT_EQ(PreviousMonthBalance(202403, c.first, cash), c.balance);
  }
  EXPECT_EQ(PreviousMonthBalance(202403, Day(2024, 3, 1), MakeKey("カード", kKindAsset)), 0);
}

}  // namespace
}  // namespace kzm
