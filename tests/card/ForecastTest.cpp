#include "card/Forecast.h"

#include <gtest/gtest.h>

#include "calendar/Almanac.h"
#include "card/CardPayment.h"
#include "card/CardSettings.h"
#include "common/PassbookFolderTest.h"
#include "passbook/Categories.h"
#include "recurring/RecurringStore.h"
#include "settlement/AccountingMonth.h"

namespace kzm {
namespace {

TDayNumber D(int y, int m, int d) { return EncodeDate(y, m, d); }

std::string Asset(const char* name) { return MakeKey(name, kKindAsset); }

class ForecastTest : public test::TPassbookFolderTest {
 protected:
  void SetUp() override {
    TPassbookFolderTest::SetUp();
    CurrentProfile().Categories().LoadDefaultCategories();
    ASSERT_TRUE(CurrentProfile().Save());
    std::string error;
    ASSERT_TRUE(recurring.Load(temp.Path(), error)) << error;
    ASSERT_TRUE(cards.Load(temp.Path(), error)) << error;
    cards.Set({"カード", kCardMonthEnd, 10, 1, "銀行"});
  }

  static void Add(TDayNumber day, const std::string& category, const std::string& account, const char* item,
                  int32_t amount) {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(category, account, "", item, amount);
    ASSERT_TRUE(CurrentMonthData().Save());
    // As the daily window does: the month's balances follow its entries.
    THeadList summary;
    ASSERT_TRUE(BuildMonth(MonthOfDay(day), summary));
  }

  // Salary into the bank on the 25th, moved before a closed day; a subscription on the card
  // on the 5th.
  void AddTemplates() {
    TRecurringTemplate salary;
    salary.kind = TRecurringKind::rkReceipt;
    salary.category = "給与";
    salary.account = "銀行";
    salary.item = "給与";
    salary.amount = 250000;
    salary.schedule.day = 25;
    salary.schedule.first = D(2027, 3, 1);
    salary.schedule.shift = TBusinessShift::bsBefore;
    recurring.Add(salary);
    TRecurringTemplate subscription;
    subscription.category = "娯楽";
    subscription.account = "カード";
    subscription.item = "動画";
    subscription.amount = 3000;
    subscription.schedule.day = 5;
    subscription.schedule.first = D(2027, 3, 1);
    recurring.Add(subscription);
  }

  // The balances each day of account, as "mm/dd balance".
  static std::vector<std::string> Days(const TForecast& f, const char* account) {
    std::vector<std::string> lines;
    for (const TAccountForecast& a : f.accounts) {
      if (a.accountKey != Asset(account)) continue;
      for (const TForecastPoint& p : a.days)
        lines.push_back(FormatDate8(p.date).substr(4) + " " + std::to_string(p.balance));
    }
    return lines;
  }
  static const TAccountForecast& Of(const TForecast& f, const char* account) {
    for (const TAccountForecast& a : f.accounts) {
      if (a.accountKey == Asset(account)) return a;
    }
    throw std::runtime_error("no account");
  }

  TBusinessDays days{Almanac().Rules()};
  TRecurringStore recurring;
  TCardStore cards;
};

TEST_F(ForecastTest, SalaryMovedBeforeCardPaidAfterAndTheDayTheBankRunsShort) {
  const TDayNumber today = D(2027, 3, 1);
  Add(D(2027, 2, 25), MakeKey("給与", kKindReceipt), Asset("銀行"), "給与", 50000);
  Add(D(2027, 2, 15), MakeKey("食費", kKindPayment), Asset("カード"), "まとめ買い", 80000);  // paid 3/10
  Add(today, MakeKey("服飾", kKindPayment), Asset("カード"), "コート", 30000);  // the open cycle, paid 4/12
  AddTemplates();

  const TForecast f = PassbookForecast(recurring, cards, today, 3, days);
  EXPECT_TRUE(f.problems.empty()) << f.problems.front();
  EXPECT_EQ(f.last, D(2027, 6, 1));
  EXPECT_EQ(Of(f, "銀行").start, 50000);
  // 4/10 is a Saturday: the card is paid on Monday the 12th. 4/25 is a Sunday: the salary
  // comes on Friday the 23rd. The subscription of April is billed on 5/10.
  EXPECT_EQ(Days(f, "銀行"), (std::vector<std::string>{"0310 -30000", "0325 220000", "0412 187000", "0423 437000",
                                                       "0510 434000", "0525 684000"}));
  EXPECT_EQ(Of(f, "銀行").lowest, -30000);
  EXPECT_EQ(Of(f, "銀行").lowestDate, D(2027, 3, 10));
  EXPECT_EQ(Of(f, "銀行").shortDate, D(2027, 3, 10));
  EXPECT_EQ(Of(f, "カード").start, -110000);
  EXPECT_EQ(Days(f, "カード"), (std::vector<std::string>{"0305 -113000", "0310 -33000", "0405 -36000", "0412 -3000",
                                                         "0505 -6000", "0510 -3000"}));
  EXPECT_EQ(Of(f, "カード").lowestDate, D(2027, 3, 5));
  EXPECT_EQ(Of(f, "カード").shortDate, 0);  // a card owes from the first purchase: no shortage
  EXPECT_TRUE(Days(f, "現金").empty());
  EXPECT_EQ(Of(f, "現金").lowestDate, today);
  EXPECT_EQ(Of(f, "現金").shortDate, 0);
}

TEST_F(ForecastTest, ACardWhoseAccountWasDeletedIsReportedNotPaidFromAnother) {
  cards.Set({"カード", kCardMonthEnd, 10, 1, "旧銀行"});
  Add(D(2027, 2, 15), MakeKey("食費", kKindPayment), Asset("カード"), "まとめ買い", 80000);
  TRecurringTemplate rent;
  rent.category = "住居･光熱";
  rent.account = "旧銀行";
  rent.item = "家賃";
  rent.amount = 80000;
  rent.schedule.day = 27;
  rent.schedule.first = D(2027, 3, 1);
  rent.schedule.count = 1;
  recurring.Add(rent);
  const TForecast f = PassbookForecast(recurring, cards, D(2027, 3, 1), 3, days);
  ASSERT_EQ(f.problems.size(), 2u);
  EXPECT_NE(f.problems[0].find("旧銀行"), std::string::npos) << f.problems[0];  // the card
  EXPECT_NE(f.problems[1].find("家賃"), std::string::npos) << f.problems[1];
  for (const TAccountForecast& a : f.accounts) EXPECT_TRUE(a.days.empty()) << KeyName(a.accountKey);
}

TEST_F(ForecastTest, AnEnteredBillIsNoLongerForeseenAndCannotBeEnteredTwice) {
  Add(D(2027, 2, 15), MakeKey("食費", kKindPayment), Asset("カード"), "まとめ買い", 80000);
  const TCardSettings& card = *cards.Find("カード");
  auto february = [&] {
    TCardMovements m;
    EXPECT_TRUE(CollectCardMovements(CurrentMonthData(), card, 0, 0, m));
    return CardCycles(card, m, 202702, 202702, days).at(0);
  };
  const TCardCycle cycle = february();
  ASSERT_FALSE(cycle.entered);
  std::string message;
  ASSERT_TRUE(EnterCardPayment(card, cycle, CurrentMonthData(), message)) << message;
  ASSERT_EQ(windows.notices.size(), 1u);
  EXPECT_EQ(windows.notices[0].first, D(2027, 3, 10));
  // Read back from the month file, not from memory.
  (void)CurrentMonthData().SetFolder(Daily());
  const TCardCycle paid = february();
  EXPECT_TRUE(paid.entered);
  EXPECT_EQ(paid.paidOn, D(2027, 3, 10));
  EXPECT_FALSE(EnterCardPayment(card, paid, CurrentMonthData(), message));
  const TForecast f = PassbookForecast(recurring, cards, D(2027, 3, 1), 3, days);
  // The move typed for 3/10 is in the passbook: it comes once, as the entry it is.
  EXPECT_EQ(Days(f, "銀行"), (std::vector<std::string>{"0310 -80000"}));
}

// From a day before the first accounting month, the balances start from the first month's
// opening balances, not from nothing.
TEST_F(ForecastTest, BeforeTheFirstMonthTheOpeningBalancesCount) {
  THeadList march;
  (void)LoadMonthPeriod(202703, march);
  march.Merge(CurrentProfile().Categories());
  for (int i = 0; i < march.Count(); ++i) {
    if (march.Items(i).key == Asset("銀行")) march.Items(i).balance = 600000;
    if (march.Items(i).key == Asset("現金")) march.Items(i).balance = 20000;
  }
  ASSERT_TRUE(SaveSettlement(202703, march));
  Add(D(2027, 3, 2), MakeKey("住居･光熱", kKindPayment), Asset("銀行"), "家賃", 82000);
  // A day before the first month, not summarised: March still opens with 20,000 in cash.
  CurrentMonthData().SelectDay(D(2027, 2, 24));
  CurrentMonthData().AddEntry(MakeKey("食費", kKindPayment), Asset("現金"), "", "パン", 1000);
  ASSERT_TRUE(CurrentMonthData().Save());
  const TForecast f = PassbookForecast(recurring, cards, D(2027, 2, 20), 1, days);
  EXPECT_EQ(Of(f, "銀行").start, 600000);
  EXPECT_EQ(Of(f, "現金").start, 21000);
  EXPECT_EQ(Days(f, "銀行"), (std::vector<std::string>{"0302 518000"}));
  EXPECT_EQ(Days(f, "現金"), (std::vector<std::string>{"0224 20000"}));
  EXPECT_EQ(Of(f, "銀行").shortDate, 0);
}

// Recurring entries due in the weeks before today and not entered are named, as an unpaid
// card bill is, and left out of the forecast; older ones are history.
TEST_F(ForecastTest, OverdueRecurringEntriesAreNamedAndLeftOut) {
  TRecurringTemplate rent;  // 1/27, then 2/26: the 27th is a Saturday
  rent.category = "住居･光熱";
  rent.account = "銀行";
  rent.item = "家賃";
  rent.amount = 80000;
  rent.schedule.day = 27;
  rent.schedule.first = D(2027, 1, 1);
  rent.schedule.shift = TBusinessShift::bsBefore;
  recurring.Add(rent);
  TRecurringTemplate lunch;
  lunch.category = "食費";
  lunch.account = "現金";
  lunch.item = "昼食";
  lunch.amount = 800;
  lunch.schedule.repeat = TRepeat::rpDays;
  lunch.schedule.first = D(2027, 2, 20);
  lunch.schedule.until = D(2027, 2, 28);
  recurring.Add(lunch);
  const TForecast f = PassbookForecast(recurring, cards, D(2027, 3, 1), 1, days);
  EXPECT_EQ(f.problems,
            (std::vector<std::string>{
                "定期的な記入「昼食」の2027/02/20～2027/02/28の9回分が記入されていません。見込みに入れていません。",
                "定期的な記入「家賃」の2027/02/26の分 80,000円が記入されていません。見込みに入れていません。"}));
  EXPECT_EQ(Days(f, "銀行"), (std::vector<std::string>{"0326 -80000"}));
  EXPECT_TRUE(Days(f, "現金").empty());
}

// The chart's balance axis: lines on round amounts, no more than a step of room beyond the
// balances (a lowest balance of −106,512 beside six million once put the bottom at −4,000,000).
TEST(BalanceAxisTest, EndsOnLinesWithAtMostAStepOfRoom) {
  const struct {
    int64_t low, high;
    double bottom, top, step;
  } cases[] = {
      {-106512, 6600000, -2000000, 8000000, 2000000},
      {0, 100000, 0, 120000, 20000},          // a top on a line gets room above it
      {-40000, 0, -50000, 10000, 10000},       // so does a bottom below zero
      {-35000, -12000, -40000, -10000, 5000},  // all below zero
      {5000, 5000, 5000, 6200, 200},           // one balance throughout
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.low << " .. " << c.high);
    const TBalanceAxis axis = BalanceAxis(c.low, c.high);
    EXPECT_EQ(axis.step, c.step);
    EXPECT_EQ(axis.bottom, c.bottom);
    EXPECT_EQ(axis.top, c.top);
  }
}

}  // namespace
}  // namespace kzm
