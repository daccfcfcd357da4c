#include <gtest/gtest.h>

#include "statement/StatementReader.h"

#include "foundation/Dates.h"
#include "statement/StatementAmounts.h"
#include "statement/StatementDates.h"
#include "statement/WidthFold.h"

namespace kzm {
namespace {

TEST(StatementDatesTest, ReadsEveryFormStatementsUse) {
  const struct {
    const char* text;
    const char* expected;  // yyyymmdd, "" for no date
  } cases[] = {
      {"2018/1/9", "20180109"},        {"2019/01/20", "20190120"},     {"20180720", "20180720"},
      {"H30.01.15", "20180115"},       {"h30/1/15", "20180115"},       {"R6.1.5", "20240105"},
      {"令和6年1月5日", "20240105"},   {"令和元年5月1日", "20190501"}, {"平成31年4月30日", "20190430"},
      {"昭和64年1月7日", "19890107"},  {"2026年7月3日", "20260703"},   {"2026.07.28", "20260728"},
      {"2026-07-28", "20260728"},      {"２０２６／０７／２８", "20260728"}, {"18/01/09", "20180109"},
      {"2018/01/09 12:34", "20180109"}, {" 2018/1/9 ", "20180109"},
      {"2018/2/30", ""},               {"2018/13/1", ""},              {"1/2/3/4", ""},
      {"合計", ""},                    {"", ""},                       {"2018/1/9x", ""},
      {"H30..1", ""},                  {"1026年7月3日", ""},          {"明治30年1月1日", ""},
      {"2200/1/1", ""},                {"1900/1/1", "19000101"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const TStatementDate date = ReadStatementDate(c.text);
    EXPECT_FALSE(date.yearMissing);
    EXPECT_EQ(date.day == 0 ? "" : FormatDate8(date.day), c.expected);
  }
}

TEST(StatementDatesTest, MonthAndDayWithoutYear) {
  for (const char* text : {"4月30日", "04/30", "4/30", "４月３０日"}) {
    SCOPED_TRACE(text);
    const TStatementDate date = ReadStatementDate(text);
    EXPECT_TRUE(date.yearMissing);
    EXPECT_EQ(date.day, 0);
    EXPECT_EQ(date.month, 4);
    EXPECT_EQ(date.dayOfMonth, 30);
  }
  EXPECT_FALSE(ReadStatementDate("4月31日").yearMissing);
  EXPECT_TRUE(ReadStatementDate("2/29").yearMissing);  // a leap day; the year decides later
}

TEST(StatementDatesTest, NearestDateCrossesTheNewYear) {
  const struct {
    int month, day;
    const char* reference;
    const char* expected;
  } cases[] = {
      {12, 28, "20260105", "20251228"},
      {1, 3, "20251230", "20260103"},
      {6, 1, "20260105", "20260601"},
      {2, 29, "20250301", "20240229"},  // 2025 has none, 2024 is nearer than 2026 (none either)
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.reference);
    const TDayNumber got = NearestDate(c.month, c.day, ParseDate(c.reference));
    EXPECT_EQ(FormatDate8(got), c.expected);
  }
}

TEST(StatementDatesTest, ADayWithoutYearIsNeverAfterTheStatementWasMade) {
  const struct {
    int month, day;
    const char* notAfter;
    const char* expected;
  } cases[] = {
      {12, 31, "20270102", "20261231"},
      {1, 1, "20270102", "20270101"},
      {1, 2, "20270102", "20270102"},  // the day itself
      {1, 3, "20270102", "20260103"},  // a day later: last year's
      {4, 30, "20260429", "20250430"},
      {2, 29, "20270301", "20240229"},  // the last leap day before
      {2, 30, "20270301", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.notAfter);
    const TDayNumber got = LatestDateNotAfter(c.month, c.day, ParseDate(c.notAfter));
    EXPECT_EQ(got == 0 ? std::string() : FormatDate8(got), c.expected);
  }
}

TEST(StatementDatesTest, YearlessFilesAroundNewYearTakeTheYearFromTodayOrThePreamble) {
  const std::string rows = "12/31,サンプル年末,100\n1/2,サンプル年始,200\n";
  SetTodayForTest(EncodeDate(2027, 1, 2));
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes("テスト　太郎様,1234\n" + rows, BuiltInLayouts(), statement, error)) << error;
  ASSERT_EQ(statement.rows.size(), 2u);
  EXPECT_EQ(FormatDate8(statement.rows[0].date), "20261231");
  EXPECT_EQ(FormatDate8(statement.rows[1].date), "20270102");
  // Read on the 1st, 2 January is not yet: the statement is a year old.
  SetTodayForTest(EncodeDate(2027, 1, 1));
  ASSERT_TRUE(ReadStatementBytes("テスト　太郎様,1234\n" + rows, BuiltInLayouts(), statement, error)) << error;
  EXPECT_EQ(FormatDate8(statement.rows[0].date), "20251231");
  EXPECT_EQ(FormatDate8(statement.rows[1].date), "20260102");
  // A statement for December read in March keeps its months in December's year.
  SetTodayForTest(EncodeDate(2027, 3, 10));
  ASSERT_TRUE(ReadStatementBytes("テスト　太郎様,2026年12月ご利用分\n12/31,サンプル,100\n", BuiltInLayouts(), statement,
                                 error))
      << error;
  EXPECT_EQ(FormatDate8(statement.rows[0].date), "20261231");
  SetTodayForTest(0);
}

TEST(StatementDatesTest, DateNamedInPreambleLines) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"2026年4月分ご利用明細", "20260401"}, {"ご請求年月 2026/04", "20260401"},
      {"令和8年4月お支払分", "20260401"},    {"対象期間：2026年", "20260101"},
      {"カード番号 1234-5678", ""},          {"会員番号AR5", ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    const TDayNumber got = DateNamedInText(c.text);
    EXPECT_EQ(got == 0 ? "" : FormatDate8(got), c.expected);
  }
}

TEST(StatementAmountsTest, ReadsStatementAmounts) {
  const struct {
    const char* text;
    TAmountRead read;
    int32_t value;
  } cases[] = {
      {"1,234", TAmountRead::arValue, 1234},        {"-1,234", TAmountRead::arValue, -1234},
      {"＋１，２３４", TAmountRead::arValue, 1234}, {"¥1,234", TAmountRead::arValue, 1234},
      {"￥1,234", TAmountRead::arValue, 1234},      {"\\1,234", TAmountRead::arValue, 1234},
      {"1,234円", TAmountRead::arValue, 1234},      {"▲1,234", TAmountRead::arValue, -1234},
      {"△500", TAmountRead::arValue, -500},         {"－３００", TAmountRead::arValue, -300},
      {"1234.00", TAmountRead::arValue, 1234},      {"1,000-", TAmountRead::arValue, -1000},
      {" 0 ", TAmountRead::arValue, 0},              {"2147483647", TAmountRead::arValue, 2147483647},
      {"", TAmountRead::arEmpty, 0},                 {"  ", TAmountRead::arEmpty, 0},
      {"-", TAmountRead::arEmpty, 0},                {"12.5", TAmountRead::arBad, 0},
      {"1,,000", TAmountRead::arBad, 0},             {",100", TAmountRead::arBad, 0},
      {"2147483648", TAmountRead::arBad, 0},         {"99999999999999999999", TAmountRead::arBad, 0},
      {"abc", TAmountRead::arBad, 0},                {"--5", TAmountRead::arBad, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    int32_t value = 0;
    EXPECT_EQ(ReadStatementAmount(c.text, value), c.read);
    if (c.read == TAmountRead::arValue) {
      EXPECT_EQ(value, c.value);
    }
  }
}

TEST(WidthFoldTest, FoldsWhatStatementsMix) {
  const struct {
    const char* text;
    const char* expected;
  } cases[] = {
      {"ＡＴＭ　ｾﾌﾞﾝ", "ATM セブン"},   {"ﾊﾟﾝ ﾔ", "パン ヤ"},  {"ｳﾞｨ", "ヴィ"},
      {"ｱﾞ", "ア\xE3\x82\x99"},           {"ﾞｶ", "\xE3\x82\x99カ"}, {"￥１００", "¥100"},
      {"  振込\t\t ﾀﾅｶ　 ", "振込 タナカ"}, {"ﾃｽﾄ｡｢ｶｯｺ｣", "テスト。「カッコ」"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(NormaliseStatementText(c.text), c.expected);
  }
  EXPECT_EQ(FoldWidth("a\xFF" "b"), "a\xFF" "b");  // broken bytes pass through untouched
}

}  // namespace
}  // namespace kzm
