#include "statement/StatementPresets.h"

#include <gtest/gtest.h>

#include "common/TempFolder.h"
#include "statement/StatementImport.h"
#include "statement/StatementReader.h"

namespace kzm {
namespace {

TEST(StatementPresetsTest, ColumnMappingsAreReadOrRefused) {
  const struct {
    const char* mapping;
    bool ok;
  } cases[] = {
      {"date=1,text=2,out=3,in=4", true}, {"date=2, amount=5, card, skip=1", true},
      {"date=1,text=2,out=3", false},     {"text=2,amount=3", false},
      {"date=0,amount=3", false},         {"date=1,amount=3,colour=2", false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mapping);
    TStatementLayout layout;
    std::string error;
    EXPECT_EQ(ParseColumnMapping("X", c.mapping, layout, error), c.ok) << error;
    if (!c.ok) {
      EXPECT_FALSE(error.empty());
    }
  }
}

TEST(StatementPresetsTest, APresetReadsAFileNoBuiltInLayoutKnows) {
  test::TTempFolder temp;
  TStatementLayout layout;
  std::string error;
  ASSERT_TRUE(ParseColumnMapping("信用金庫", "date=2,text=4,amount=3,id=1,header=番号|年月日", layout, error)) << error;
  TStatementPresets presets;
  presets.Load(temp.Path());
  presets.SetAccount("信用金庫", "ゆうちょ");
  presets.StorePreset(layout);
  presets.SetAccount("カード（利用日・利用店名・商品名・利用金額）", "カード");
  ASSERT_TRUE(presets.Save(error)) << error;

  TStatementPresets read;
  read.Load(temp.Path());
  EXPECT_EQ(read.Account("信用金庫"), "ゆうちょ");
  EXPECT_EQ(read.Account("カード（利用日・利用店名・商品名・利用金額）"), "カード");
  EXPECT_EQ(read.Presets().size(), 1u);  // the card's section only remembers an account
  std::vector<TStatementLayout> layouts;
  ASSERT_TRUE(LayoutsFor(read, "信用金庫", layouts, error)) << error;
  const std::string bytes = "信用金庫 明細\n番号,年月日,金額,摘要\n7,R6.1.5,-300,手数料\n8,R6.1.6,\"1,000\",入金\n";
  TStatement statement;
  ASSERT_TRUE(ReadStatementBytes(bytes, layouts, statement, error)) << error;
  ASSERT_EQ(statement.rows.size(), 2u);
  EXPECT_EQ(statement.rows[0].sourceId, "7");
  EXPECT_EQ(statement.rows[1].amount, 1000);
  EXPECT_EQ(FormatDate8(statement.rows[1].date), "20240106");
  EXPECT_FALSE(ReadStatementBytes(bytes, BuiltInLayouts(), statement, error));
  EXPECT_FALSE(LayoutsFor(read, "ない", layouts, error));
}

}  // namespace
}  // namespace kzm
