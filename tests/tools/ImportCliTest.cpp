// tavimrok-cli import and import-undo run as processes on a generated sample passbook.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>


#include "common/TempFolder.h"
#include "common/TestPaths.h"
#include "foundation/Codec.h"
#include "foundation/ThisPc.h"
#include "passbook/WriterLock.h"
#include "tools/CliRun.h"

namespace kzm {
namespace {

using test::TRun;

class ImportCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Run({"demo", Data(), "--years", "1", "--seed", "3", "--until", "202412"}).code, 0);
    std::string bytes;
    ASSERT_TRUE(EncodeCp932("日付,摘要,支払い金額,預かり金額,差引残高\r\n"
                            "2024/12/2,コーヒー,150,,0\r\n"
                            "2024/12/2,コーヒー,150,,0\r\n"
                            "2024/12/3,ｷｭｳﾖ,,\"300,000\",0\r\n"
                            "2024/12/4,読めない,１２.５,,0\r\n",
                            bytes));
    test::WriteBytes(Statement(), bytes);
  }

  std::string Data() const { return temp.Path() + "/data"; }
  std::string Statement() const { return temp.File("meisai.csv"); }

  TRun Run(const std::vector<std::string>& args) const { return test::RunCli(args, temp); }

  std::map<std::string, std::string> Tree() const { return test::FilesUnder(Data()); }

  test::TTempFolder temp;
};

// While another writer has the passbook, an import waits a little, then says who it is and
// writes nothing; a dry run, which only reads, goes ahead.
TEST_F(ImportCliTest, AnotherWriterHoldsThePassbook) {
  TWriterLock window;
  std::string refusal;
  ASSERT_TRUE(window.Take(Data() + "/家計簿", 0, refusal));
  const auto before = Tree();
  const TRun run = Run({"--data-folder", Data(), "import", "家計簿", Statement(), "--account", "銀行"});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find("プロセス番号 " + std::to_string(::getpid())), std::string::npos) << run.err;
  EXPECT_EQ(Tree(), before);
  EXPECT_EQ(Run({"--data-folder", Data(), "import", "家計簿", Statement(), "--account", "銀行", "--dry-run"}).code, 0);
}

TEST_F(ImportCliTest, ImportsOnceAndUndoes) {
  const auto before = Tree();
  const TRun dry = Run({"--data-folder", Data(), "import", "家計簿", Statement(), "--account", "銀行", "--dry-run"});
  ASSERT_EQ(dry.code, 0) << dry.err;
  EXPECT_EQ(Tree(), before);
  EXPECT_NE(dry.out.find("2024/12/02\t-150\tコーヒー\t未分類\t新規\n2024/12/02\t-150\tコーヒー\t未分類\t新規\n"),
            std::string::npos)
      << dry.out;
  EXPECT_NE(dry.out.find("2024/12/03\t300,000\tｷｭｳﾖ\t未分類\t新規"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("読めない行 (5行目)"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("行 4, 取り込む 3, 重複 0"), std::string::npos) << dry.out;
  EXPECT_NE(dry.out.find("取り込まない行: 出金の金額を読めません 1\n"), std::string::npos) << dry.out;
  EXPECT_EQ(dry.out.find("残高が一致"), std::string::npos) << dry.out;  // the column holds 0 throughout

  const TRun booked = Run({"--data-folder", Data(), "import", "家計簿", Statement(), "--account", "銀行"});
  ASSERT_EQ(booked.code, 0) << booked.err;
  EXPECT_NE(booked.out.find("3件を取り込みました"), std::string::npos) << booked.out;
  const std::string december = DecodeCp932(test::ReadBytes(Data() + "/家計簿/Daily/202412.kzm"));
  EXPECT_NE(december.find("20241203,収入,未分類,資産,銀行,300000,ｷｭｳﾖ,\r\n"), std::string::npos);

  // The account is remembered for the layout; the second import finds every row booked.
  const TRun again = Run({"--data-folder", Data(), "import", "家計簿", Statement()});
  ASSERT_EQ(again.code, 0) << again.err;
  EXPECT_NE(again.out.find("行 4, 取り込む 0, 重複 3 (確実 3, 可能性 0)"), std::string::npos) << again.out;

  const TRun undo = Run({"--data-folder", Data(), "import-undo", "家計簿"});
  ASSERT_EQ(undo.code, 0) << undo.err;
  EXPECT_NE(undo.out.find("3件の取り込みを取り消しました"), std::string::npos) << undo.out;
  EXPECT_EQ(test::ReadBytes(Data() + "/家計簿/Daily/202412.kzm"), before.at("家計簿/Daily/202412.kzm"));
}

TEST_F(ImportCliTest, AfterTheImportTheBalancesAreCompared) {
  const std::string path = temp.File("balance.csv");
  test::WriteBytes(path, "取引日,摘要,出金金額,入金金額,残高\r\n"
                         "2024/12/20,サンプル,100,,\"1,000,000\"\r\n"
                         "2024/12/21,サンプル,200,,\"999,800\"\r\n");
  const TRun booked = Run({"--data-folder", Data(), "import", "家計簿", path, "--account", "銀行"});
  ASSERT_EQ(booked.code, 0) << booked.err;
  EXPECT_NE(booked.out.find("残高が一致しません: 帳簿 "), std::string::npos) << booked.out;
  EXPECT_NE(booked.out.find(" / 明細 999,800 (差 "), std::string::npos) << booked.out;
}

TEST_F(ImportCliTest, FailuresNameTheFileAndWriteNothing) {
  test::WriteBytes(temp.File("picture.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  const auto before = Tree();
  const struct {
    std::vector<std::string> args;
    int code;
    std::string message;
  } cases[] = {
      {{"import", "家計簿", temp.File("picture.png"), "--account", "銀行"}, 1, temp.File("picture.png")},
      {{"import", "家計簿", temp.File("missing.csv"), "--account", "銀行"}, 1, "missing.csv"},
      {{"import", "家計簿", Statement(), "--account", "食費"}, 2, "資産の項目にありません"},
      {{"import", "家計簿", Statement()}, 2, "--account"},
      {{"import", "家計簿", Statement(), "--preset", "ない"}, 2, "プリセット「ない」"},
      {{"import", "家計簿", Statement(), "--preset", "p", "--columns", "text=1"}, 2, "日付"},
      {{"import", "家計簿", Statement(), "--preset", "p", "--columns", "date=1,text=5,amount=3,out=3,in=4"},
       2,
       "どちらか一方"},
      {{"import", "家計簿", Statement(), "--preset", "銀行（日付・摘要・支払い金額・預かり金額）", "--columns",
        "date=1,text=2,amount=3"},
       2,
       "最初から用意されている形式の名前"},
      {{"import", "家計簿"}, 2, "明細ファイル"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    std::vector<std::string> args = {"--data-folder", Data()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const TRun run = Run(args);
    EXPECT_EQ(run.code, c.code);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_EQ(Tree(), before);
}

// An import that stopped before its end (here: killed after its last month, before its record
// was marked complete) is said by the next import and undone by import-undo.
TEST_F(ImportCliTest, AnImportThatStoppedIsSaidAndUndone) {
  const std::string december = Data() + "/家計簿/Daily/202412.kzm";
  const std::string before = test::ReadBytes(december);
  ASSERT_EQ(Run({"--data-folder", Data(), "import", "家計簿", Statement(), "--account", "銀行"}).code, 0);
  const std::string record = Data() + "/家計簿/" + PcOwnName("StatementLastImport.csv");
  test::WriteBytes(record, "incomplete\r\n" + test::ReadBytes(record));
  const TRun dry = Run({"--data-folder", Data(), "import", "家計簿", Statement(), "--dry-run"});
  ASSERT_EQ(dry.code, 0) << dry.err;
  EXPECT_NE(dry.err.find("途中で止まったまま"), std::string::npos) << dry.err;
  const TRun undo = Run({"--data-folder", Data(), "import-undo", "家計簿"});
  ASSERT_EQ(undo.code, 0) << undo.err;
  EXPECT_NE(undo.out.find("途中で止まっていた取り込みを元に戻しました"), std::string::npos) << undo.out;
  EXPECT_NE(undo.out.find("3件の取り込みを取り消しました"), std::string::npos) << undo.out;
  EXPECT_EQ(test::ReadBytes(december), before);
  const TRun after = Run({"--data-folder", Data(), "import", "家計簿", Statement(), "--dry-run"});
  EXPECT_EQ(after.err.find("途中で止まったまま"), std::string::npos) << after.err;
}

}  // namespace
}  // namespace kzm
