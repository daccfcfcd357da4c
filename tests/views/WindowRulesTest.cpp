#include "views/WindowRules.h"

#include <gtest/gtest.h>

#include "foundation/Dates.h"

namespace kzm {
namespace {

using K = TDataWindowKind;

const TDayNumber kMar1 = EncodeDate(2024, 3, 1);
const TDayNumber kMar5 = EncodeDate(2024, 3, 5);
const TDayNumber kMar10 = EncodeDate(2024, 3, 10);
const TDayNumber kMar20 = EncodeDate(2024, 3, 20);

struct TRuleCase {
  const char* what;
  std::vector<TDataWindow> windows;
  TWindowRuleAnswer expected;
};

void ExpectAnswer(const TWindowRuleAnswer& answer, const TWindowRuleAnswer& expected) {
  EXPECT_EQ(answer.allowed, expected.allowed);
  EXPECT_EQ(answer.message, expected.message);
  EXPECT_EQ(answer.window, expected.window);
}

TEST(WindowRules, DailyWindow) {
  const TWindowRuleAnswer sameDay{false, "同じ日の入力ウィンドウが開いています", 1};
  const TRuleCase cases[] = {
      {"nothing open", {{K::dwOther}}, {}},
      {"another day", {{K::dwOther}, {K::dwDaily, kMar1}}, {}},
      {"same day", {{K::dwOther}, {K::dwDaily, kMar5}}, sameDay},
      {"memo holding the day",
       {{K::dwMonthly, kMar1, kMar20}, {K::dwMemo, kMar1, kMar5}},
       {false, "日付の重なる月めもウィンドウが開いています", 1}},
      {"memo ending the day before", {{K::dwMemo, kMar1, kMar5 - 1}}, {}},
      {"the first conflict wins",
       {{K::dwMemo, kMar5, kMar10}, {K::dwDaily, kMar5}},
       {false, "日付の重なる月めもウィンドウが開いています", 0}},
  };
  for (const TRuleCase& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectAnswer(CanOpenDailyWindow(c.windows, -1, kMar5), c.expected);
  }
  // A daily window loading a day asks about itself too; only the others count.
  const std::vector<TDataWindow> one{{K::dwDaily, kMar5}};
  EXPECT_TRUE(CanOpenDailyWindow(one, 0, kMar5).allowed);
}

TEST(WindowRules, MonthMemo) {
  const TRuleCase cases[] = {
      {"nothing open", {}, {}},
      {"daily window inside", {{K::dwOther}, {K::dwDaily, kMar5}}, {false, "重なる日付の入力ウィンドウを閉じてください", 1}},
      {"daily window outside", {{K::dwDaily, kMar10 + 1}}, {}},
      {"memo sharing a day", {{K::dwMemo, kMar10, kMar20}}, {false, "メモの期間が重なっています", 0}},
      {"memo after", {{K::dwMemo, kMar10 + 1, kMar20}}, {}},
      {"monthly view", {{K::dwMonthly, kMar1, kMar20}}, {}},
  };
  for (const TRuleCase& c : cases) {
    SCOPED_TRACE(c.what);
    ExpectAnswer(CanOpenMonthMemo(c.windows, kMar1, kMar10), c.expected);
  }
}

TEST(WindowRules, ReplacementWaitsForDailyWindows) {
  ExpectAnswer(NoDailyWindowOpen({{K::dwMonthly, kMar1, kMar20}, {K::dwSearch}}), {});
  ExpectAnswer(NoDailyWindowOpen({{K::dwMonthly, kMar1, kMar20}, {K::dwDaily, kMar5}, {K::dwDaily, kMar1}}),
               {false, "入力中のウィンドウを閉じてください。", 1});
}

TEST(WindowRules, ClosingAndShowingMonths) {
  const std::vector<TDataWindow> windows{{K::dwOther},           {K::dwMonthly, kMar1, kMar10}, {K::dwChart},
                                         {K::dwDaily, kMar5},    {K::dwMonthly, kMar5, kMar20}, {K::dwOther},
                                         {K::dwSearch},          {K::dwMemo, kMar1, kMar1}};
  EXPECT_EQ(DataWindowsToClose(windows), (std::vector<int>{1, 2, 3, 4, 6, 7}));
  EXPECT_EQ(MonthlyViewsShowing(windows, kMar5), (std::vector<int>{1, 4}));
  EXPECT_EQ(MonthlyViewsShowing(windows, kMar20), (std::vector<int>{4}));
  EXPECT_TRUE(MonthlyViewsShowing(windows, kMar20 + 1).empty());
}

}  // namespace
}  // namespace kzm
