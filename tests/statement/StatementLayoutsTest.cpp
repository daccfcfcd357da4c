// The layouts people download, each read from a sample of our own making: every row's date,
// signed amount and text; and the files the headerless card layout must leave alone.

#include <gtest/gtest.h>

#include "statement/LayoutSamples.h"
#include "statement/StatementBalance.h"
#include "statement/StatementReader.h"
#include "statement/StatementSamples.h"

namespace kzm {
namespace {

struct TExpectedRow {
  const char* date;
  int32_t amount;
  const char* text;
  const char* id = "";
};

struct TLayoutCase {
  const char* what;
  std::string bytes;
  const char* layoutStart;
  std::vector<TExpectedRow> rows;
};

void ExpectRows(const TStatement& statement, const std::vector<TExpectedRow>& rows) {
  ASSERT_EQ(statement.rows.size(), rows.size());
  for (size_t i = 0; i < rows.size(); ++i) {
    const TStatementRow& row = statement.rows[i];
    SCOPED_TRACE(row.cells);
    EXPECT_TRUE(row.Readable()) << row.problem;
    EXPECT_EQ(FormatDate8(row.date), rows[i].date);
    EXPECT_EQ(row.amount, rows[i].amount);
    EXPECT_EQ(row.text, rows[i].text);
    EXPECT_EQ(row.sourceId, rows[i].id);
  }
}

void ExpectLayouts(const std::vector<TLayoutCase>& cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TStatement statement;
    std::string error;
    ASSERT_TRUE(ReadStatementBytes(c.bytes, BuiltInLayouts(), statement, error)) << error;
    EXPECT_TRUE(statement.layoutName.starts_with(c.layoutStart)) << statement.layoutName;
    ExpectRows(statement, c.rows);
  }
}

// A card statement whose header follows a summary of twenty lines.
std::string AfterSummary(int summaryLines) {
  std::string bytes;
  for (int i = 1; i <= summaryLines; ++i) bytes += "ご請求明細のご案内" + std::to_string(i) + ",\r\n";
  return bytes + "利用日,利用店名,利用者区分,支払区分,利用金額,今回ご請求額\r\n"
                 "2026/07/15,サンプル電器,本人,1回,\"9,800\",\"9,800\"\r\n";
}

TEST(StatementLayoutsTest, BanksWithTheirSignsAndTexts) {
  ExpectLayouts({
      {"two text columns", test::AsCp932(test::kBankTwoTexts), "銀行（日付・摘要",
       {{"20260701", -3210, "口座振替 トウキヨウトスイドウ"},
        {"20260701", -4000, "口座振替 サンプルデンワ"},
        {"20260710", 200000, "振込 ｻﾝﾌﾟﾙｼﾖｳｼﾞ"}}},
      {"withdraw, deposit, then the text", test::AsCp932(test::kBankWithdrawDeposit), "銀行（年月日・お引出し",
       {{"20260701", 250000, "ｷﾕｳﾖ ｻﾝﾌﾟﾙｼﾔ"}, {"20260702", -10000, "ATM"}, {"20260705", -1980, "ﾃﾞﾋﾞﾂﾄ ｻﾝﾌﾟﾙ"}}},
      {"お引出金額 and お預入金額", test::AsCp932(test::kBankMizuhoStyle), "銀行（日付・お引出金額",
       {{"20260703", -5000, "ｶ-ﾄﾞ"}, {"20260704", 123, "ﾘｿｸ"}}},
      {"two detail columns and ids", test::AsCp932(test::kBankTwoDetails), "銀行（取引日・入出金明細ID",
       {{"20260705", -5000, "カード ｻﾝﾌﾟﾙｽﾄｱ", "0000123"}, {"20260706", 10000, "振込 ﾔﾏﾀﾞ ﾊﾅｺ", "0000124"}}},
      {"plain amount names", test::AsUtf8Bom(test::kBankPlainNames), "銀行（取引日・摘要・出金金額",
       {{"20260701", 30000, "振込 サンプル商事"}, {"20260702", -5000, "ATM"}}},
      {"the date over three columns", test::AsCp932(test::kBankSplitDate), "銀行（操作日",
       {{"20260701", 10000, "ﾌﾘｺﾐ ｻﾝﾌﾟﾙ"}, {"20260702", -1200, "ﾃﾞﾋﾞﾂﾄ"}}},
      {"dates without a year", test::AsCp932(test::kBankYearless), "銀行（取扱日付",
       {{"20261230", -10000, "ATM"}, {"20270104", 5000, "振込"}}},
  });
}

// Read without a preset, each side from its column's name; the preview gets the same columns
// by number to correct.
TEST(StatementLayoutsTest, BanksReadByTheNamesOfTheirColumns) {
  ExpectLayouts({
      {"お支払金額 and お預り金額", test::AsCp932(test::kBankNamedPlain), "銀行（列の名前から",
       {{"20260801", 180000, "ｷﾕｳﾖ ｻﾝﾌﾟﾙｼﾔ"}, {"20260803", -6480, "ﾃﾞﾝｷﾀﾞｲ"}}},
      {"the cousins, with units", test::AsUtf8Bom(test::kBankNamedCousins), "銀行（列の名前から",
       {{"20260805", -20000, "ATM ｻﾝﾌﾟﾙｴｷ"}, {"20260806", 1500, "ﾌﾘｺﾐ ﾐﾎﾝ"}}},
      {"no balance column", test::AsCp932(test::kBankNamedNoBalance), "銀行（列の名前から",
       {{"20260807", -980, "ｶｰﾄﾞ ｻﾝﾌﾟﾙ"}, {"20260808", 12, "ﾘｿｸ"}}},
  });
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(std::string("照会日,2026/08/31\r\n") + test::kBankNamedCousins, BuiltInLayouts(),
                                 statement, error));
  EXPECT_TRUE(statement.foundByNames);
  EXPECT_EQ(statement.mapping.out.index, 3);
  ASSERT_TRUE(ReadStatementBytes(test::kBankPlainNames, BuiltInLayouts(), statement, error));
  EXPECT_FALSE(statement.foundByNames);

  // The sides are only guessed from the words: a balance that says otherwise refuses the file.
  EXPECT_FALSE(ReadStatementBytes("日付,摘要,お支払金額,お預り金額,残高\n2026/8/1,a,100,,1100\n2026/8/2,b,200,,1300\n"
                                  "2026/8/3,c,300,,1600\n",
                                  BuiltInLayouts(), statement, error));
  EXPECT_NE(error.find("金額と残高の動きが合いません"), std::string::npos) << error;
}

TEST(StatementLayoutsTest, CardsWithRefundsAndCancellations) {
  ExpectLayouts({
      {"利用店名・商品", test::AsCp932(test::kCardProductColumn), "カード（利用日・利用店名・商品・",
       {{"20260701", -1650, "サンプル書店"}, {"20260703", 550, "サンプル書店"}}},
      {"ご利用先など after a preamble", test::AsCp932(test::kCardGoRiyou), "カード（ご利用日・ご利用先など",
       {{"20260702", -3300, "サンプルマート"}, {"20260704", 300, "サンプルマート"}}},
      {"a long amount name", test::AsCp932(test::kCardPlace), "カード（ご利用年月日・ご利用場所",
       {{"20260708", -12000, "サンプル百貨店"}}},
      {"cancellations", test::AsUtf8Bom(test::kCardCancel), "カード（利用日／キャンセル日",
       {{"20260709", -480, "サンプルカフェ"}, {"20260710", 480, "サンプルカフェ"}}},
      {"refunds in a column", test::AsCp932(test::kCardRefundColumn), "カード（ご利用年月日・ご利用箇所",
       {{"20260711", -2310, "サンプル駅　きっぷ"}, {"20260712", 2310, "サンプル駅　きっぷ"}}},
      {"header on line 21", test::AsCp932(AfterSummary(20)), "カード（利用日・利用店名・利用金額",
       {{"20260715", -9800, "サンプル電器"}}},
  });
}

// Card files whose issuers have no layout of their own: the column sets other cards use
// read them, the summary lines before the header (with dates and amounts) are passed over.
TEST(StatementLayoutsTest, CardsTheSharedColumnSetsRead) {
  ExpectLayouts({
      {"a summary block first", test::AsCp932(test::kCardSummaryFirst), "カード（ご利用日・ご利用店名・ご利用金額",
       {{"20260705", -4600, "サンプル薬局"}, {"20260706", 750, "サンプル薬局"}}},
      {"header on line 21 after dated summary lines", test::AsCp932(test::CardHeaderOnLine21()),
       "カード（利用日・利用店名・利用金額",
       {{"20260712", -1980, "サンプル書房"}, {"20260720", -8800, "サンプル交通"}}},
      {"the older form", test::AsCp932(test::kCardOlderForm), "カード（ご利用年月日・ご利用場所",
       {{"20260703", -15800, "サンプル家電"}, {"20260709", 2000, "サンプル家電"}}},
      {"the newer form", test::AsUtf8Bom(test::kCardNewerForm), "カード（利用日・利用店名・商品名",
       {{"20260703", -15800, "サンプル家電"}, {"20260709", 2000, "サンプル家電"}}},
  });
}

TEST(StatementLayoutsTest, PrepaidCardsAndApps) {
  SetTodayForTest(EncodeDate(2027, 1, 5));
  ExpectLayouts({
      {"sign from 利用区分", test::AsCp932(test::kPrepaidKinds), "電子マネー",
       {{"20260701", -1080, "サンプルスーパー"},
        {"20260701", 3000, "サンプルスーパー"},
        {"20260702", 2000, "サンプル駅売店"},
        {"20260703", 540, "サンプルスーパー"},
        {"20260704", 500, "サンプル端末"}}},
      {"payment app", test::AsUtf8Bom(test::kPaymentApp), "決済アプリ",
       {{"20260701", -500, "サンプルカフェ 支払い", "P0001"}, {"20260702", 3000, "サンプル銀行 チャージ", "P0002"}}},
  });

  // A gate passed without a fare is a record, not a fault, and is not booked.
  TStatement transit;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(test::AsCp932(test::kTransitCard), BuiltInLayouts(), transit, error)) << error;
  EXPECT_TRUE(transit.layoutName.starts_with("交通系IC")) << transit.layoutName;
  ASSERT_EQ(transit.rows.size(), 4u);
  EXPECT_EQ(FormatDate8(transit.rows[0].date), "20261229");
  EXPECT_EQ(transit.rows[0].amount, -200);
  EXPECT_EQ(transit.rows[0].text, "入 サンプル");
  EXPECT_EQ(transit.rows[1].amount, 3000);
  EXPECT_TRUE(transit.rows[2].noMoney);
  EXPECT_FALSE(transit.rows[2].Readable());
  EXPECT_EQ(FormatDate8(transit.rows[3].date), "20270102");
  EXPECT_EQ(transit.rows[3].amount, -150);
  EXPECT_EQ(UnbookedReasons(transit.rows), "0円の記録 1");

  // Rows in another currency are counted with the reason, never booked as yen.
  TStatement service;
  ASSERT_TRUE(ReadStatementBytes(test::kPaymentService, BuiltInLayouts(), service, error)) << error;
  ASSERT_EQ(service.rows.size(), 3u);
  EXPECT_EQ(service.rows[0].amount, -1500);
  EXPECT_EQ(service.rows[0].sourceId, "TX0001");
  EXPECT_NE(service.rows[1].problem.find("円以外の通貨です（USD）"), std::string::npos) << service.rows[1].problem;
  EXPECT_EQ(service.rows[2].amount, 500);
  SetTodayForTest(0);
}

// Newest first, a ride's text from its stations, a charge a move from the account it came from.
TEST(StatementLayoutsTest, TransitHistoriesWithRidesAndCharges) {
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(test::AsCp932(test::kTransitHistory), BuiltInLayouts(), statement, error)) << error;
  EXPECT_TRUE(statement.layoutName.starts_with("交通系IC（利用年月日")) << statement.layoutName;
  EXPECT_TRUE(statement.balanceWarning.empty()) << statement.balanceWarning;
  ASSERT_EQ(statement.rows.size(), 6u);
  statement.rows.pop_back();
  ExpectRows(statement, {{"20260705", -210, "ミホン→タメシ"},
                         {"20260705", 3000, "ｵｰﾄﾁｬｰｼﾞ"},
                         {"20260704", -450, "物販"},
                         {"20260703", 1000, "ﾁｬｰｼﾞ"},
                         {"20260702", -178, "タメシ→ミホン"}});
  const char* const moves[] = {"", "カード", "", "現金", ""};
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(statement.rows[i].moveAccount, moves[i]) << i;
  EXPECT_TRUE(BalanceFit(statement.rows).newestFirst);
  TClosingBalance closing;
  ASSERT_TRUE(ClosingBalance(statement.rows, closing));
  EXPECT_EQ(closing.balance, 4340);
}

// Charges are moves from the account チャージ区分 names, points taken onto the card move no
// money, a balance carried over from another card is a move; the garbled first cell is the date.
TEST(StatementLayoutsTest, ElectronicMoneyKindsAndChargeSources) {
  for (const std::string& bytes : {test::AsCp932(test::kPrepaidChargeSources), test::AsUtf8Bom(test::kPrepaidChargeSources)}) {
    TStatement statement;
    std::string error;
    ASSERT_TRUE(ReadStatementBytes(bytes, BuiltInLayouts(), statement, error)) << error;
    EXPECT_TRUE(statement.layoutName.starts_with("電子マネー")) << statement.layoutName;
    ASSERT_EQ(statement.rows.size(), 6u);
    EXPECT_TRUE(statement.rows[4].noMoney);
    EXPECT_EQ(UnbookedReasons(statement.rows), "お金の動きなし 1");
    statement.rows.erase(statement.rows.begin() + 4);
    ExpectRows(statement, {{"20260801", 5000, "サンプル銀行"},
                           {"20260801", -2310, "サンプルマート"},
                           {"20260802", 300, "サンプルポイント"},
                           {"20260803", 1000, "サンプル駅"},
                           {"20260805", 1200, "旧カード"}});
    const char* const moves[] = {"銀行", "", "ポイント", "現金", "電子マネー"};
    for (size_t i = 0; i < 5; ++i) EXPECT_EQ(statement.rows[i].moveAccount, moves[i]) << i;
  }
}

// The card funding a payment is a move from the card, so the purchase counts once; a refund
// stays a refund.
TEST(StatementLayoutsTest, APaymentFundedByACard) {
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(test::AsUtf8Bom(test::kPaymentServiceFunded), BuiltInLayouts(), statement, error))
      << error;
  ExpectRows(statement, {{"20260810", -2400, "サンプル雑貨", "TX1001"},
                         {"20260810", 2400, "クレジットカードによる一般の入金", "TX1002"},
                         {"20260812", 800, "サンプル雑貨", "TX1003"}});
  EXPECT_EQ(statement.rows[0].moveAccount, "");
  EXPECT_EQ(statement.rows[1].moveAccount, "カード");
  EXPECT_EQ(statement.rows[2].moveAccount, "");
}

TEST(StatementLayoutsTest, AKindNotListedIsCountedNotGuessed) {
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(std::string(test::kPrepaidKinds) + "2026/07/05,サンプル,100円,ポイント精算,,0\r\n",
                                 BuiltInLayouts(), statement, error))
      << error;
  ASSERT_EQ(statement.rows.size(), 6u);
  EXPECT_EQ(statement.rows[5].problem, "入金か出金かわかりません（ポイント精算）");
  EXPECT_EQ(UnbookedReasons(statement.rows), "入金か出金かわかりません 1");
}

// Files with a header that the card layout without one once claimed: read by number, a
// salary became spending and withdrawals vanished.
TEST(StatementLayoutsTest, TheHeaderlessLayoutLeavesFilesWithAHeaderAlone) {
  const TStatementLayout& headerless = BuiltInLayouts().back();
  ASSERT_TRUE(headerless.signature.empty());
  const char* const withHeaders[] = {test::kBankWithdrawDeposit, test::kBankPlainNames, test::kPrepaidKinds};
  for (const char* bytes : withHeaders) {
    SCOPED_TRACE(bytes);
    TStatement statement;
    std::string error;
    EXPECT_FALSE(ReadStatementBytes(bytes, {headerless}, statement, error));
    EXPECT_TRUE(statement.layoutUnknown);
    EXPECT_TRUE(ReadStatementBytes(bytes, BuiltInLayouts(), statement, error)) << error;
    EXPECT_NE(statement.layoutName, headerless.name);
  }
  // Its own files, which begin with the holder's line, it still reads.
  TStatement statement;
  std::string error;
  EXPECT_TRUE(ReadStatementBytes(test::kCardHeaderless, {headerless}, statement, error)) << error;
}

// The summary lines are stepped over, key and value alike, and the header's names are read.
TEST(StatementLayoutsTest, ACardBillWithASummaryBlockFirst) {
  ExpectLayouts({{"summary block", test::AsCp932(test::kCardSummaryBlock), "カード（列の名前から",
                  {{"20260105", -2345, "サンプル商店"}, {"20260110", -10000, "サンプル電力"}}}});
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(test::kCardSummaryBlock, BuiltInLayouts(), statement, error));
  EXPECT_EQ(statement.mapping.signed_.index, 4);
  EXPECT_TRUE(statement.mapping.spendingPositive);
  EXPECT_EQ(statement.mapping.skipLines, 8);
}

// Known by the shape of its rows; the amount used is booked, not this month's instalment.
TEST(StatementLayoutsTest, ACardFileOfRowsOnly) {
  ExpectLayouts({{"rows only", test::AsCp932(test::kCardRowsOnly), "カード（見出しなし：利用日・利用店名・利用者",
                  {{"20260703", -6210, "サンプルガス 料金"}, {"20260709", -30000, "サンプル家具"}, {"20260712", 880, "サンプル書店"}}}});
  // Without the shape (no billing month) the rows are not taken for such a file.
  TStatement statement;
  std::string error;
  const TStatementLayout& shaped = BuiltInLayouts()[BuiltInLayouts().size() - 2];
  EXPECT_FALSE(ReadStatementBytes("2026/7/3,サンプル,ご本人,1回払い,,,6210,6210\r\n", {shaped}, statement, error));
  EXPECT_FALSE(ReadStatementBytes(test::kCardHeaderless, {shaped}, statement, error));
}

TEST(StatementLayoutsTest, TheHeaderIsSearchedForOverSixtyLines) {
  TStatement statement;
  std::string error;
  const std::string header = "利用日,利用店名,利用者区分,支払区分,利用金額,今回ご請求額\r\n";
  EXPECT_TRUE(ReadStatementBytes(AfterSummary(kHeaderSearchLines - 1), BuiltInLayouts(), statement, error)) << error;
  EXPECT_EQ(statement.rows.size(), 1u);
  EXPECT_FALSE(ReadStatementBytes(AfterSummary(kHeaderSearchLines), BuiltInLayouts(), statement, error));
  EXPECT_TRUE(statement.layoutUnknown);
  EXPECT_EQ(kHeaderSearchLines, 60);
}

TEST(StatementLayoutsTest, RowsThatDisagreeWithTheLayoutAreRefused) {
  const struct {
    const char* what;
    const char* bytes;
    const char* message;
  } cases[] = {
      {"most amounts unreadable",
       "日付,摘要,支払い金額,預かり金額\n2026/7/1,a,100,\n2026/7/2,b,ｶｰﾄﾞ,\n2026/7/3,c,ATM,\n",
       "半分以上が読めません（3行のうち2行）"},
      // Deposits read as withdrawals from a signed column: the balance rises with each.
      {"signed amounts against the balance",
       "取引日,入出金(円),入出金内容,取引後残高\n2026/7/1,-100,a,1100\n2026/7/2,-200,b,1300\n2026/7/3,-300,c,1600\n",
       "金額と残高の動きが合いません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TStatement statement;
    std::string error;
    EXPECT_FALSE(ReadStatementBytes(c.bytes, BuiltInLayouts(), statement, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
  // Newest first, the balances follow all the same.
  TStatement statement;
  std::string error;
  EXPECT_TRUE(ReadStatementBytes("日付,摘要,支払い金額,預かり金額,差引残高\n2026/7/3,c,300,,400\n2026/7/2,b,200,,700\n"
                                 "2026/7/1,a,,1000,900\n",
                                 BuiltInLayouts(), statement, error))
      << error;
  EXPECT_TRUE(BalanceFit(statement.rows).newestFirst);
}

// Out and in in columns of their own say the side themselves: a balance column that does not
// follow them (a filtered export, an invented sample) is told, and the rows read as given.
TEST(StatementLayoutsTest, OwnSideColumnsAreReadWhateverTheBalanceSays) {
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes("日付,摘要,支払い金額,預かり金額,差引残高\n2026/7/1,a,100,,1100\n2026/7/2,b,200,,1300\n"
                                 "2026/7/3,c,300,,1600\n",
                                 BuiltInLayouts(), statement, error))
      << error;
  ASSERT_EQ(statement.rows.size(), 3u);
  EXPECT_EQ(statement.rows[0].amount, -100);
  EXPECT_EQ(statement.rows[2].amount, -300);
  EXPECT_NE(statement.balanceWarning.find("金額と残高の動きが合いません（2組のうち0組だけが合います）"), std::string::npos)
      << statement.balanceWarning;
  ASSERT_TRUE(ReadStatementBytes(test::AsCp932(test::kBankTwoTexts), BuiltInLayouts(), statement, error));
  EXPECT_EQ(statement.balanceWarning, "");
}

TEST(StatementLayoutsTest, TheStatementsClosingBalanceAgainstThePassbooks) {
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(test::AsCp932(test::kBankWithdrawDeposit), BuiltInLayouts(), statement, error));
  TClosingBalance closing;
  ASSERT_TRUE(ClosingBalance(statement.rows, closing));
  EXPECT_EQ(FormatDate8(closing.day), "20260705");
  EXPECT_EQ(closing.balance, 298020);
  EXPECT_EQ(BalanceCheckText(298020, closing), "残高が一致しています: 298,020 (2026/07/05)");
  EXPECT_EQ(BalanceCheckText(298019, closing), "残高が一致しません: 帳簿 298,019 / 明細 298,020 (差 1)");
  EXPECT_EQ(BalanceCheckText(298021, closing), "残高が一致しません: 帳簿 298,021 / 明細 298,020 (差 1)");

  // Newest first: the first row of the last day closes.
  ASSERT_TRUE(ReadStatementBytes("日付,摘要,支払い金額,預かり金額,差引残高\n2026/7/3,c,300,,400\n2026/7/3,b,200,,700\n"
                                 "2026/7/1,a,,1000,900\n",
                                 BuiltInLayouts(), statement, error));
  ASSERT_TRUE(ClosingBalance(statement.rows, closing));
  EXPECT_EQ(closing.balance, 400);
  // A column that holds one figure throughout is not filled in.
  ASSERT_TRUE(ReadStatementBytes("日付,摘要,支払い金額,預かり金額,差引残高\n2026/7/1,a,300,,0\n2026/7/2,b,200,,0\n",
                                 BuiltInLayouts(), statement, error));
  EXPECT_FALSE(ClosingBalance(statement.rows, closing));
}

}  // namespace
}  // namespace kzm
