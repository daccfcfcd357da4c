#include "report/MonthSpending.h"

#include <gtest/gtest.h>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "report/ChartPalette.h"

namespace kzm {
namespace {

struct TCategory {
  std::string name;
  int kind;
  std::int32_t total;
};

THeadList ListOf(const std::vector<TCategory>& categories) {
  THeadList list;
  for (const TCategory& c : categories) list.Items(list.AddKey(MakeKey(c.name, c.kind))).total = c.total;
  return list;
}

TEST(PaymentAmounts, ColoursFollowThePositionAmongPaymentCategories) {
  TIntegerList palette = BuildChartPalette();
  const THeadList list = ListOf({{"給与", kKindReceipt, 300'000},
                                 {"食費", kKindPayment, 40'000},
                                 {"服飾", kKindPayment, 0},  // nothing this month, keeps its place
                                 {"現金", kKindAsset, 12'000},
                                 {"交際", kKindPayment, 8'000},
                                 {"返品", kKindPayment, -500},
                                 {"交通", kKindPayment, 3'000},
                                 {"支出合計", kKindPaymentTotal, 51'000}});
  const std::vector<TSpendingAmount> amounts = PaymentAmounts(list, palette);
  ASSERT_EQ(amounts.size(), 3u);
  EXPECT_EQ(amounts[0].name, "食費");
  EXPECT_EQ(amounts[0].color, palette.Items(0));
  EXPECT_EQ(amounts[1].name, "交際");
  EXPECT_EQ(amounts[1].amount, 8'000);
  EXPECT_EQ(amounts[1].color, palette.Items(2));
  EXPECT_EQ(amounts[2].name, "交通");
  EXPECT_EQ(amounts[2].color, palette.Items(4));
}

TEST(PaymentAmounts, CategoriesPastThePaletteStartItAgain) {
  TIntegerList palette = BuildChartPalette();
  ASSERT_EQ(palette.Count(), 77);
  std::vector<TCategory> categories;
  for (int i = 0; i < 160; ++i) categories.push_back({"項目" + std::to_string(i), kKindPayment, 100 + i});
  const std::vector<TSpendingAmount> amounts = PaymentAmounts(ListOf(categories), palette);
  ASSERT_EQ(amounts.size(), 160u);
  for (int i = 0; i < 160; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(amounts[static_cast<std::size_t>(i)].color, palette.Items(i % 77));
    EXPECT_NE(amounts[static_cast<std::size_t>(i)].color, 0);
  }
  // The program's palette itself is not stretched by reading past its end.
  EXPECT_EQ(ChartPalette().Count(), 77);
}

class MonthSpendingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TkzmProfile& profile = CurrentProfile();
    profile.Load(temp.Path());
    profile.SetClosingDay(25);
    CurrentMonthData().SetFolder(temp.Path() + "/Daily");
  }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().SetFolder("");
  }

  static void Pay(TDayNumber day, const char* category, int32_t amount) {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey(category, kKindPayment), MakeKey("現金", kKindAsset), "", "", amount);
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
};

TEST_F(MonthSpendingTest, TotalsTheAccountingMonthsPeriod) {
  // Closing day 25: March runs from 26 February to 25 March.
  Pay(EncodeDate(2024, 2, 25), "食費", 1'000);  // February's
  Pay(EncodeDate(2024, 2, 26), "食費", 2'000);
  Pay(EncodeDate(2024, 3, 10), "食費", 300);
  Pay(EncodeDate(2024, 3, 10), "交通", 700);
  Pay(EncodeDate(2024, 3, 25), "雑費", 50);
  Pay(EncodeDate(2024, 3, 26), "雑費", 9'000);  // April's
  CurrentMonthData().AddEntry(MakeKey("給与", kKindReceipt), MakeKey("銀行", kKindAsset), "", "", 250'000);

  const TMonthSpending spending = MonthSpending(202403);
  EXPECT_EQ(spending.period.first, EncodeDate(2024, 2, 26));
  EXPECT_EQ(spending.period.last, EncodeDate(2024, 3, 25));
  TIntegerList palette = BuildChartPalette();
  ASSERT_EQ(spending.amounts.size(), 3u);
  // 食費, 服飾, 交際, 教養, 娯楽, 交通, 住居･光熱, 雑費 are the default payment categories.
  EXPECT_EQ(spending.amounts[0].name, "食費");
  EXPECT_EQ(spending.amounts[0].amount, 2'300);
  EXPECT_EQ(spending.amounts[1].name, "交通");
  EXPECT_EQ(spending.amounts[1].color, palette.Items(5));
  EXPECT_EQ(spending.amounts[2].name, "雑費");
  EXPECT_EQ(spending.amounts[2].amount, 50);
  EXPECT_EQ(spending.amounts[2].color, palette.Items(7));
}

TEST_F(MonthSpendingTest, AMonthWithoutPaymentsHasNoAmounts) {
  CurrentMonthData().SelectDay(EncodeDate(2024, 5, 3));
  CurrentMonthData().AddEntry(MakeKey("給与", kKindReceipt), MakeKey("銀行", kKindAsset), "", "", 250'000);
  EXPECT_TRUE(MonthSpending(202405).amounts.empty());
}

TEST(SpendingMonthTitle, YearAndMonthWithoutLeadingZeros) {
  EXPECT_EQ(SpendingMonthTitle(200405), "2004年5月");
  EXPECT_EQ(SpendingMonthTitle(202412), "2024年12月");
  EXPECT_EQ(SpendingMonthTitle(202400), "2023年12月");
}

}  // namespace
}  // namespace kzm
