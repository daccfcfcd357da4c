#include "report/YearReport.h"

#include <gtest/gtest.h>

#include "common/PassbookFolderTest.h"
#include "common/SamplePassbook.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "report/YearChart.h"

namespace kzm {
namespace {

class YearMonthsTest : public test::TPassbookFolderTest {
 protected:
  static std::vector<TMonthKey> Keys(TMonthKey from, TMonthKey to) {
    std::vector<TMonthKey> keys;
    for (TMonthKey key = from; key <= to; key = NextMonthKey(key)) keys.push_back(key);
    return keys;
  }
};

TEST_F(YearMonthsTest, TheMonthsWhosePeriodsEndInTheYear) {
  CurrentProfile().SetClosingDay(25);
  CurrentProfile().SetEndsNextMonth(false);
  EXPECT_EQ(YearMonths(2024), Keys(202401, 202412));
  THeadList period;
  LoadMonthPeriod(202401, period);
  EXPECT_EQ(period.First(), EncodeDate(2023, 12, 26));

  CurrentProfile().SetEndsNextMonth(true);  // month 12 runs 26 December to 25 January
  EXPECT_EQ(YearMonths(2024), Keys(202312, 202411));

  CurrentProfile().SetEndsNextMonth(false);
  CurrentProfile().SetClosingDay(31);
  EXPECT_EQ(YearMonths(2024), Keys(202401, 202412));
}

TEST_F(YearMonthsTest, ASettlementCarriesItsMonthAcrossTheYearsEnd) {
  CurrentProfile().SetClosingDay(25);
  CurrentProfile().SetEndsNextMonth(false);
  THeadList december;
  december.SetFirst(EncodeDate(2024, 11, 26));
  december.SetLast(EncodeDate(2025, 1, 5));  // paid late: December's month ends in January
  ASSERT_TRUE(SaveSettlement(202412, december));
  EXPECT_EQ(YearMonths(2024), Keys(202401, 202411));
  EXPECT_EQ(YearMonths(2025), Keys(202412, 202512));
}

THeadList SummaryOf(TDayNumber first, TDayNumber last, const std::vector<std::pair<std::string, int32_t>>& totals) {
  THeadList summary;
  summary.SetFirst(first);
  summary.SetLast(last);
  for (const auto& [key, total] : totals) summary.Items(summary.AddKey(key)).total = total;
  return summary;
}

TEST(YearReportCsv, BytesOfTheExport) {
  const std::string food = MakeKey("食費", kKindPayment);
  const std::string odd = MakeKey("-返品,値引", kKindPayment);
  const std::string pay = MakeKey("給与", kKindReceipt);
  const std::string cash = MakeKey("現金", kKindAsset);
  const std::string bank = MakeKey("=銀行", kKindAsset);
  const std::vector<THeadList> summaries{
      SummaryOf(EncodeDate(2023, 12, 26), EncodeDate(2024, 1, 25),
                {{food, 1'000}, {pay, 5'000}, {cash, 700}, {MakeKey("支出合計", kKindPaymentTotal), 1'000}}),
      SummaryOf(EncodeDate(2024, 1, 26), EncodeDate(2024, 2, 25), {{food, 2'001}, {odd, -300}, {pay, 0}, {bank, -20}}),
  };
  const TYearReport report = YearReportOf(2024, {202401, 202402}, summaries);
  EXPECT_EQ(report.spending, (std::vector<int64_t>{1'000, 1'701}));
  std::string expected;
  ASSERT_TRUE(EncodeCp932("項目,2024年1月,2024年2月,合計,平均\r\n"
                          "食費,1000,2001,3001,1501\r\n"
                          "給与,5000,0,5000,2500\r\n"
                          "\"'-返品,値引\",0,-300,-300,-150\r\n"
                          "収入,5000,0,5000,2500\r\n"
                          "支出,1000,1701,2701,1351\r\n"
                          "差額,4000,-1701,2299,1150\r\n"
                          "現金残高,700,,,\r\n"
                          "'=銀行残高,,-20,,\r\n",
                          expected));
  EXPECT_EQ(YearReportCsv(report), expected);

  test::TTempFolder temp;
  std::string error;
  ASSERT_TRUE(WriteYearReportCsv(temp.File("year.csv"), report, error)) << error;
  EXPECT_EQ(test::ReadBytes(temp.File("year.csv")), expected);
  EXPECT_FALSE(WriteYearReportCsv(temp.File("no/such/folder.csv"), report, error));
  EXPECT_NE(error.find("保存できませんでした"), std::string::npos);
}

TEST(RoundedAverage, HalvesGoAwayFromZero) {
  EXPECT_EQ(RoundedAverage(6, 12), 1);
  EXPECT_EQ(RoundedAverage(5, 12), 0);
  EXPECT_EQ(RoundedAverage(-6, 12), -1);
  EXPECT_EQ(RoundedAverage(-5, 12), 0);
  EXPECT_EQ(RoundedAverage(78'000, 12), 6'500);
}

// The chart against the year before: the largest month of either year fills the height.
TEST(YearChartScale, BarsStandAsTheirShareOfTheLargestMonth) {
  const TYearChartScale scale = YearChartScale({100, 400, -50}, {800, 200});
  EXPECT_EQ(scale.top, 800);
  EXPECT_EQ(scale.BarHeight(800, 160), 160);
  EXPECT_EQ(scale.BarHeight(400, 160), 80);
  EXPECT_EQ(scale.BarHeight(100, 160), 20);
  EXPECT_EQ(scale.BarHeight(-50, 160), 0);
  // A year of nothing (or of refunds only) draws no bars rather than dividing by zero.
  const TYearChartScale empty = YearChartScale({0, -300}, {});
  EXPECT_EQ(empty.top, 1);
  EXPECT_EQ(empty.BarHeight(0, 160), 0);
  EXPECT_EQ(empty.BarHeight(-300, 160), 0);
}

using YearReportSample = test::TSamplePassbookTest;

TEST_F(YearReportSample, SumsAreTheMonthsOwnTotals) {
  bool saved = false;
  const TYearReport report = YearReport(2024, &saved);
  EXPECT_TRUE(saved);
  ASSERT_EQ(report.months.size(), 12u);
  for (size_t m = 0; m < report.months.size(); ++m) {
    SCOPED_TRACE(report.months[m]);
    THeadList summary;
    BuildMonth(report.months[m], summary);
    EXPECT_EQ(report.periods[m].first, summary.First());
    const auto totalOfKind = [&summary](int kind) { return summary.NthOfKind(kind, 0)->total; };
    EXPECT_EQ(report.income[m], totalOfKind(kKindReceiptTotal));
    EXPECT_EQ(report.spending[m], totalOfKind(kKindPaymentTotal));
    EXPECT_GT(report.spending[m], 0);
    for (const TYearRow& row : report.categories) {
      EXPECT_EQ(row.amounts[m], summary.Items(summary.IndexOfKey(row.key)).total) << KeyName(row.key);
    }
    for (const TYearBalanceRow& row : report.assets) {
      EXPECT_EQ(row.balances[m], summary.Items(summary.IndexOfKey(row.key)).total) << KeyName(row.key);
    }
  }
  // A month-end balance is the next month's opening one.
  ASSERT_FALSE(report.assets.empty());
  THeadList next;
  BuildMonth(202501, next);
  const TYearBalanceRow& cash = report.assets.front();
  EXPECT_EQ(cash.balances.back(), next.Items(next.IndexOfKey(cash.key)).balance);
  // The lines' totals and averages are those of the months.
  const std::vector<TYearLine> lines = YearReportLines(report);
  const TYearLine& spending = lines[report.categories.size() + 1];
  ASSERT_EQ(spending.label, "支出");
  int64_t sum = 0;
  for (int64_t value : report.spending) sum += value;
  EXPECT_EQ(spending.values[12], sum);
  EXPECT_EQ(sum, 4'398'866);
  EXPECT_EQ(spending.values[13], 366'572);  // 366,572.17
  EXPECT_EQ(YearSeries(report, ""), report.spending);
}

}  // namespace
}  // namespace kzm
