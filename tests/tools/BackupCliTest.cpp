// tavimrok-cli backup, backups and restore run as processes on a generated sample passbook.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "tools/CliRun.h"

namespace kzm {
namespace {

using test::TRun;

class BackupCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Run({"demo", Data(), "--years", "1", "--seed", "5", "--until", "202412"}).code, 0);
  }

  std::string Data() const { return temp.Path() + "/data"; }
  std::string Passbook() const { return Data() + "/家計簿"; }
  TRun Run(const std::vector<std::string>& args) const { return test::RunCli(args, temp); }
  TRun RunIn(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--data-folder", Data()});
    return Run(args);
  }

  // The passbook's files, without the writer's lock and the id its first backup gives it.
  std::map<std::string, std::string> Tree() const {
    std::map<std::string, std::string> files = test::FilesUnder(Passbook());
    files.erase("Writer.lock");
    files.erase("PassbookId.ini");
    return files;
  }

  test::TTempFolder temp;
};

TEST_F(BackupCliTest, BackupChangeRestoreGivesEveryFileBack) {
  const auto before = Tree();
  const TRun backup = RunIn({"backup", "家計簿", "--reason", "月末の確認"});
  ASSERT_EQ(backup.code, 0) << backup.err;
  const std::string zip = backup.out.substr(0, backup.out.find('\t'));
  EXPECT_NE(zip.find(Data() + "/バックアップ/家計簿/"), std::string::npos) << backup.out;
  EXPECT_EQ(Tree(), before);

  const TRun list = RunIn({"backups", "家計簿"});
  ASSERT_EQ(list.code, 0) << list.err;
  EXPECT_NE(list.out.find("\t月末の確認\t"), std::string::npos) << list.out;
  EXPECT_NE(list.out.find("\t" + zip + "\n"), std::string::npos) << list.out;
  const TRun names = RunIn({"list"});
  EXPECT_EQ(names.out.find("バックアップ"), std::string::npos) << names.out;

  const std::string november = Passbook() + "/Daily/202411.kzm";
  const std::string december = Passbook() + "/Daily/202412.kzm";
  const std::string novemberBytes = test::ReadBytes(november);
  test::WriteBytes(november, "20241101,1,x,1,,,\r\n");
  test::WriteBytes(december, "20241201,1,y,2,,,\r\n");

  const TRun month = RunIn({"restore", "家計簿", zip.substr(zip.rfind('/') + 1), "--month", "202411"});
  ASSERT_EQ(month.code, 0) << month.err;
  EXPECT_EQ(test::ReadBytes(november), novemberBytes);
  EXPECT_EQ(test::ReadBytes(december), "20241201,1,y,2,,,\r\n");

  const TRun whole = RunIn({"restore", "家計簿", zip});
  ASSERT_EQ(whole.code, 0) << whole.err;
  EXPECT_EQ(Tree(), before);
  const TRun after = RunIn({"backups", "家計簿"});
  EXPECT_NE(after.out.find("\t復元の前\t"), std::string::npos) << after.out;
}

TEST_F(BackupCliTest, MistakesChangeNothing) {
  const auto before = Tree();
  const struct {
    std::vector<std::string> args;
    int code;
  } cases[] = {
      {{"backup"}, 2},
      {{"backup", "ない通帳"}, 1},
      {{"restore", "家計簿"}, 2},
      {{"restore", "家計簿", "20240101-000000-manual.zip"}, 1},
      {{"restore", "家計簿", "x.zip", "--month", "2024"}, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + std::to_string(c.args.size()));
    const TRun run = RunIn(c.args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_EQ(Tree(), before);
}

// An import writes a backup of the state before it; a dry run does not.
TEST_F(BackupCliTest, AnImportIsBackedUpFirst) {
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("日付,摘要,支払い金額,預かり金額,差引残高\r\n2024/12/2,コーヒー,150,,0\r\n", bytes));
  test::WriteBytes(temp.File("meisai.csv"), bytes);
  const auto before = Tree();
  ASSERT_EQ(RunIn({"import", "家計簿", temp.File("meisai.csv"), "--account", "銀行", "--dry-run"}).code, 0);
  EXPECT_TRUE(RunIn({"backups", "家計簿"}).out.empty());
  const TRun import = RunIn({"import", "家計簿", temp.File("meisai.csv"), "--account", "銀行"});
  ASSERT_EQ(import.code, 0) << import.err;
  const TRun list = RunIn({"backups", "家計簿"});
  ASSERT_NE(list.out.find("\t明細の取り込みの前\t"), std::string::npos) << list.out;
  const std::string line = list.out.substr(0, list.out.find('\n'));
  ASSERT_EQ(RunIn({"restore", "家計簿", line.substr(line.rfind('\t') + 1)}).code, 0);
  EXPECT_EQ(Tree(), before);
}

}  // namespace
}  // namespace kzm
