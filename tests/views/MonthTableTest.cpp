#include "views/MonthTable.h"

#include <gtest/gtest.h>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"

namespace kzm {
namespace {

class MonthTableTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(31); }
  void TearDown() override {
    CurrentMonthData().SetFolder("");
    CurrentProfile().SetFolder("");
  }

  void Open(int closingDay) {
    TkzmProfile& profile = CurrentProfile();
    profile.Load(temp.Path());
    profile.SetClosingDay(closingDay);
    profile.SetEndsNextMonth(false);
    CurrentMonthData().SetFolder(temp.Path() + "/Daily");
  }

  static void Book(TDayNumber day, const char* category, int kind, const char* account, int32_t amount,
                   const std::string& item = "") {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey(category, kind),
                                MakeKey(account, kind == kKindMemo ? kKindMemo : kKindAsset), "", item, amount);
  }

  // The row showing a category, -1 when none does.
  static int RowOf(const TMonthTable& table, const char* name, int kind) {
    for (int row = 1; row < table.RowCount(); ++row) {
      if (table.Summary().Items(table.CategoryOfRow(row)).key == MakeKey(name, kind)) return row;
    }
    return -1;
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
};

TEST_F(MonthTableTest, PeriodAcrossTheYearHeadsEveryDay) {
  Open(24);
  TMonthTable table;
  table.Load(202401);
  ASSERT_EQ(table.DayCount(), 31);
  EXPECT_EQ(table.DayText(0, 0), "25(月)");
  EXPECT_EQ(table.DayText(0, 30), "24(水)");
  EXPECT_EQ(table.PeriodText(), "12/25-1/24");
  EXPECT_EQ(table.Title(), "月間表示 2024年1月");
  EXPECT_EQ(table.NameText(0), "項目");
  EXPECT_EQ(table.TotalText(0), "月間合計");
  struct Case {
    int day;
    TDayTone tone;
  };
  // 12/25 Monday, 12/30 Saturday, 12/31 Sunday, 1/1 元日 on a Monday, 1/6 Saturday, 1/8 成人の日.
  for (const Case& c : {Case{0, TDayTone::toWeekday}, Case{5, TDayTone::toSaturday}, Case{6, TDayTone::toSunday},
                        Case{7, TDayTone::toHoliday}, Case{12, TDayTone::toSaturday}, Case{14, TDayTone::toHoliday}}) {
    SCOPED_TRACE(c.day);
    EXPECT_EQ(table.HeaderTone(c.day), c.tone);
  }
}

TEST_F(MonthTableTest, CellsShowSumsBalancesMemosAndTotals) {
  const TDayNumber first = EncodeDate(2024, 3, 1);
  Book(first, "食費", kKindPayment, "現金", 300);
  Book(first, "食費", kKindPayment, "銀行", 1200);
  Book(first + 2, "給与", kKindReceipt, "銀行", 250000);
  Book(first + 2, "メモ", kKindMemo, "メモ", 0, "給料日");
  TMonthTable table;
  table.Load(202403);
  const int rowsBefore = table.RowCount();
  EXPECT_GT(RowOf(table, "服飾", kKindPayment), 0);
  THeadList& passbook = CurrentProfile().Categories();
  passbook.Items(passbook.IndexOfKey(MakeKey("服飾", kKindPayment))).visible = 0;
  table.Load(202403);
  EXPECT_EQ(RowOf(table, "服飾", kKindPayment), -1);  // hidden
  EXPECT_EQ(table.RowCount(), rowsBefore - 1);
  const int food = RowOf(table, "食費", kKindPayment);
  const int cash = RowOf(table, "現金", kKindAsset);
  const int bank = RowOf(table, "銀行", kKindAsset);
  const int memo = RowOf(table, "メモ", kKindMemo);
  const int payments = RowOf(table, "支出合計", kKindPaymentTotal);
  const int clothes = RowOf(table, "娯楽", kKindPayment);
  struct Case {
    int row, day;
    const char* text;
    bool faint;
  };
  const Case cases[] = {
      {food, 0, "1,500", false},     {food, 1, "", false},          {payments, 0, "1,500", false},
      {cash, 0, "-300", false},      {cash, 1, "-300", true},       {cash, 2, "-300", true},
      {bank, 0, "-1,200", false},    {bank, 2, "248,800", false},   {bank, 3, "248,800", true},
      {memo, 2, "給料日", false},    {memo, 3, "", false},          {clothes, 0, "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << table.NameText(c.row) << " day " << c.day);
    EXPECT_EQ(table.DayText(c.row, c.day), c.text);
    EXPECT_EQ(table.IsFaint(c.row, c.day), c.faint);
  }
  EXPECT_EQ(table.NameText(cash), "現金残高");
  EXPECT_EQ(table.NameText(food), "食費");
  EXPECT_EQ(table.TotalText(food), "1,500");
  EXPECT_EQ(table.TotalText(clothes), "0");
  EXPECT_EQ(table.TotalText(bank), "248,800");
  EXPECT_EQ(table.TotalText(memo), "");
}

TEST_F(MonthTableTest, MonthClosingOnThe25thSumsTheDaysFrom26thTo25th) {
  Open(25);
  Book(EncodeDate(2024, 2, 25), "食費", kKindPayment, "現金", 1);  // February's month
  Book(EncodeDate(2024, 2, 26), "食費", kKindPayment, "現金", 20);
  Book(EncodeDate(2024, 3, 10), "食費", kKindPayment, "現金", 300);
  Book(EncodeDate(2024, 3, 25), "交通", kKindPayment, "現金", 4000);
  Book(EncodeDate(2024, 3, 26), "食費", kKindPayment, "現金", 50000);  // April's month
  TMonthTable table;
  table.Load(202403);
  EXPECT_EQ(table.PeriodText(), "2/26-3/25");
  int sum = 0;
  const int payments = RowOf(table, "支出合計", kKindPaymentTotal);
  for (int d = 0; d < table.DayCount(); ++d) sum += ParseAmount(table.DayText(payments, d));
  EXPECT_EQ(sum, 4320);
  EXPECT_EQ(table.TotalText(payments), "4,320");
  EXPECT_EQ(table.TotalText(RowOf(table, "現金", kKindAsset)), "-4,320");
}

TEST_F(MonthTableTest, DetailListsTheEntriesBehindACell) {
  const TDayNumber day = EncodeDate(2024, 3, 5);
  Book(day, "食費", kKindPayment, "現金", 298, "パン");
  Book(day, "給与", kKindReceipt, "銀行", 200000, "三月分");
  Book(day, "現金", kKindAsset, "銀行", 10000, "引き出し");
  Book(day, "給与", kKindReceipt, "現金", 3000, "立替の戻り");
  Book(day, "メモ", kKindMemo, "メモ", 0, "memo");
  struct Case {
    const char* name;
    int kind;
    TColor header;
    std::vector<TDetailLine> lines;
  };
  const Case cases[] = {
      {"収入合計", kKindReceiptTotal, 0x808080, {{"3/5 収入合計", ""}, {"三月分", "200,000"}, {"立替の戻り", "3,000"}}},
      {"現金", kKindAsset, 0x808080,
       {{"3/5 現金", ""}, {"パン", "-298"}, {"引き出し", "+10,000"}, {"立替の戻り", "+3,000"}}},
      {"銀行", kKindAsset, 0x808080, {{"3/5 銀行", ""}, {"三月分", "+200,000"}, {"引き出し", "-10,000"}}},
      {"食費", kKindPayment, 0x000000, {{"3/5 食費", ""}, {"パン", "298"}}},
      {"給与", kKindReceipt, 0xFF0000, {{"3/5 給与", ""}, {"三月分", "200,000"}, {"立替の戻り", "3,000"}}},
      {"支出合計", kKindPaymentTotal, 0x808080, {{"3/5 支出合計", ""}, {"パン", "298"}}},
      {"メモ", kKindMemo, 0x808080, {{"3/5 メモ", ""}, {"memo", ""}}},  // texts only, no "0"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TMonthDetail detail;
    EXPECT_TRUE(FillMonthDetail(MakeKey(c.name, c.kind), day, detail));
    EXPECT_EQ(detail.headerColor, c.header);
    ASSERT_EQ(detail.lines.size(), c.lines.size());
    for (size_t i = 0; i < c.lines.size(); ++i) {
      EXPECT_EQ(detail.lines[i].item, c.lines[i].item);
      EXPECT_EQ(detail.lines[i].amount, c.lines[i].amount);
    }
  }
  TMonthDetail none;
  EXPECT_FALSE(FillMonthDetail(MakeKey("交通", kKindPayment), day, none));
  EXPECT_FALSE(FillMonthDetail(MakeKey("食費", kKindPayment), day + 1, none));
}

}  // namespace
}  // namespace kzm
