// tavimrok-cli backup, backups and restore run as processes on a generated sample passbook.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "backup/TestZips.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "passbook/RestoreJournal.h"
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

// A month put back carries its balances into the later months, as the import that changed it
// did: the last month's settlement is again as it was before the import.
TEST_F(BackupCliTest, AMonthRestoredCarriesItsBalances) {
  const std::string december = Passbook() + "/Monthly/202412.mif";
  const TRun backup = RunIn({"backup", "家計簿"});
  ASSERT_EQ(backup.code, 0) << backup.err;
  const std::string before = test::ReadBytes(december);
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("日付,摘要,支払い金額,預かり金額,差引残高\r\n2024/6/3,家具,250000,,0\r\n", bytes));
  test::WriteBytes(temp.File("meisai.csv"), bytes);
  ASSERT_EQ(RunIn({"import", "家計簿", temp.File("meisai.csv"), "--account", "銀行"}).code, 0);
  ASSERT_NE(test::ReadBytes(december), before);
  const TRun month = RunIn({"restore", "家計簿", backup.out.substr(0, backup.out.find('\t')), "--month", "202406"});
  ASSERT_EQ(month.code, 0) << month.err;
  EXPECT_TRUE(test::ReadBytes(december) == before);
  EXPECT_FALSE(std::filesystem::exists(Passbook() + "/CarryJournal.csv"));
}

// A zip that is no passbook's backup is refused and the passbook stays listed; another
// passbook's backup only with --force.
TEST_F(BackupCliTest, OnlyThisPassbooksBackupWithoutAsking) {
  ASSERT_EQ(Run({"demo", temp.File("other"), "--years", "1", "--seed", "6", "--until", "202412"}).code, 0);
  const TRun other = Run({"--data-folder", temp.File("other"), "backup", "家計簿"});
  ASSERT_EQ(other.code, 0) << other.err;
  const std::string otherZip = other.out.substr(0, other.out.find('\t'));
  const auto before = Tree();

  const std::string readme = temp.File("readme.zip");
  ASSERT_TRUE(test::WriteZip(readme, {{"readme.txt", "hello"}}));
  EXPECT_EQ(RunIn({"restore", "家計簿", readme}).code, 1);
  EXPECT_NE(RunIn({"list"}).out.find("家計簿"), std::string::npos);

  const TRun refused = RunIn({"restore", "家計簿", otherZip});
  EXPECT_EQ(refused.code, 1);
  EXPECT_NE(refused.err.find("--force"), std::string::npos) << refused.err;
  EXPECT_EQ(Tree(), before);
  const TRun forced = RunIn({"restore", "家計簿", otherZip, "--force"});
  ASSERT_EQ(forced.code, 0) << forced.err;
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Daily/202412.kzm"),
            test::ReadBytes(temp.File("other/家計簿/Daily/202412.kzm")));
}

// A restore stopped after its record is finished by the next command that opens the passbook
// for writing, which says so before it does its own work.
TEST_F(BackupCliTest, AStoppedRestoreIsFinishedAtTheNextOpen) {
  const std::string stage = RestoreStageFiles(Passbook());
  std::filesystem::create_directories(stage + "/Daily");
  test::WriteBytes(stage + "/Daily/202412.kzm", "20241201,1,y,2,,,\r\n");
  std::string record;
  ASSERT_TRUE(EncodeCp932("[RESTORE]\r\nFROM=x.zip\r\nFILE=Daily/202412.kzm\r\nSTAGED=1\r\nDONE=0\r\n", record));
  test::WriteBytes(Passbook() + "/Restore.ini", record);
  const TRun backup = RunIn({"backup", "家計簿"});
  ASSERT_EQ(backup.code, 0) << backup.err;
  EXPECT_NE(backup.err.find("途中で止まった復元を最後まで終えました"), std::string::npos) << backup.err;
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Daily/202412.kzm"), "20241201,1,y,2,,,\r\n");
  EXPECT_FALSE(std::filesystem::exists(Passbook() + "/Restore.ini"));
  EXPECT_FALSE(std::filesystem::exists(RestoreStageFolder(Passbook())));
}

}  // namespace
}  // namespace kzm
