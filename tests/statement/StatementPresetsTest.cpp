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
      {"date=1,text=5,amount=3,out=3,in=4", false},  // a signed amount and out/in both
      {"date=1,amount=3,in=4", false},
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

// A preset needs a name of its own: not blank, and not one of a built-in layout in any ASCII
// case (the preset would hide it). The window and --columns both go by this.
TEST(StatementPresetsTest, APresetNeedsANameOfItsOwn) {
  const std::string builtIn = BuiltInLayouts().front().name;
  const std::string cardName = "カード（見出しなし：利用日・利用店名・利用金額）";
  const struct {
    std::string name;
    bool ok;
  } cases[] = {{"", false}, {"  ", false}, {builtIn, false}, {cardName, false}, {"しんきん", true}, {builtIn + "2", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TStatementLayout layout;
    std::string error;
    EXPECT_EQ(ParseColumnMapping(c.name, "date=1,text=2,amount=3", layout, error), c.ok) << error;
    EXPECT_EQ(error.empty(), c.ok);
  }
}

// A preset file that is there but cannot be read is said, and never written over: its
// presets would be lost.
TEST(StatementPresetsTest, AnUnreadableFileIsToldAndNeverWrittenOver) {
  test::TTempFolder temp;
  const std::string path = temp.Path() + "/" + kStatementPresetsFileName;
  const std::string huge = "[信用金庫]\r\n" + std::string(2 * 1024 * 1024, ';');  // beyond what is read
  test::WriteBytes(path, huge);
  TStatementPresets presets;
  presets.Load(temp.Path());
  EXPECT_NE(presets.ReadError().find(path), std::string::npos);
  presets.SetAccount("信用金庫", "ゆうちょ");
  std::string error;
  EXPECT_FALSE(presets.Save(error));
  EXPECT_NE(error.find(path), std::string::npos);
  EXPECT_EQ(test::ReadBytes(path), huge);
}

// Lines of the preset file this program does not read (comments, lines changed by hand or by
// a later version) stay where they were when the file is written again.
TEST(StatementPresetsTest, LinesNotReadStayInTheirPlace) {
  test::TTempFolder temp;
  const std::string path = temp.Path() + "/" + kStatementPresetsFileName;
  const std::string leading = "; \x96\xbe\x8d\xd7\r\n\xff\xfe\r\n";  // "; 明細", then bytes no text has
  const std::string inSection = "; \x83\x81\x83\x82\r\nnot a value\r\n";  // "; メモ"
  test::WriteBytes(path, leading + "[X]\r\n" + inSection + "Account=A\r\n");
  TStatementPresets presets;
  presets.Load(temp.Path());
  EXPECT_EQ(presets.Account("X"), "A");
  presets.SetAccount("X", "B");
  std::string error;
  ASSERT_TRUE(presets.Save(error)) << error;
  EXPECT_EQ(test::ReadBytes(path), leading + "[X]\r\n" + inSection + "Account=B\r\n");
  TStatementLayout layout;
  ASSERT_TRUE(ParseColumnMapping("X", "date=1,text=2,amount=3", layout, error)) << error;
  presets.StorePreset(layout);
  ASSERT_TRUE(presets.Save(error)) << error;
  const std::string stored = test::ReadBytes(path);
  EXPECT_EQ(stored.rfind(leading + "[X]\r\nDate=1\r\n", 0), 0u) << stored;
  EXPECT_NE(stored.find("Account=B\r\n" + inSection), std::string::npos) << stored;
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

TEST(StatementPresetsTest, ChosenColumnsBecomeAMappingThatReadsTheFile) {
  TColumns columns;
  columns.date = 1;
  columns.signed_ = 2;
  columns.text = 3;
  // Cells the preset file could not keep whole are left out of the header.
  const std::vector<std::string> header = {" 番号 ", "年月日", "", "金額,円", "摘要|備考", "残高"};
  const std::string mapping = ColumnMappingText(columns, true, 2, header);
  EXPECT_EQ(mapping, "date=2,text=4,amount=3,card,skip=2,header=番号|年月日|残高");
  TStatementLayout layout;
  std::string error;
  ASSERT_TRUE(ParseColumnMapping("しんきん", mapping, layout, error)) << error;
  EXPECT_EQ(layout.signature, (std::vector<std::string>{"番号", "年月日", "残高"}));
  EXPECT_TRUE(layout.spendingPositive);

  test::TTempFolder temp;
  TStatementPresets presets;
  presets.Load(temp.Path());
  presets.StorePreset(layout);
  ASSERT_TRUE(presets.Save(error)) << error;
  TStatementPresets read;
  read.Load(temp.Path());
  TStatementLayout kept;
  ASSERT_TRUE(read.FindPreset("しんきん", kept));
  EXPECT_EQ(kept.signature, layout.signature);
  EXPECT_EQ(kept.text.index, 3);
  EXPECT_EQ(kept.skipLines, 2);
}

// The guess from column names, corrected (text taken from the memo column) and kept, reads
// the bank's next file without choosing the preset.
TEST(StatementPresetsTest, ACorrectedGuessReadsTheNextFile) {
  const std::string bytes = "日付,メモ,摘要,お支払金額,お預り金額\n2026/8/1,電気代,ﾃﾞﾝｷ,100,\n2026/8/2,給与,ｷﾕｳﾖ,,900\n";
  TStatement statement;
  std::string error;
  ASSERT_TRUE(ReadStatementBytes(bytes, BuiltInLayouts(), statement, error)) << error;
  ASSERT_TRUE(statement.foundByNames);
  TStatementLayout corrected = statement.mapping;
  corrected.name = "ちいき銀行";
  corrected.text.index = 1;
  test::TTempFolder temp;
  TStatementPresets presets;
  presets.Load(temp.Path());
  presets.StorePreset(corrected);
  ASSERT_TRUE(presets.Save(error)) << error;
  presets.Load(temp.Path());
  std::vector<TStatementLayout> layouts;
  ASSERT_TRUE(LayoutsFor(presets, "", layouts, error));
  ASSERT_TRUE(ReadStatementBytes(bytes, layouts, statement, error)) << error;
  EXPECT_EQ(statement.layoutName, "ちいき銀行");
  EXPECT_FALSE(statement.foundByNames);
  ASSERT_EQ(statement.rows.size(), 2u);
  EXPECT_EQ(statement.rows[0].text, "電気代");
  EXPECT_EQ(statement.rows[1].amount, 900);
}

TEST(StatementPresetsTest, AnUnknownLayoutIsToldApartFromAFileThatIsNoStatement) {
  test::TTempFolder temp;
  const std::string union_ = temp.File("union.csv");
  test::WriteBytes(union_, "\xEF\xBB\xBFしんきん\r\n\r\n番号,年月日,金額\r\n7,2024/1/5,-300\r\n");
  TStatement statement;
  std::string error;
  EXPECT_FALSE(ReadStatementFile(union_, BuiltInLayouts(), statement, error));
  EXPECT_TRUE(statement.layoutUnknown);
  std::vector<TStatementRecord> head;
  ASSERT_TRUE(ReadStatementHead(union_, 2, head, error)) << error;
  ASSERT_EQ(head.size(), 2u);
  EXPECT_EQ(head[0].cells, std::vector<std::string>{"しんきん"});
  EXPECT_EQ(head[1].line, 3);  // the blank line is no record, but counts as a line

  const std::string picture = temp.File("picture.png");
  test::WriteBytes(picture, std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  EXPECT_FALSE(ReadStatementFile(picture, BuiltInLayouts(), statement, error));
  EXPECT_FALSE(statement.layoutUnknown);
  EXPECT_FALSE(ReadStatementHead(picture, 20, head, error));
  EXPECT_TRUE(head.empty());
  EXPECT_FALSE(ReadStatementHead(temp.File("none.csv"), 20, head, error));
  EXPECT_NE(error.find("ファイルがありません"), std::string::npos) << error;
}

}  // namespace
}  // namespace kzm
