#include "statement/StatementReader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "common/TempFolder.h"
#include "statement/StatementSamples.h"

namespace kzm {
namespace {

using test::AsCp932;
using test::AsUtf16Be;
using test::AsUtf16Le;
using test::AsUtf8Bom;

struct TExpectedRow {
  const char* date;
  int32_t amount;
  const char* text;
  const char* id;
};

TEST(StatementReaderTest, ReadsEveryKnownLayoutInItsEncoding) {
  const struct {
    std::string bytes;
    TStatementEncoding encoding;
    const char* layoutStart;
    std::vector<TExpectedRow> rows;
  } cases[] = {
      {AsCp932(test::kBankDiary), TStatementEncoding::seCp932, "銀行（日付・摘要",
       {{"20180109", -1500, "カード ｺﾝﾋﾞﾆ ｻﾝﾌﾟﾙ", ""},
        {"20180125", 250000, "振込 ｷｭｳﾖ ﾃｽﾄｼｬ", ""},
        {"20180127", -20000, "ATM 引出", ""}}},
      {AsCp932(test::kBankEra), TStatementEncoding::seCp932, "銀行（年月日",
       {{"20180115", -3240, "ﾃﾞﾝｷ ｻﾝﾌﾟﾙ", ""}, {"20180120", 1000, "ﾘｿｸ", ""}}},
      {AsUtf8Bom(test::kBankIds), TStatementEncoding::seUtf8Bom, "銀行（取引日・入出金明細ID",
       {{"20180720", -1200, "ﾃﾞﾝﾜﾘｮｳ", "A0001"}, {"20180721", 3000, "ﾌﾘｺﾐ ﾔﾏﾀﾞ", "A0002"}}},
      {AsUtf16Le(test::kBankPlain), TStatementEncoding::seUtf16Le, "銀行（日付・内容",
       {{"20260703", -4321, "ガス代", ""}, {"20260710", 3, "利息", ""}}},
      {AsUtf16Be(test::kBankPlain), TStatementEncoding::seUtf16Be, "銀行（日付・内容",
       {{"20260703", -4321, "ガス代", ""}, {"20260710", 3, "利息", ""}}},
      {test::kBankSigned, TStatementEncoding::seUtf8, "銀行（取引日・入出金・",
       {{"20260728", -880, "デビット　ショップサンプル", ""}, {"20260729", 5000, "振込　テスト", ""}}},
      {AsCp932(test::kCard), TStatementEncoding::seCp932, "カード（利用日",
       {{"20190120", -2980, "サンプル書店", ""}, {"20190122", 980, "サンプル書店", ""}}},
      {test::kCardHeaderless, TStatementEncoding::seUtf8, "カード（見出しなし",
       {{"20261228", -1234, "サンプルスーパー", ""}, {"20270103", -980, "サンプル薬局", ""}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.layoutStart);
    TStatement statement;
    std::string error;
    ASSERT_TRUE(ReadStatementBytes(c.bytes, BuiltInLayouts(), statement, error)) << error;
    EXPECT_EQ(statement.encoding, c.encoding);
    EXPECT_TRUE(statement.layoutName.starts_with(c.layoutStart)) << statement.layoutName;
    ASSERT_EQ(statement.rows.size(), c.rows.size());
    for (size_t i = 0; i < c.rows.size(); ++i) {
      const TStatementRow& row = statement.rows[i];
      SCOPED_TRACE(row.cells);
      EXPECT_TRUE(row.Readable()) << row.problem;
      EXPECT_EQ(FormatDate8(row.date), c.rows[i].date);
      EXPECT_EQ(row.amount, c.rows[i].amount);
      EXPECT_EQ(row.text, c.rows[i].text);
      EXPECT_EQ(row.sourceId, c.rows[i].id);
    }
  }
}

TEST(StatementReaderTest, PreambleAndTotalsArePassedOverButBrokenRowsAreKept) {
  const std::string bytes =
      "日付,摘要,支払い金額,預かり金額,差引残高\n"
      "2018/1/9,パン,100,,900\n"
      "2018/1/10,壊れた金額,12.5円,,\n"
      "2018/1/11,両方,100,200,\n"
      "2018/1/12,なし,,,\n"
      "2018/2/30,日付なし,100,,\n"
      "2018/1/13,ゼロ,0,,\n"
      ",,,,\n"
      "2018/1/14,パン,100,,\n"
      "2018/1/15,パン,100,,\n"
      "2018/1/16,パン,100,,\n"
      "2018/1/17,パン,100,,\n"
      "2018/1/18,パン,100,,\n"
      "合計,,\"1,000\",,\n";
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(bytes, BuiltInLayouts(), statement, error)) << error;
  // Read rows outnumber the broken ones, or the file would be refused as not of this layout.
  ASSERT_EQ(statement.rows.size(), 11u);
  EXPECT_TRUE(statement.rows[0].Readable());
  EXPECT_TRUE(statement.rows[6].Readable());
  EXPECT_EQ(UnbookedReasons(statement.rows),
            "出金の金額を読めません 1, 出金と入金の両方に金額があります 1, 金額がありません 1, 日付を読めません 1, 金額が0円です 1");
  for (size_t i = 1; i < 6; ++i) {
    SCOPED_TRACE(statement.rows[i].cells);
    EXPECT_FALSE(statement.rows[i].Readable());
    EXPECT_EQ(statement.rows[i].line, static_cast<int>(i) + 2);
  }
  EXPECT_EQ(statement.passedOver, 2);  // the header and the total; blank lines are no records
}

TEST(StatementReaderTest, LinesMayEndInALoneCarriageReturn) {
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes("取引日,入出金(円),取引後残高(円),入出金内容\r2026/7/1,-5,0,a\r2026/7/2,-6,0,b\r",
                                 BuiltInLayouts(), statement, error))
      << error;
  ASSERT_EQ(statement.rows.size(), 2u);
  EXPECT_EQ(statement.rows[1].line, 3);
  EXPECT_EQ(statement.rows[1].amount, -6);
}

TEST(StatementReaderTest, QuotedCellsMayHoldLineBreaksAndQuotes) {
  const std::string bytes =
      "取引日,入出金(円),取引後残高(円),入出金内容\n"
      "2026/7/1,\"-1,000\",0,\"二行の\n\"\"摘要\"\"\"\n"
      "2026/7/2,-5,0,次\n";
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(bytes, BuiltInLayouts(), statement, error)) << error;
  ASSERT_EQ(statement.rows.size(), 2u);
  EXPECT_EQ(statement.rows[0].text, "二行の\n\"摘要\"");
  EXPECT_EQ(statement.rows[1].line, 4);
}

TEST(StatementReaderTest, WhatIsNoStatementIsRefused) {
  const struct {
    const char* what;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"png", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "文字のファイルではありません"},
      {"zip", std::string("PK\x03\x04\x14\0\0\0", 8), "文字のファイルではありません"},
      {"empty", "", "明細の形式を認識できません"},
      {"no layout", "名前,値\nりんご,3\n", "明細の形式を認識できません"},
      {"header only", "日付,摘要,支払い金額,預かり金額\n", "ひとつも読めません"},
      {"mixed", test::AsCp932("日付,摘要,支払い金額,預かり金額\n2018/1/9,ＣＰ９３２の行,1,\n") +
                    "2018/1/10,ユーティーエフエイトの行とかなもじ,1,\n2018/1/11,さらにかなもじのぎょう,1,\n",
       "文字コードが混在しています"},
      {"utf16 with a zero", AsUtf16Le("日付,摘要\n") + std::string("\0\0", 2) + AsUtf16Le("x").substr(2),
       "文字コードを判別できません"},
      {"bad cp932", "\x81\x20\x81\x20", "文字コードを判別できません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    TStatement statement;
    std::string error;
    EXPECT_FALSE(ReadStatementBytes(c.bytes, BuiltInLayouts(), statement, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
  }
}

TEST(StatementReaderTest, FilesAreRefusedBeforeTheyAreReadWhenTooLarge) {
  test::TTempFolder temp;
  const std::string path = temp.File("huge.csv");
  test::WriteBytes(path, test::kBankSigned);
  ASSERT_EQ(::truncate(path.c_str(), static_cast<off_t>(kMaxStatementFileSize) + 1), 0);
  TStatement statement;
  std::string error;
  EXPECT_FALSE(ReadStatementFile(path, BuiltInLayouts(), statement, error));
  EXPECT_NE(error.find("大きすぎます"), std::string::npos) << error;
  EXPECT_NE(error.find(path), std::string::npos) << error;
  EXPECT_FALSE(ReadStatementFile(temp.File("missing.csv"), BuiltInLayouts(), statement, error));
  EXPECT_NE(error.find("missing.csv"), std::string::npos) << error;
}

TEST(StatementReaderTest, YearsOfDatelessRowsFollowTheRowsAroundThem) {
  const std::string bytes =
      "利用日,利用店名・商品名,利用金額\n"
      "12/30,年末,100\n"
      "2027/01/02,年始,200\n"
      "01/05,その後,300\n";
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(bytes, BuiltInLayouts(), statement, error)) << error;
  ASSERT_EQ(statement.rows.size(), 3u);
  EXPECT_EQ(FormatDate8(statement.rows[0].date), "20261230");
  EXPECT_TRUE(statement.rows[0].yearInferred);
  EXPECT_EQ(FormatDate8(statement.rows[2].date), "20270105");
}

}  // namespace
}  // namespace kzm
