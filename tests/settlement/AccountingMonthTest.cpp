#include "settlement/AccountingMonth.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/AtomicFile.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"

namespace kzm {
namespace {

TEST(MonthKeys, NormaliseAndStep) {
  struct Case {
    TMonthKey key, normal, next, prev;
  };
  const Case cases[] = {
      {202403, 202403, 202404, 202402},
      {202400, 202312, 202401, 202311},  // January minus one
      {202413, 202501, 202502, 202412},  // December plus one
      {202399, 202311, 202312, 202310},  // January minus two reads 99
      {202312, 202312, 202401, 202311},
      {202425, 202601, 202602, 202512},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(NormaliseMonthKey(c.key), c.normal);
    EXPECT_EQ(NextMonthKey(c.key), c.next);
    EXPECT_EQ(PrevMonthKey(c.key), c.prev);
  }
}

TEST(MonthKeys, DayOfMonthMovesImpossibleDays) {
  struct Case {
    int year, month, day;
    TDayNumber expected;
  };
  const Case cases[] = {
      {2024, 3, 5, EncodeDate(2024, 3, 5)},
      {2024, 2, 31, EncodeDate(2024, 2, 29)},  // closing day 31: the month's last day
      {2023, 2, 30, EncodeDate(2023, 2, 28)},
      {2024, 4, 31, EncodeDate(2024, 4, 30)},
      {2024, 0, 31, EncodeDate(2023, 12, 31)},
      {2024, 13, 5, EncodeDate(2025, 1, 5)},
      {2024, 3, 0, EncodeDate(2024, 2, 29)},  // 0 goes to the previous month's end
      {2024, 3, 40, EncodeDate(2024, 4, 1)},
      {10000, 1, 1, EncodeDate(9999, 12, 31)},
      {0, 6, 15, -1},  // no such year
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.year << "/" << c.month << "/" << c.day);
    EXPECT_EQ(DayOfMonth(c.year, c.month, c.day), c.expected);
  }
}

class AccountingMonthTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(31, false); }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().SetFolder("");
  }

  void Open(int closingDay, bool endsNextMonth) {
    TkzmProfile& profile = CurrentProfile();
    profile.Load(temp.Path());
    profile.SetClosingDay(closingDay);
    profile.SetEndsNextMonth(endsNextMonth);
    CurrentMonthData().SetFolder(temp.Path() + "/Daily");
  }

  // A settlement file with a period and 現金's opening and closing balance.
  void Settle(TMonthKey key, TDayNumber first, TDayNumber last, int32_t balance = 0, int32_t total = 0) {
    THeadList list;
    list.SetFirst(first);
    list.SetLast(last);
    THeadData& cash = list.Items(list.AddKey(MakeKey("現金", kKindAsset)));
    cash.balance = balance;
    cash.total = total;
    EnsureFolder(temp.Path() + "/Monthly");
    list.SaveToFile(SettlementFilePath(key));
  }

  void Book(TDayNumber day, const char* category, int kind, const char* account, int32_t amount,
            const std::string& item = "") {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey(category, kind), MakeKey(account, kind == kKindMemo ? kKindMemo : kKindAsset),
                                "", item, amount);
  }

  static int Column(const THeadList& list, const char* name, int kind) {
    const int index = list.IndexOfKey(MakeKey(name, kind));
    EXPECT_GE(index, 0) << name;
    return index;
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
};

TEST_F(AccountingMonthTest, DefaultPeriodFollowsTheClosingDay) {
  struct Case {
    int closingDay;
    bool endsNextMonth;
    TMonthKey key;
    TDayNumber first, last;
  };
  const Case cases[] = {
      {31, false, 202402, EncodeDate(2024, 2, 1), EncodeDate(2024, 2, 29)},
      {31, false, 202401, EncodeDate(2024, 1, 1), EncodeDate(2024, 1, 31)},
      {25, false, 202403, EncodeDate(2024, 2, 26), EncodeDate(2024, 3, 25)},
      {25, true, 202403, EncodeDate(2024, 3, 26), EncodeDate(2024, 4, 25)},
      {25, false, 202401, EncodeDate(2023, 12, 26), EncodeDate(2024, 1, 25)},
      {30, false, 202403, EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 30)},
      {30, true, 202412, EncodeDate(2024, 12, 31), EncodeDate(2025, 1, 30)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "closing " << c.closingDay << " next " << c.endsNextMonth << " key " << c.key);
    Open(c.closingDay, c.endsNextMonth);
    THeadList list;
    EXPECT_FALSE(LoadMonthPeriod(c.key, list));
    EXPECT_EQ(list.First(), c.first);
    EXPECT_EQ(list.Last(), c.last);
  }
}

TEST_F(AccountingMonthTest, SettledNeighboursMoveTheBoundaries) {
  Open(25, false);
  Settle(202402, EncodeDate(2024, 1, 26), EncodeDate(2024, 2, 20), 1000, 7000);
  THeadList march;
  EXPECT_FALSE(LoadMonthPeriod(202403, march));
  EXPECT_EQ(march.First(), EncodeDate(2024, 2, 21));
  EXPECT_EQ(march.Last(), EncodeDate(2024, 3, 25));
  ASSERT_EQ(march.Count(), 1);
  EXPECT_EQ(march.Items(0).balance, 7000);  // February's closing balance opens March

  Settle(202404, EncodeDate(2024, 3, 20), EncodeDate(2024, 4, 25));
  EXPECT_FALSE(LoadMonthPeriod(202403, march));
  EXPECT_EQ(march.Last(), EncodeDate(2024, 3, 19));

  Settle(202404, EncodeDate(2024, 2, 1), EncodeDate(2024, 4, 25));  // leaves March no day
  EXPECT_FALSE(LoadMonthPeriod(202403, march));
  EXPECT_EQ(march.First(), EncodeDate(2024, 2, 21));
  EXPECT_EQ(march.Last(), march.First());

  THeadList february;
  EXPECT_TRUE(LoadMonthPeriod(202402, february));
  EXPECT_EQ(february.Last(), EncodeDate(2024, 2, 20));
}

TEST_F(AccountingMonthTest, BrokenPeriodsBecomeUsable) {
  Settle(202405, EncodeDate(2024, 5, 20), EncodeDate(2024, 5, 10));
  THeadList list;
  EXPECT_TRUE(LoadMonthPeriod(202405, list));
  EXPECT_EQ(list.First(), EncodeDate(2024, 5, 20));
  EXPECT_EQ(list.Last(), list.First());
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_EQ(windows.messages[0], "月の設定期間が無効です");

  Settle(202406, 0, EncodeDate(2024, 6, 30));  // half a period: the closing day decides
  EXPECT_TRUE(LoadMonthPeriod(202406, list));
  EXPECT_EQ(list.First(), EncodeDate(2024, 6, 1));
  EXPECT_EQ(list.Last(), EncodeDate(2024, 6, 30));
}

TEST_F(AccountingMonthTest, MonthOfDay) {
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 4, 10)), 202404);
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 12, 31)), 202412);
  Open(25, true);
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 4, 10)), 202403);
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 3, 26)), 202403);
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 3, 25)), 202402);
  Open(25, false);
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 12, 26)), 202501);
  Settle(202402, EncodeDate(2024, 1, 26), EncodeDate(2024, 2, 20));
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 2, 22)), 202403);
  // Two settled periods claim 1 to 10 March: the earlier month keeps them.
  Settle(202403, EncodeDate(2024, 2, 21), EncodeDate(2024, 3, 10));
  Settle(202404, EncodeDate(2024, 3, 1), EncodeDate(2024, 4, 25));
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 3, 5)), 202403);
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 3, 11)), 202404);
}

// Settlement files are read once per change: a file rewritten, replaced or removed since the
// last lookup must be read again, even when its size stays the same.
TEST_F(AccountingMonthTest, AChangedSettlementFileIsReadAgain) {
  Open(25, false);
  const TDayNumber day = EncodeDate(2024, 2, 22);
  Settle(202402, EncodeDate(2024, 1, 26), EncodeDate(2024, 2, 20));
  EXPECT_EQ(MonthOfDay(day), 202403);

  // Replaced (a new file under the name), same size.
  Settle(202402, EncodeDate(2024, 1, 26), EncodeDate(2024, 2, 25));
  EXPECT_EQ(MonthOfDay(day), 202402);

  // Written over in place, same size: only the change time tells.
  const std::string path = SettlementFilePath(202402);
  std::string bytes;
  ASSERT_TRUE(ReadWholeFile(path, bytes));
  const size_t at = bytes.find("20240225");
  ASSERT_NE(at, std::string::npos);
  bytes.replace(at, 8, "20240221");
  {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  EXPECT_EQ(MonthOfDay(day), 202403);
  THeadList february;
  EXPECT_TRUE(LoadMonthPeriod(202402, february));
  EXPECT_EQ(february.Last(), EncodeDate(2024, 2, 21));

  ASSERT_EQ(std::remove(path.c_str()), 0);
  EXPECT_FALSE(LoadMonthPeriod(202402, february));
  EXPECT_EQ(february.Last(), EncodeDate(2024, 2, 25));
}

TEST_F(AccountingMonthTest, BuildMonthRunsBalancesAndTotals) {
  const TDayNumber first = EncodeDate(2024, 3, 1);
  Settle(202403, first, EncodeDate(2024, 3, 31), 10000, 0);
  Book(first, "食費", kKindPayment, "現金", 300);
  Book(first + 1, "給与", kKindReceipt, "現金", 5000);
  Book(first + 2, "食費", kKindPayment, "銀行", 1200);
  Book(first + 2, "交通", kKindPayment, "現金", 400);
  Book(first + 2, "給与", kKindReceipt, "銀行", 90000);
  Book(first + 2, "現金", kKindAsset, "銀行", 20000);  // cash from the bank
  Book(first + 2, "メモ", kKindMemo, "メモ", 0, "first memo");
  Book(first + 2, "メモ", kKindMemo, "メモ", 0, "later memo");

  THeadList summary;
  EXPECT_TRUE(BuildMonth(202403, summary));
  ASSERT_EQ(summary.DayCount(), 31);
  ASSERT_EQ(summary.Count(), CurrentProfile().Categories().Count());
  const auto& days = summary.DayAmounts();
  const int cash = Column(summary, "現金", kKindAsset);
  const int bank = Column(summary, "銀行", kKindAsset);
  const int food = Column(summary, "食費", kKindPayment);
  const int paid = Column(summary, "支出合計", kKindPaymentTotal);
  const int received = Column(summary, "収入合計", kKindReceiptTotal);
  EXPECT_EQ(summary.Items(cash).balance, 10000);
  EXPECT_EQ(days[0][static_cast<size_t>(cash)], 9700);
  EXPECT_EQ(days[1][static_cast<size_t>(cash)], 14700);
  EXPECT_EQ(days[2][static_cast<size_t>(cash)], 34300);
  EXPECT_EQ(days[30][static_cast<size_t>(cash)], 34300);
  EXPECT_EQ(summary.Items(cash).total, 34300);
  EXPECT_EQ(days[2][static_cast<size_t>(bank)], 90000 - 1200 - 20000);
  EXPECT_EQ(days[2][static_cast<size_t>(paid)], 1600);
  EXPECT_EQ(days[2][static_cast<size_t>(received)], 90000);
  EXPECT_EQ(days[1][static_cast<size_t>(received)], 5000);
  EXPECT_EQ(summary.Items(food).total, 1500);
  EXPECT_EQ(summary.Items(paid).total, 1900);
  EXPECT_EQ(summary.DayMemos()[2], "later memo");
  EXPECT_EQ(summary.DayMemos()[1], "");

  THeadList settled;
  EXPECT_TRUE(LoadMonthPeriod(202403, settled));
  EXPECT_EQ(settled.Items(settled.IndexOfKey(MakeKey("現金", kKindAsset))).total, 34300);
  THeadList april;
  EXPECT_FALSE(LoadMonthPeriod(202404, april));
  EXPECT_EQ(april.Items(april.IndexOfKey(MakeKey("現金", kKindAsset))).balance, 34300);
}

TEST_F(AccountingMonthTest, CategoriesMissingFromThePassbookJoinTheirKind) {
  const TDayNumber first = EncodeDate(2024, 5, 1);
  Book(first + 3, "趣味", kKindPayment, "財布", 800);
  THeadList summary;
  EXPECT_TRUE(BuildMonth(202405, summary));
  const THeadList& passbook = CurrentProfile().Categories();
  ASSERT_EQ(summary.Count(), passbook.Count() + 2);
  EXPECT_EQ(Column(summary, "趣味", kKindPayment), Column(summary, "雑費", kKindPayment) + 1);
  EXPECT_EQ(Column(summary, "財布", kKindAsset), Column(summary, "カード", kKindAsset) + 1);
  EXPECT_EQ(summary.DayAmounts()[3][static_cast<size_t>(Column(summary, "財布", kKindAsset))], -800);

  THeadList settled;
  EXPECT_TRUE(LoadMonthPeriod(202405, settled));
  EXPECT_EQ(settled.Count(), passbook.Count());
  EXPECT_LT(settled.IndexOfKey(MakeKey("趣味", kKindPayment)), 0);
}

TEST_F(AccountingMonthTest, AMonthWithoutEntriesWritesNoSettlement) {
  THeadList summary;
  EXPECT_TRUE(BuildMonth(202407, summary));
  EXPECT_EQ(summary.DayCount(), 31);
  EXPECT_FALSE(FileExists(SettlementFilePath(202407)));
  Book(EncodeDate(2024, 7, 31), "メモ", kKindMemo, "メモ", 0, "memo only");
  EXPECT_TRUE(BuildMonth(202407, summary));
  EXPECT_TRUE(FileExists(SettlementFilePath(202407)));
}

// Balances worked out without a month that could not be read are never stored.
TEST_F(AccountingMonthTest, AnUnreadableMonthLeavesTheSettlementAlone) {
  Open(25, false);  // 202404 runs from 26 March to 25 April
  Book(EncodeDate(2024, 4, 2), "食費", kKindPayment, "現金", 300);
  ASSERT_TRUE(CurrentMonthData().Save());
  const std::string march = CurrentMonthData().MonthFilePath(2024, 3);
  EnsureFolder(temp.Path() + "/Daily");
  test::WriteBytes(march, std::string(17 * 1024 * 1024, ' '));
  Settle(202404, EncodeDate(2024, 3, 26), EncodeDate(2024, 4, 25), 1000, 1000);
  const std::string before = test::ReadBytes(SettlementFilePath(202404));

  THeadList summary;
  BuildMonth(202404, summary);
  EXPECT_EQ(summary.Items(Column(summary, "現金", kKindAsset)).total, 700);
  EXPECT_EQ(test::ReadBytes(SettlementFilePath(202404)), before);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find(march), std::string::npos);
}

// A damaged settlement file is told once, naming it, the month counts as unsettled, and no
// summary writes over it; setting the month's period by hand does.
TEST_F(AccountingMonthTest, ADamagedSettlementIsToldOnceAndKept) {
  Book(EncodeDate(2024, 5, 3), "食費", kKindPayment, "現金", 300);
  EnsureFolder(temp.Path() + "/Monthly");
  const std::string path = SettlementFilePath(202405);
  const std::string damaged = "<?xml version=\"1.0\" encoding=\"shift_jis\" ?>\r\n<data>\r\n\t<first>2024";
  test::WriteBytes(path, damaged);

  THeadList summary;
  EXPECT_TRUE(BuildMonth(202405, summary));
  EXPECT_EQ(summary.First(), EncodeDate(2024, 5, 1));
  EXPECT_EQ(summary.Items(Column(summary, "現金", kKindAsset)).total, -300);
  EXPECT_EQ(MonthOfDay(EncodeDate(2024, 5, 3)), 202405);
  EXPECT_TRUE(BuildMonth(202405, summary));
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find(path), std::string::npos);
  EXPECT_NE(windows.messages[0].find("終了タグがありません"), std::string::npos);
  EXPECT_EQ(windows.messages[0].find("<first>"), std::string::npos);  // no bytes of the file
  EXPECT_EQ(test::ReadBytes(path), damaged);
  EXPECT_TRUE(SettlementDamaged(202405));
}

TEST_F(AccountingMonthTest, ASettlementNamingOnlyItsFirstDayKeepsTheClosingDayPeriod) {
  Open(25, false);
  Settle(202405, EncodeDate(2024, 4, 26), 0, 100, 100);
  THeadList may;
  EXPECT_TRUE(LoadMonthPeriod(202405, may));
  EXPECT_EQ(may.First(), EncodeDate(2024, 4, 26));
  EXPECT_EQ(may.Last(), EncodeDate(2024, 5, 25));
  EXPECT_TRUE(windows.messages.empty());
}

// Two entries at the top of an amount's range must not wrap the day's or the month's sums.
TEST_F(AccountingMonthTest, SumsOfLargeAmountsDoNotWrap) {
  const TDayNumber day = EncodeDate(2024, 8, 8);
  Book(day, "食費", kKindPayment, "現金", 2147483647);
  Book(day, "住居", kKindPayment, "現金", 2147483647);
  THeadList summary;
  EXPECT_TRUE(BuildMonth(202408, summary));
  const auto& amounts = summary.DayAmounts()[7];
  EXPECT_EQ(amounts[static_cast<size_t>(Column(summary, "支出合計", kKindPaymentTotal))], 4294967294LL);
  EXPECT_EQ(summary.Items(Column(summary, "現金", kKindAsset)).total, -4294967294LL);
  THeadList settled;
  EXPECT_TRUE(ReadSettlement(202408, settled));
  EXPECT_EQ(settled.Items(settled.IndexOfKey(MakeKey("現金", kKindAsset))).total, -4294967294LL);
}

}  // namespace
}  // namespace kzm
