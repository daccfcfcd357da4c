// Moving in from other household-ledger services: exports of our own making in the two
// layouts, with transfers, two levels of categories and categories the passbook lacks.

#include "statement/LedgerExport.h"

#include <gtest/gtest.h>

#include "passbook/Categories.h"
#include "statement/StatementSamples.h"

namespace kzm {
namespace {

const char* const kSignedExport =
    "\"計算対象\",\"日付\",\"内容\",\"金額（円）\",\"保有金融機関\",\"大項目\",\"中項目\",\"メモ\",\"振替\",\"ID\"\r\n"
    "\"1\",\"2026/07/01\",\"サンプルスーパー\",\"-2480\",\"サンプル銀行\",\"食費\",\"食料品\",\"\",\"0\",\"id001\"\r\n"
    "\"1\",\"2026/07/02\",\"サンプル商事\",\"250000\",\"サンプル銀行\",\"収入\",\"給与\",\"\",\"0\",\"id002\"\r\n"
    "\"0\",\"2026/07/03\",\"ATM引き出し\",\"-10000\",\"サンプル銀行\",\"\",\"\",\"\",\"1\",\"id003\"\r\n"
    "\"0\",\"2026/07/04\",\"除いた支出\",\"-500\",\"財布\",\"日用品\",\"\",\"\",\"0\",\"id005\"\r\n"
    "\"1\",\"2026/07/05\",\"サンプル書店\",\"-1200\",\"財布\",\"教養・教育\",\"書籍\",\"文庫\",\"0\",\"id006\"\r\n"
    "\"0\",\"2026/07/03\",\"ATM引き出し\",\"10000\",\"財布\",\"\",\"\",\"\",\"1\",\"id004\"\r\n"
    "\"0\",\"2026/07/06\",\"片方だけの振替\",\"-3000\",\"サンプル銀行\",\"\",\"\",\"\",\"1\",\"id007\"\r\n";

const char* const kMethodExport =
    "日付,方法,カテゴリ,カテゴリの内訳,支払元,入金先,品目,メモ,お店,通貨,収入,支出,振替,残高調整,通貨変換前の金額,集計の設定\n"
    "2026-07-01,payment,食費,外食,財布,,ランチ,,サンプル食堂,JPY,0,980,0,0,980,\n"
    "2026-07-02,income,給与,,,サンプル銀行,,,,JPY,\"250,000\",0,0,0,,\n"
    "2026-07-03,transfer,-,-,サンプル銀行,財布,,,,JPY,0,0,\"10,000\",0,,\n"
    "2026-07-04,payment,食費,,財布,,,,Sample Cafe,USD,0,5,0,0,,\n";

struct TExpected {
  const char* date;
  int32_t amount;
  const char* category;  // "kind name" of the entry's category
  const char* account;
  const char* text;
  const char* note;
};

std::string Named(const std::string& key) { return KindNames().at(static_cast<size_t>(KeyKind(key))) + " " + KeyName(key); }

void ExpectEntries(const TLedgerExport& ledger, const TLedgerMapping& mapping, const std::vector<TExpected>& expected) {
  std::vector<const TLedgerRow*> readable;
  for (const TLedgerRow& row : ledger.rows) {
    if (row.Readable()) readable.push_back(&row);
  }
  ASSERT_EQ(readable.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE(readable[i]->line);
    const TkzmEntry entry = EntryForLedgerRow(*readable[i], mapping);
    EXPECT_EQ(FormatDate8(entry.date), expected[i].date);
    EXPECT_EQ(entry.amount, expected[i].amount);
    EXPECT_EQ(Named(entry.categoryKey), expected[i].category);
    EXPECT_EQ(Named(entry.accountKey), expected[i].account);
    EXPECT_EQ(entry.itemText, expected[i].text);
    EXPECT_EQ(entry.note, expected[i].note);
  }
}

std::vector<std::string> Problems(const TLedgerExport& ledger) {
  std::vector<std::string> problems;
  for (const TLedgerRow& row : ledger.rows) {
    if (!row.Readable()) problems.push_back(std::to_string(row.line) + ": " + row.problem);
  }
  return problems;
}

TEST(LedgerExportTest, SignedAmountsWithTransfersPairedAndCategoriesMapped) {
  TLedgerExport ledger;
  std::string error;
  ASSERT_TRUE(ReadLedgerExport(test::AsCp932(kSignedExport), ledger, error)) << error;
  EXPECT_EQ(ledger.formatName, "家計簿（計算対象・大項目・中項目・振替）");
  TLedgerMapping mapping;
  mapping.Choose(kKindReceipt, "収入", "給与", "給料");
  mapping.Choose(kKindPayment, "教養・教育", "", "書籍費");
  ExpectEntries(ledger, mapping,
                {{"20260701", 2480, "支出 食費", "資産 サンプル銀行", "サンプルスーパー", "食料品"},
                 {"20260702", 250000, "収入 給料", "資産 サンプル銀行", "サンプル商事", "給与"},
                 {"20260703", 10000, "資産 財布", "資産 サンプル銀行", "ATM引き出し", ""},
                 {"20260705", 1200, "支出 書籍費", "資産 財布", "サンプル書店", "書籍 文庫"}});
  EXPECT_EQ(Problems(ledger), (std::vector<std::string>{"5: 計算対象外の行です", "8: 振替の相手の行がありません"}));
  EXPECT_EQ(ledger.rows[0].sourceId, "id001");
}

TEST(LedgerExportTest, MethodColumnsWithTransfersAndOtherCurrencies) {
  TLedgerExport ledger;
  std::string error;
  ASSERT_TRUE(ReadLedgerExport(test::AsUtf8Bom(kMethodExport), ledger, error)) << error;
  EXPECT_EQ(ledger.formatName, "家計簿（方法・カテゴリ・支払元・入金先）");
  ExpectEntries(ledger, TLedgerMapping(),
                {{"20260701", 980, "支出 食費", "資産 財布", "サンプル食堂 ランチ", "外食"},
                 {"20260702", 250000, "収入 給与", "資産 サンプル銀行", "", ""},
                 {"20260703", 10000, "資産 財布", "資産 サンプル銀行", "", ""}});
  EXPECT_EQ(Problems(ledger), (std::vector<std::string>{"5: 円以外の通貨です（USD）"}));
}

TEST(LedgerExportTest, CategoriesThePassbookLacksAreListedOnce) {
  TLedgerExport ledger;
  std::string error;
  ASSERT_TRUE(ReadLedgerExport(kMethodExport, ledger, error)) << error;
  THeadList categories;
  categories.AddKey(MakeKey("食費", kKindPayment));
  categories.AddKey(MakeKey("サンプル銀行", kKindAsset));
  std::vector<TkzmEntry> entries;
  for (const TLedgerRow& row : ledger.rows) {
    if (row.Readable()) entries.push_back(EntryForLedgerRow(row, TLedgerMapping()));
  }
  EXPECT_EQ(MissingCategories(entries, categories),
            (std::vector<std::string>{MakeKey("財布", kKindAsset), MakeKey("給与", kKindReceipt)}));
}

TEST(LedgerExportTest, WhatIsNoExportIsRefused) {
  TLedgerExport ledger;
  std::string error;
  EXPECT_FALSE(ReadLedgerExport(test::kBankSigned, ledger, error));
  EXPECT_NE(error.find("認識できません"), std::string::npos) << error;
  EXPECT_FALSE(ReadLedgerExport("日付,方法,カテゴリ,カテゴリの内訳,支払元,入金先,収入,支出,振替\n2026/7/1,gift,a,b,c,d,0,0,0\n",
                                ledger, error));
  EXPECT_NE(error.find("ひとつも読めません"), std::string::npos) << error;
}

}  // namespace
}  // namespace kzm
