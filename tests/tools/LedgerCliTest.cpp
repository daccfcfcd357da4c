// tavimrok-cli import-ledger run as a process on a generated sample passbook: a move-in
// tried, booked, found booked the second time and undone by import-undo.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "common/TestPaths.h"
#include "foundation/Codec.h"
#include "tools/CliRun.h"

namespace kzm {
namespace {

using test::TRun;

// An export of the method-column kind, of our own making: a payment from a purse the passbook
// lacks, a salary, a transfer, a category the passbook lacks and a row in dollars.
const char* const kExport =
    "\xEF\xBB\xBF日付,方法,カテゴリ,カテゴリの内訳,支払元,入金先,品目,メモ,お店,通貨,収入,支出,振替,残高調整,"
    "通貨変換前の金額,集計の設定\n"
    "2024-12-05,payment,食費,外食,サンプル財布,,ランチ,,サンプル食堂,JPY,0,980,0,0,980,\n"
    "2024-12-06,income,給与,,,メイン口座,,,,JPY,\"250,000\",0,0,0,,\n"
    "2024-12-07,transfer,-,-,メイン口座,サンプル財布,,,,JPY,0,0,\"10,000\",0,,\n"
    "2024-12-08,payment,趣味・娯楽,映画,メイン口座,,,,,JPY,0,1800,0,0,,\n"
    "2024-12-09,payment,食費,,サンプル財布,,,,,USD,0,5,0,0,,\n";

class LedgerCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Run({"demo", Data(), "--years", "1", "--seed", "3", "--until", "202412"}).code, 0);
    test::WriteBytes(Export(), kExport);
  }

  std::string Data() const { return temp.Path() + "/data"; }
  std::string Export() const { return temp.File("export.csv"); }
  std::string December() const { return Data() + "/家計簿/Daily/202412.kzm"; }

  TRun Run(const std::vector<std::string>& args) const { return test::RunCli(args, temp); }
  TRun MoveIn(std::vector<std::string> extra) const {
    std::vector<std::string> args = {"--data-folder", Data(), "import-ledger", "家計簿", Export(),
                                     "--account-map", "メイン口座=銀行"};
    args.insert(args.end(), extra.begin(), extra.end());
    return Run(args);
  }

  std::map<std::string, std::string> Tree() const { return test::FilesUnder(Data()); }

  test::TTempFolder temp;
};

TEST_F(LedgerCliTest, TriedBookedFoundBookedAndUndone) {
  const auto before = Tree();
  const TRun dry = MoveIn({"--map", "食費/外食=外食費", "--dry-run"});
  ASSERT_EQ(dry.code, 0) << dry.err;
  EXPECT_EQ(Tree(), before);
  EXPECT_NE(dry.err.find("形式: 家計簿（方法・カテゴリ・支払元・入金先）"), std::string::npos) << dry.err;
  EXPECT_NE(dry.out.find("口座\tメイン口座\t銀行\t3行\n"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("支出\t食費/外食\t外食費\t1行\n"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("2024/12/05\t980\tサンプル食堂 ランチ\t外食費\tサンプル財布\t新規\n"), std::string::npos)
      << dry.out;
  EXPECT_NE(dry.out.find("2024/12/07\t10,000\t\tサンプル財布\t銀行\t新規\n"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("取り込まない行 (6行目): 円以外の通貨です（USD）"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("行 5, 取り込む 4, 取り込み済み 0, 取り込まない 1\n"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("通帳に加わる項目: 資産 サンプル財布, 支出 外食費, 支出 趣味・娯楽"), std::string::npos)
      << dry.out;

  const TRun booked = MoveIn({"--map", "食費/外食=外食費"});
  ASSERT_EQ(booked.code, 0) << booked.err;
  EXPECT_NE(booked.out.find("4件を取り込みました"), std::string::npos) << booked.out;
  EXPECT_NE(DecodeCp932(test::ReadBytes(December())).find("20241208,支出,趣味・娯楽,資産,銀行,1800,,映画"),
            std::string::npos);
  const std::string headings = DecodeCp932(test::ReadBytes(Data() + "/家計簿/Headfile.dta"));
  EXPECT_NE(headings.find("<name>サンプル財布</name>"), std::string::npos);
  EXPECT_NE(headings.find("<name>外食費</name>"), std::string::npos);

  // Mapped otherwise the second time, the rows are still found booked.
  const TRun again = MoveIn({});
  ASSERT_EQ(again.code, 0) << again.err;
  EXPECT_NE(again.out.find("行 5, 取り込む 0, 取り込み済み 4, 取り込まない 1\n"), std::string::npos) << again.out;
  EXPECT_NE(again.out.find("取り込む行がありません"), std::string::npos) << again.out;

  const TRun undo = Run({"--data-folder", Data(), "import-undo", "家計簿"});
  ASSERT_EQ(undo.code, 0) << undo.err;
  EXPECT_NE(undo.out.find("4件の取り込みを取り消しました"), std::string::npos) << undo.out;
  EXPECT_EQ(test::ReadBytes(December()), before.at("家計簿/Daily/202412.kzm"));
}

TEST_F(LedgerCliTest, MistakesAreNamedAndNothingIsWritten) {
  test::WriteBytes(temp.File("statement.csv"), "取引日,入出金(円),取引後残高(円),入出金内容\n2024/12/1,-100,0,a\n");
  const auto before = Tree();
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;
  } cases[] = {
      {{"--map", "ない/もの=x"}, 2, "項目「ない/もの」はありません"},
      {{"--map", "食費"}, 2, "書き出しの名前=通帳の名前"},
      {{"--account-map", "ない口座=銀行"}, 2, "口座「ない口座」はありません"},
      {{"--map", "食費=食費🍙"}, 2, "「🍙」は通帳に保存できない文字です"},
      {{"--account-map"}, 2, "--account-map のあとに値がありません"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    const TRun run = MoveIn(c.args);
    EXPECT_EQ(run.code, c.code);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  const TRun notExport = Run({"--data-folder", Data(), "import-ledger", "家計簿", temp.File("statement.csv")});
  EXPECT_EQ(notExport.code, 1);
  EXPECT_NE(notExport.err.find("形式を認識できません"), std::string::npos) << notExport.err;
  const TRun missing = Run({"--data-folder", Data(), "import-ledger", "家計簿", temp.File("missing.csv")});
  EXPECT_EQ(missing.code, 1);
  EXPECT_NE(missing.err.find("missing.csv"), std::string::npos) << missing.err;
  const TRun asStatement = Run({"--data-folder", Data(), "import", "家計簿", Export(), "--account", "銀行"});
  EXPECT_EQ(asStatement.code, 1);
  EXPECT_NE(asStatement.err.find("import-ledger で取り込めます"), std::string::npos) << asStatement.err;
  EXPECT_EQ(Tree(), before);
}

}  // namespace
}  // namespace kzm
