#include "budget/Budgets.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "budget/BudgetMonth.h"
#include "common/PassbookFolderTest.h"
#include "common/SamplePassbook.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "views/MonthTable.h"

namespace kzm {
namespace {

const std::string kFood = MakeKey("食費", kKindPayment);
const std::string kTravel = MakeKey("交通", kKindPayment);
const std::string kSalary = MakeKey("給与", kKindReceipt);

TEST(Budgets, ASettingHoldsUntilALaterMonthChangesIt) {
  TBudgets budgets;
  budgets.Set(kFood, 202404, 40'000);
  budgets.Set(kFood, 202407, 35'000);
  budgets.Set(kTravel, 202406, 8'000);
  const struct {
    TMonthKey month;
    std::optional<int32_t> food, travel;
  } cases[] = {
      {202403, std::nullopt, std::nullopt}, {202404, 40'000, std::nullopt}, {202405, 40'000, std::nullopt},
      {202406, 40'000, 8'000},              {202407, 35'000, 8'000},        {202512, 35'000, 8'000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.month);
    EXPECT_EQ(budgets.BudgetOf(kFood, c.month), c.food);
    EXPECT_EQ(budgets.BudgetOf(kTravel, c.month), c.travel);
  }
  // Changing April again leaves July's own setting alone.
  budgets.Set(kFood, 202404, 42'000);
  EXPECT_EQ(budgets.BudgetOf(kFood, 202406), 42'000);
  EXPECT_EQ(budgets.BudgetOf(kFood, 202408), 35'000);
  // Clearing holds too; a clearing with nothing before it leaves no trace.
  budgets.Set(kTravel, 202409, std::nullopt);
  EXPECT_EQ(budgets.BudgetOf(kTravel, 202408), 8'000);
  EXPECT_EQ(budgets.BudgetOf(kTravel, 202410), std::nullopt);
  budgets.Set(kSalary, 202401, std::nullopt);
  test::TTempFolder temp;
  std::string error;
  ASSERT_TRUE(budgets.Save(temp.Path(), error)) << error;
  EXPECT_EQ(DecodeCp932(test::ReadBytes(temp.File(kBudgetFileName))).find("給与"), std::string::npos);
}

TEST(Budgets, FileHoldsCp932LinesAndKeepsWhatItCannotRead) {
  test::TTempFolder temp;
  const std::string path = temp.File(kBudgetFileName);
  std::string odd;
  ASSERT_TRUE(EncodeCp932("202401,食費,メモ,5\r\nnot a budget\r\n", odd));
  test::WriteBytes(path, odd);
  TBudgets budgets;
  std::string error;
  ASSERT_TRUE(budgets.Load(temp.Path(), error)) << error;
  budgets.Set(kFood, 202404, 40'000);
  budgets.Set(kFood, 202407, std::nullopt);
  budgets.Set(MakeKey("=住居,光熱", kKindPayment), 202312, -500);
  budgets.Set(kSalary, 202404, 250'000);
  ASSERT_TRUE(budgets.Save(temp.Path(), error)) << error;
  std::string expected;
  ASSERT_TRUE(EncodeCp932("202312,\"=住居,光熱\",支出,-500\r\n"
                          "202404,食費,支出,40000\r\n202407,食費,支出,\r\n"
                          "202404,給与,収入,250000\r\n"
                          "202401,食費,メモ,5\r\nnot a budget\r\n",
                          expected));
  // Keys sort by their kind byte first: payments before receipts.
  EXPECT_EQ(test::ReadBytes(path), expected);

  TBudgets again;
  ASSERT_TRUE(again.Load(temp.Path(), error)) << error;
  EXPECT_EQ(again.BudgetOf(kFood, 202405), 40'000);
  EXPECT_EQ(again.BudgetOf(kFood, 202407), std::nullopt);
  EXPECT_EQ(again.BudgetOf(MakeKey("=住居,光熱", kKindPayment), 202401), -500);
  ASSERT_TRUE(again.Save(temp.Path(), error)) << error;
  EXPECT_EQ(test::ReadBytes(path), expected);
}

TEST(Budgets, AnUnreadableFileIsReportedAndNeverWrittenOver) {
  test::TTempFolder temp;
  const std::string path = temp.File(kBudgetFileName);
  test::WriteBytes(path, "202404,x,y,1\r\n");
  std::filesystem::resize_file(path, 17u * 1024 * 1024);  // past what is read, sparse
  TBudgets budgets;
  std::string error;
  EXPECT_FALSE(budgets.Load(temp.Path(), error));
  EXPECT_NE(error.find(path), std::string::npos);
  budgets.Set(kFood, 202404, 1);
  error.clear();
  EXPECT_FALSE(budgets.Save(temp.Path(), error));
  EXPECT_NE(error.find("上書きしません"), std::string::npos);
  EXPECT_EQ(std::filesystem::file_size(path), 17u * 1024 * 1024);
}

const TBudgetRow* RowOf(const TBudgetMonth& month, const std::string& key) {
  for (const TBudgetRow& row : month.rows) {
    if (row.key == key) return &row;
  }
  return nullptr;
}

class BudgetMonthTest : public test::TPassbookFolderTest {
 protected:
  void SetUp() override {
    TPassbookFolderTest::SetUp();
    CurrentProfile().SetClosingDay(25);
    CurrentProfile().SetEndsNextMonth(false);
  }
  static void Pay(TDayNumber day, const std::string& category, int32_t amount) {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(category, MakeKey("現金", kKindAsset), "", "", amount);
  }
};

TEST_F(BudgetMonthTest, ActualFollowsTheMonthClosingOnThe25th) {
  Pay(EncodeDate(2024, 3, 25), kFood, 1'000);  // March's
  Pay(EncodeDate(2024, 3, 26), kFood, 2'000);
  Pay(EncodeDate(2024, 4, 25), kFood, 39'500);
  Pay(EncodeDate(2024, 4, 26), kFood, 7'000);  // May's
  Pay(EncodeDate(2024, 4, 1), kTravel, 900);
  CurrentMonthData().SelectDay(EncodeDate(2024, 4, 10));
  CurrentMonthData().AddEntry(kSalary, MakeKey("銀行", kKindAsset), "", "", 240'000);
  TBudgets budgets;
  budgets.Set(kFood, 202404, 40'000);
  budgets.Set(kSalary, 202404, 250'000);

  const TBudgetMonth april = BudgetMonth(202404, budgets);
  EXPECT_EQ(april.period.first, EncodeDate(2024, 3, 26));
  EXPECT_EQ(april.period.last, EncodeDate(2024, 4, 25));
  const TBudgetRow* food = RowOf(april, kFood);
  ASSERT_NE(food, nullptr);
  EXPECT_EQ(food->actual, 41'500);
  EXPECT_EQ(food->Left(), -1'500);
  EXPECT_TRUE(food->Over());
  const TBudgetRow* travel = RowOf(april, kTravel);
  ASSERT_NE(travel, nullptr);
  EXPECT_EQ(travel->budget, std::nullopt);
  EXPECT_FALSE(travel->Over());
  // Totals count only what has a budget; receipts stand apart.
  EXPECT_EQ(april.spending.budget, 40'000);
  EXPECT_EQ(april.spending.actual, 41'500);
  EXPECT_EQ(april.income.Left(), 10'000);
  // Receipts without a budget are left out; the budgeted one follows the payments.
  EXPECT_EQ(april.rows.back().key, kSalary);

  const TBudgetMonth may = BudgetMonth(202405, budgets);
  ASSERT_NE(RowOf(may, kFood), nullptr);
  EXPECT_EQ(RowOf(may, kFood)->budget, 40'000);
  EXPECT_EQ(RowOf(may, kFood)->actual, 7'000);
}

TEST_F(BudgetMonthTest, AMovedFirstDayMovesWhatCounts) {
  // February settled to end on the 20th: March starts on 21 February.
  THeadList february;
  february.SetFirst(EncodeDate(2024, 1, 26));
  february.SetLast(EncodeDate(2024, 2, 20));
  ASSERT_TRUE(SaveSettlement(202402, february));
  Pay(EncodeDate(2024, 2, 20), kFood, 100);
  Pay(EncodeDate(2024, 2, 21), kFood, 2'000);
  Pay(EncodeDate(2024, 3, 25), kFood, 300);
  TBudgets budgets;
  budgets.Set(kFood, 202401, 5'000);
  const TBudgetMonth march = BudgetMonth(202403, budgets);
  EXPECT_EQ(march.period.first, EncodeDate(2024, 2, 21));
  ASSERT_NE(RowOf(march, kFood), nullptr);
  EXPECT_EQ(RowOf(march, kFood)->actual, 2'300);
  EXPECT_EQ(RowOf(march, kFood)->Left(), 2'700);
  EXPECT_EQ(RowOf(BudgetMonth(202402, budgets), kFood)->actual, 100);
}

TEST_F(BudgetMonthTest, ADeletedCategoryShowsOnlyWhileItsEntriesDo) {
  const std::string gone = MakeKey("旅行", kKindPayment);  // not among the passbook's categories
  ASSERT_EQ(CurrentProfile().Categories().IndexOfKey(gone), -1);
  Pay(EncodeDate(2024, 5, 1), gone, 12'000);
  TBudgets budgets;
  budgets.Set(gone, 202404, 10'000);
  budgets.Set(kFood, 202404, 30'000);

  const TBudgetMonth may = BudgetMonth(202405, budgets);
  ASSERT_NE(RowOf(may, gone), nullptr);
  EXPECT_EQ(RowOf(may, gone)->Left(), -2'000);
  EXPECT_EQ(may.spending.budget, 40'000);

  const TBudgetMonth june = BudgetMonth(202406, budgets);
  EXPECT_EQ(RowOf(june, gone), nullptr);
  EXPECT_EQ(june.spending.budget, 30'000);
  EXPECT_EQ(budgets.BudgetOf(gone, 202406), 10'000);
}

TEST_F(BudgetMonthTest, ProposalsFromLastMonthAndTheYearsAverage) {
  for (int m = 1; m <= 12; ++m) Pay(EncodeDate(2023, m, 10), kFood, 1'000 * m);  // months 202301..202312
  Pay(EncodeDate(2023, 12, 10), kTravel, 7);
  Pay(EncodeDate(2024, 1, 10), kFood, 99'999);  // the month itself does not count
  TBudgets budgets;
  budgets.Set(MakeKey("服飾", kKindPayment), 202301, 3'000);

  const std::vector<TBudgetProposal> last = ProposeFromLastMonth(202401);
  ApplyProposals(budgets, 202401, last);
  EXPECT_EQ(budgets.BudgetOf(kFood, 202401), 12'000);
  EXPECT_EQ(budgets.BudgetOf(kTravel, 202401), 7);
  // Spent nothing: an existing budget becomes 0, a category without one gains none.
  EXPECT_EQ(budgets.BudgetOf(MakeKey("服飾", kKindPayment), 202401), 0);
  EXPECT_EQ(budgets.BudgetOf(MakeKey("娯楽", kKindPayment), 202401), std::nullopt);

  ApplyProposals(budgets, 202401, ProposeFromAverage(202401));
  EXPECT_EQ(budgets.BudgetOf(kFood, 202401), 6'500);  // 78,000 / 12
  EXPECT_EQ(budgets.BudgetOf(kTravel, 202401), 1);    // 7 / 12 rounds up
  EXPECT_EQ(budgets.BudgetOf(kFood, 202312), std::nullopt);
}

TEST(ReadBudgetInput, AmountsAsTheDailyGridReadsThem) {
  const struct {
    const char* text;
    bool ok;
    std::optional<int32_t> amount;
  } cases[] = {
      {"40000", true, 40'000},   {"40,000", true, 40'000}, {"3000*4+500", true, 12'500}, {"0", true, 0},
      {"  ", true, std::nullopt}, {"", true, std::nullopt}, {"-300", true, -300},         {"四万", false, {}},
      {"1.5", false, {}},        {"99999*99999", false, {}}, {"¥1,000", true, 1'000},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::optional<int32_t> amount = 777;
    EXPECT_EQ(ReadBudgetInput(c.text, amount), c.ok);
    EXPECT_EQ(amount, c.ok ? c.amount : std::optional<int32_t>(777));
  }
}

TEST(AddBudgetLines, BudgetAndWhatIsLeftAfterTheEntries) {
  TBudgets budgets;
  budgets.Set(kFood, 202404, 40'000);
  TMonthDetail detail;
  detail.lines.push_back({"4/3 食費", ""});
  AddBudgetLines(detail, budgets, 202405, kFood, 41'500);
  ASSERT_EQ(detail.lines.size(), 3u);
  EXPECT_EQ(detail.lines[1].item, "予算");
  EXPECT_EQ(detail.lines[1].amount, "40,000");
  EXPECT_EQ(detail.lines[2].item, "残り");
  EXPECT_EQ(detail.lines[2].amount, "-1,500");
  AddBudgetLines(detail, budgets, 202403, kFood, 10);  // before the budget was set
  AddBudgetLines(detail, budgets, 202405, kTravel, 10);
  EXPECT_EQ(detail.lines.size(), 3u);
}

using BudgetMonthSample = test::TSamplePassbookTest;

TEST_F(BudgetMonthSample, ActualIsTheMonthViewsTotalForEveryCategory) {
  TBudgets budgets;
  for (TMonthKey month : {199501, 201003, 202412}) {
    SCOPED_TRACE(month);
    TMonthTable table;
    ASSERT_TRUE(table.Load(month));
    const TBudgetMonth budgetMonth = BudgetMonth(month, budgets);
    int compared = 0;
    for (int row = 1; row < table.RowCount(); ++row) {
      const THeadData& category = table.Summary().Items(table.CategoryOfRow(row));
      if (KeyKind(category.key) != kKindPayment) continue;
      const TBudgetRow* budgetRow = RowOf(budgetMonth, category.key);
      ASSERT_NE(budgetRow, nullptr) << KeyName(category.key);
      EXPECT_EQ(FormatThousands(budgetRow->actual), table.TotalText(row)) << KeyName(category.key);
      ++compared;
    }
    EXPECT_GT(compared, 5);
  }
}

}  // namespace
}  // namespace kzm
