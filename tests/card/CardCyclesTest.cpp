#include "card/CardCycles.h"

#include <gtest/gtest.h>

#include "calendar/Almanac.h"
#include "passbook/Categories.h"
#include "passbook/MonthEntry.h"

namespace kzm {
namespace {

TDayNumber D(int y, int m, int d) { return EncodeDate(y, m, d); }

TCardSettings Card(int closing, int payment, int months) { return {"カード", closing, payment, months, "銀行"}; }

class CardCyclesTest : public ::testing::Test {
 protected:
  std::vector<TCardCycle> Cycles(const TCardSettings& card, TMonthKey from, TMonthKey to) {
    return CardCycles(card, movements, from, to, days);
  }
  void Use(TDayNumber date, int64_t amount) { movements.uses.push_back({date, amount}); }
  void Pay(TDayNumber date, int64_t amount) { movements.paid.push_back({date, amount}); }

  TBusinessDays days{Almanac().Rules()};
  TCardMovements movements;
};

TEST_F(CardCyclesTest, PeriodsAndPaymentDates) {
  struct TCase {
    const char* what;
    TCardSettings card;
    TMonthKey closing;
    TDayNumber first, last, payment;
  } cases[] = {
      {"月末 in a leap February", Card(kCardMonthEnd, 27, 1), 202802, D(2028, 2, 1), D(2028, 2, 29), D(2028, 3, 27)},
      {"月末 in an ordinary February", Card(kCardMonthEnd, 27, 1), 202702, D(2027, 2, 1), D(2027, 2, 28),
       D(2027, 3, 29)},
      {"the 15th, paid 翌々月", Card(15, 10, 2), 202701, D(2026, 12, 16), D(2027, 1, 15), D(2027, 3, 10)},
      {"a payment day on 建国記念の日", Card(15, 11, 1), 202701, D(2026, 12, 16), D(2027, 1, 15), D(2027, 2, 12)},
      {"a payment on 12/31 waits for the banks' new year", Card(20, kCardMonthEnd, 1), 202711, D(2027, 10, 21),
       D(2027, 11, 20), D(2028, 1, 4)},
      {"翌々月 across the year", Card(kCardMonthEnd, 10, 2), 202711, D(2027, 11, 1), D(2027, 11, 30), D(2028, 1, 11)},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    const std::vector<TCardCycle> cycles = Cycles(c.card, c.closing, c.closing);
    ASSERT_EQ(cycles.size(), 1u);
    EXPECT_EQ(cycles[0].first, c.first);
    EXPECT_EQ(cycles[0].last, c.last);
    EXPECT_EQ(cycles[0].paymentDate, c.payment);
    EXPECT_EQ(CycleMonthOfDay(c.card, c.last), c.closing);
    EXPECT_EQ(CycleMonthOfDay(c.card, c.first), c.closing);
  }
}

TEST_F(CardCyclesTest, TheClosingDayBelongsToTheCycleItCloses) {
  Use(D(2028, 2, 29), 1000);  // 月末 of a leap February
  Use(D(2028, 3, 1), 20);
  Use(D(2028, 1, 31), 300);
  const std::vector<TCardCycle> cycles = Cycles(Card(kCardMonthEnd, 27, 1), 202801, 202803);
  ASSERT_EQ(cycles.size(), 3u);
  EXPECT_EQ(cycles[0].billed, 300);
  EXPECT_EQ(cycles[1].billed, 1000);
  EXPECT_EQ(cycles[2].billed, 20);
}

TEST_F(CardCyclesTest, ARefundLargerThanThePurchasesIsTakenOffTheNextBills) {
  Use(D(2027, 1, 5), 2000);
  Use(D(2027, 1, 10), -9000);  // a returned purchase of the month before
  Use(D(2027, 2, 3), 4000);
  Use(D(2027, 3, 3), 6000);
  const std::vector<TCardCycle> cycles = Cycles(Card(kCardMonthEnd, 27, 1), 202701, 202703);
  ASSERT_EQ(cycles.size(), 3u);
  EXPECT_EQ(cycles[0].spent, -7000);
  EXPECT_EQ(cycles[0].billed, 0);
  EXPECT_TRUE(cycles[0].entered);  // nothing to pay, nothing to enter
  EXPECT_EQ(cycles[1].billed, 0);  // 4,000 of the 7,000 credit
  EXPECT_EQ(cycles[2].billed, 3000);
  EXPECT_FALSE(cycles[2].entered);
  // Asked from March alone, the credit of January still counts.
  EXPECT_EQ(Cycles(Card(kCardMonthEnd, 27, 1), 202703, 202703).at(0).billed, 3000);
}

TEST_F(CardCyclesTest, APaymentOnOrNearItsDateForTheAmountIsEntered) {
  const TCardSettings card = Card(15, 10, 1);
  Use(D(2027, 1, 10), 5000);  // paid 2027/02/10 (Wed)
  Use(D(2027, 2, 10), 7000);  // paid 2027/03/10 (Wed)
  Use(D(2027, 3, 10), 8000);  // paid 2027/04/12: the 10th is a Saturday
  Use(D(2027, 4, 10), 9000);  // paid 2027/05/10
  Pay(D(2027, 2, 9), 5000);   // by hand, a day early
  Pay(D(2027, 3, 10), 6999);  // not the amount billed: money put on the card, off March's bill
  Pay(D(2027, 4, 12), 1001);
  Pay(D(2027, 4, 12), 1001);  // the same again pays no other bill, it lowers April's
  Pay(D(2027, 5, 25), 7999);  // too late to be this bill's payment
  const std::vector<TCardCycle> cycles = Cycles(card, 202701, 202704);
  ASSERT_EQ(cycles.size(), 4u);
  EXPECT_TRUE(cycles[0].entered);
  EXPECT_EQ(cycles[0].paidOn, D(2027, 2, 9));
  EXPECT_FALSE(cycles[1].entered);
  EXPECT_EQ(cycles[2].billed, 1001);
  EXPECT_TRUE(cycles[2].entered);
  EXPECT_EQ(cycles[2].paymentDate, D(2027, 4, 12));
  EXPECT_EQ(cycles[3].billed, 7999);
  EXPECT_FALSE(cycles[3].entered);
}

// A bill is what the card owes at its closing day: money put on the card lowers the bill of
// the period it falls in, unless it is an earlier bill's own payment.
TEST(CardBillTest, MovesIntoTheCardThatPayNoBillLowerTheBill) {
  TBusinessDays days{Almanac().Rules()};
  // Closing the 15th, paid the 10th of the next month: 2/10, 3/10, 4/12 and 5/10.
  const std::vector<TCardMoney> purchases = {
      {D(2027, 1, 10), 5000}, {D(2027, 2, 1), 4000}, {D(2027, 3, 1), 1000}, {D(2027, 4, 1), 6000}};
  struct TCase {
    const char* what;
    TCardSettings card;
    std::vector<TCardMoney> more;  // uses beyond the purchases
    std::vector<TCardMoney> paid;
    TDayNumber since;
    std::vector<int64_t> billed;
    std::vector<bool> entered;
  } cases[] = {
      {"purchases alone", Card(15, 10, 1), {}, {}, 0, {5000, 4000, 1000, 6000}, {false, false, false, false}},
      {"cash put on the card at an ATM", Card(15, 10, 1), {{D(2027, 1, 12), -2000}}, {}, 0,
       {3000, 4000, 1000, 6000}, {false, false, false, false}},
      {"a move from the bank that pays no bill", Card(15, 10, 1), {}, {{D(2027, 2, 3), 1000}}, 0,
       {5000, 3000, 1000, 6000}, {false, false, false, false}},
      {"bills paid on their days lower no other bill", Card(15, 10, 1), {},
       {{D(2027, 2, 10), 5000}, {D(2027, 3, 10), 4000}}, 0, {5000, 4000, 1000, 6000}, {true, true, false, false}},
      {"more put on than spent is taken off the next bills", Card(15, 10, 1), {{D(2027, 3, 5), -3000}},
       {{D(2027, 3, 10), 4000}}, 0, {5000, 4000, 0, 4000}, {false, true, true, false}},
      // Closing at the month's end, paid on the 1st: a move before the close lowers the bill
      // and cannot pay it too.
      {"a move before the close", Card(kCardMonthEnd, 1, 1), {}, {{D(2027, 1, 30), 2500}}, 0,
       {2500, 4000, 1000, 6000}, {false, false, false, false}},
      // Gathered from 1/16 on: a move up to 2/17 may pay the January bill, which is not known.
      {"moves soon after the days gathered", Card(15, 10, 1), {},
       {{D(2027, 2, 9), 777}, {D(2027, 2, 20), 300}}, D(2027, 1, 16), {5000, 4000, 700, 6000},
       {false, false, false, false}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.what);
    TCardMovements movements;
    movements.uses = purchases;
    movements.uses.insert(movements.uses.end(), c.more.begin(), c.more.end());
    movements.paid = c.paid;
    movements.since = c.since;
    const std::vector<TCardCycle> cycles = CardCycles(c.card, movements, 202701, 202704, days);
    ASSERT_EQ(cycles.size(), 4u);
    for (size_t i = 0; i < cycles.size(); ++i) {
      SCOPED_TRACE(cycles[i].closingMonth);
      EXPECT_EQ(cycles[i].billed, c.billed[i]);
      EXPECT_EQ(cycles[i].entered, c.entered[i]);
    }
  }
}

// The state a person reads: an open cycle is 締め前 even when it already looks paid.
TEST_F(CardCyclesTest, TheStateOfACycleOnADay) {
  const TCardSettings card = Card(15, 10, 1);
  Use(D(2027, 1, 10), 5000);
  Pay(D(2027, 2, 10), 5000);
  Use(D(2027, 2, 10), 7000);
  const std::vector<TCardCycle> cycles = Cycles(card, 202701, 202704);
  ASSERT_EQ(cycles.size(), 4u);
  EXPECT_EQ(CycleStateText(cycles[0], D(2027, 5, 1)), "済 (2027/02/10)");
  EXPECT_EQ(CycleStateText(cycles[1], D(2027, 5, 1)), "未");
  EXPECT_EQ(CycleStateText(cycles[2], D(2027, 5, 1)), "支払なし");
  EXPECT_EQ(CycleStateText(cycles[2], D(2027, 3, 15)), "締め前");
  EXPECT_EQ(CycleStateText(cycles[0], D(2027, 1, 15)), "締め前");
}

TEST(CardEntryTest, WhatCountsAsUseAndWhatAsPayment) {
  const TCardSettings card{"カード", 15, 10, 1, "銀行"};
  const std::string cardKey = MakeKey("カード", kKindAsset);
  auto entry = [](std::string category, std::string account, int32_t amount) {
    TkzmEntry e;
    e.date = EncodeDate(2027, 1, 5);
    e.categoryKey = std::move(category);
    e.accountKey = std::move(account);
    e.amount = amount;
    return e;
  };
  TCardMovements m;
  AddCardEntry(card, entry(MakeKey("食費", kKindPayment), cardKey, 1000), m);      // a purchase
  AddCardEntry(card, entry(MakeKey("給与", kKindReceipt), cardKey, 300), m);       // a refund
  AddCardEntry(card, entry(MakeKey("電子マネー", kKindAsset), cardKey, 5000), m);  // a charge
  AddCardEntry(card, entry(cardKey, MakeKey("銀行", kKindAsset), 7000), m);        // the bill paid
  AddCardEntry(card, entry(cardKey, MakeKey("現金", kKindAsset), 100), m);         // put on at an ATM
  AddCardEntry(card, entry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), 50), m);  // not the card
  ASSERT_EQ(m.uses.size(), 4u);
  EXPECT_EQ(m.uses[3].amount, -100);
  EXPECT_EQ(m.uses[0].amount + m.uses[1].amount + m.uses[2].amount, 5700);
  ASSERT_EQ(m.paid.size(), 1u);
  EXPECT_EQ(m.paid[0].amount, 7000);
}

}  // namespace
}  // namespace kzm
