// tavimrok-cli run as a process on generated sample passbooks.

#include <gtest/gtest.h>

#include <algorithm>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>


#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Text.h"
#include "common/TestPaths.h"
#include "tools/CliRun.h"

namespace kzm {
namespace {

using test::Lines;
using test::Split;
using test::TRun;

class CliTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_temp = new test::TTempFolder;
    const TRun demo = Run({"demo", Data(), "--years", "1", "--seed", "7", "--until", "202412"});
    ASSERT_EQ(demo.code, 0) << demo.err;
  }
  static void TearDownTestSuite() {
    delete s_temp;
    s_temp = nullptr;
  }

  static std::string Data() { return s_temp->Path() + "/data"; }

  static TRun Run(const std::vector<std::string>& args) { return test::RunCli(args, *s_temp); }

  static test::TTempFolder* s_temp;
};

test::TTempFolder* CliTest::s_temp = nullptr;


TEST_F(CliTest, DemoIsTheSameForTheSameSeed) {
  const std::string again = s_temp->Path() + "/again";
  ASSERT_EQ(Run({"demo", again, "--years", "1", "--seed", "7", "--until", "202412"}).code, 0);
  // Every passbook gets an id of its own, however alike its entries are.
  const auto withoutIds = [](std::map<std::string, std::string> files) {
    EXPECT_EQ(std::erase_if(files, [](const auto& file) { return file.first.ends_with("/PassbookId.ini"); }), 2u);
    return files;
  };
  const auto first = withoutIds(test::FilesUnder(Data()));
  EXPECT_EQ(first, withoutIds(test::FilesUnder(again)));
  EXPECT_TRUE(first.contains("家計簿/Daily/202412.kzm"));
  EXPECT_TRUE(first.contains("家計簿/Monthly/202412.mif"));
  EXPECT_TRUE(first.contains("おこづかい帳/Headfile.dta"));
  EXPECT_NE(LowerCase(DecodeCp932(first.at("家計簿/nbkr.ini"))).find("lastday=25"), std::string::npos);

  const TRun twice = Run({"demo", again, "--years", "1"});
  EXPECT_EQ(twice.code, 1);
  EXPECT_NE(twice.err.find("もう通帳があります"), std::string::npos);
  const std::string other = s_temp->Path() + "/other";
  ASSERT_EQ(Run({"demo", other, "--years", "1", "--seed", "8", "--until", "202412"}).code, 0);
  EXPECT_NE(test::FilesUnder(other).at("家計簿/Daily/202406.kzm"), first.at("家計簿/Daily/202406.kzm"));
}

TEST_F(CliTest, ListsThePassbooks) {
  const TRun run = Run({"list", "--data-folder", Data()});
  ASSERT_EQ(run.code, 0) << run.err;
  EXPECT_EQ(run.out, "おこづかい帳\t見本 太郎\tおこづかい\t" + Data() + "/おこづかい帳\n" +
                         "家計簿\t見本 花子\t家族の家計\t" + Data() + "/家計簿\n");
}

TEST_F(CliTest, MonthSummary) {
  std::filesystem::remove(Data() + "/家計簿/Monthly/202406.mif");
  const TRun run = Run({"--data-folder", Data(), "month", "家計簿", "202406"});
  ASSERT_EQ(run.code, 0) << run.err;
  // A reader works the month out in memory and writes nothing.
  EXPECT_FALSE(std::filesystem::exists(Data() + "/家計簿/Monthly/202406.mif"));
  const auto lines = Lines(run.out);
  ASSERT_GT(lines.size(), 17u);
  EXPECT_EQ(lines[0], "period\t2024/05/26\t2024/06/25");
  const auto header = Split(lines[1], '\t');
  ASSERT_EQ(header.size(), 31u + 4u);
  EXPECT_EQ(header[3], "2024/05/26");
  EXPECT_EQ(header.back(), "total");
  const auto salary = Split(lines[2], '\t');
  EXPECT_EQ(salary[0], "給与");
  EXPECT_EQ(salary[1], "収入");
  bool sawCash = false;
  for (size_t i = 2; i < lines.size(); ++i) {
    const auto fields = Split(lines[i], '\t');
    if (fields[0] == "memo") {
      ASSERT_EQ(fields.size(), 3u);
      EXPECT_EQ(fields[1].size(), 10u);
      continue;
    }
    ASSERT_EQ(fields.size(), header.size()) << lines[i];
    if (fields[0] != "現金") continue;
    sawCash = true;
    EXPECT_EQ(fields[1], "資産");
    EXPECT_EQ(fields[fields.size() - 2], fields.back());  // the total is the last day's balance
  }
  EXPECT_TRUE(sawCash);

  // The next month opens with this month's closing balance.
  const TRun july = Run({"month", Data() + "/家計簿", "202407"});
  ASSERT_EQ(july.code, 0) << july.err;
  for (const std::string& line : Lines(july.out)) {
    const auto fields = Split(line, '\t');
    if (fields[0] != "現金") continue;
    for (const std::string& june : Lines(run.out)) {
      if (june.rfind("現金\t", 0) == 0) {
        EXPECT_EQ(fields[2], Split(june, '\t').back());
      }
    }
  }
}

// The sample household goes to the ATM before its wallet runs dry, in every month of both books.
TEST_F(CliTest, DemoWalletNeverGoesBelowZero) {
  for (const char* book : {"家計簿", "おこづかい帳"}) {
    for (int month = 202401; month <= 202412; ++month) {
      const TRun run = Run({"--data-folder", Data(), "month", book, std::to_string(month)});
      ASSERT_EQ(run.code, 0) << run.err;
      for (const std::string& line : Lines(run.out)) {
        const auto fields = Split(line, '\t');
        if (fields[0] != "現金") continue;
        for (size_t day = 2; day < fields.size(); ++day) {
          EXPECT_GE(std::stoi(fields[day]), 0) << book << " " << month << ": " << line;
        }
      }
    }
  }
}

TEST_F(CliTest, SearchPrintsTheExportLines) {
  const TRun run = Run({"search", "家計簿", "--item", "家賃", "--kinds", "payment", "--data-folder", Data()});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 12u);  // 27 December 2023 to 27 November 2024
  for (const std::string& line : lines) {
    SCOPED_TRACE(line);
    EXPECT_EQ(line.substr(7), "/27,住居･光熱,家賃,\"82,000\",銀行,");
  }
  EXPECT_TRUE(std::is_sorted(lines.begin(), lines.end())) << run.out;  // month by month, whatever the disk's order
  const TRun none = Run({"search", "家計簿", "--item", "家賃", "--kinds", "receipt,memo", "--data-folder", Data()});
  EXPECT_EQ(none.code, 0);
  EXPECT_EQ(none.out, "");

  const std::string file = s_temp->File("found.csv");
  const TRun toFile = Run({"search", "家計簿", "--item", "家賃", "--max", "82,000", "--min", "82000",
                           "--from", "20240101", "--to", "20240331", "--output", file, "--data-folder", Data()});
  ASSERT_EQ(toFile.code, 0) << toFile.err;
  const std::string text = DecodeCp932(test::ReadBytes(file));
  EXPECT_EQ(Lines(text).size(), 3u);
  EXPECT_NE(text.find("2024/02/27,住居･光熱,家賃,\"82,000\",銀行,\r\n"), std::string::npos);
}

TEST_F(CliTest, ErrorsAreReportedNotCrashed) {
  struct Case {
    std::vector<std::string> args;
    int code;
    const char* message;
  };
  const std::string data = Data();
  const Case cases[] = {
      {{"month", "ない通帳", "202401", "--data-folder", data}, 1, "通帳が見つかりません"},
      {{"month", "家計簿", "202413", "--data-folder", data}, 2, "yyyymm"},
      {{"month", "家計簿", "2024-1", "--data-folder", data}, 2, "yyyymm"},
      {{"search", "家計簿", "--from", "2024xx01", "--data-folder", data}, 2, "日付が読めません"},
      {{"search", "家計簿", "--max", "many", "--data-folder", data}, 2, "整数"},
      {{"search", "家計簿", "--min", "99999999999", "--data-folder", data}, 2, "整数"},
      {{"demo", data + "/x", "--until", "202400"}, 2, "--until"},
      {{"search", "家計簿", "--kinds", "payment,gifts", "--data-folder", data}, 2, "gifts"},
      {{"search", "家計簿", "--colour", "red", "--data-folder", data}, 2, "--colour"},
      {{"list", "--data-folder"}, 2, "--data-folder"},
      {{"list", "--data-folder", data + "/missing"}, 1, "データフォルダがありません"},
      {{"frobnicate"}, 2, "frobnicate"},
      {{"holidays", "2024x"}, 2, "年"},
  };
  for (const Case& c : cases) {
    std::string line;
    for (const std::string& arg : c.args) line += arg + " ";
    SCOPED_TRACE(line);
    const TRun run = Run(c.args);
    EXPECT_EQ(run.code, c.code);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(data + "/missing"));
}

TEST_F(CliTest, UnreadableSettlementFile) {
  const std::string settlement = Data() + "/おこづかい帳/Monthly/202403.mif";
  const std::string saved = test::ReadBytes(settlement);
  const std::string broken = "<?xml version=\"\" encoding=\"shift_jis\"?><data><first>";
  test::WriteBytes(settlement, broken);
  const TRun run = Run({"month", "おこづかい帳", "202403", "--data-folder", Data()});
  EXPECT_EQ(run.code, 1);
  EXPECT_NE(run.err.find(settlement), std::string::npos);
  EXPECT_NE(run.err.find("終了タグがありません"), std::string::npos);
  EXPECT_EQ(run.err.find("<first>"), std::string::npos);  // no bytes of the file
  EXPECT_EQ(run.out, "");
  EXPECT_EQ(test::ReadBytes(settlement), broken);  // left as it was
  test::WriteBytes(settlement, saved);
}

// A month file that cannot be read is a failure named on stderr, never a result without it.
TEST_F(CliTest, UnreadableMonthFiles) {
  const std::string passbook = Data() + "/おこづかい帳";
  const std::string june = passbook + "/Daily/202406.kzm";
  const std::string saved = test::ReadBytes(june);
  std::filesystem::remove(june);
  std::filesystem::create_directory(june);  // something that cannot be read as a file
  const TRun month = Run({"month", "おこづかい帳", "202406", "--data-folder", Data()});
  EXPECT_EQ(month.code, 1);
  EXPECT_EQ(month.out, "");
  EXPECT_NE(month.err.find(june), std::string::npos) << month.err;
  const TRun searchFolder = Run({"search", "おこづかい帳", "--data-folder", Data()});
  EXPECT_EQ(searchFolder.code, 1);
  EXPECT_EQ(searchFolder.out, "");
  EXPECT_NE(searchFolder.err.find(june), std::string::npos) << searchFolder.err;
  EXPECT_NE(searchFolder.err.find("ファイルであるはずの場所にフォルダがあります"), std::string::npos) << searchFolder.err;
  std::filesystem::remove(june);

  test::WriteBytes(june, saved + std::string(17 * 1024 * 1024, ' '));  // far beyond any month
  const TRun search = Run({"search", "おこづかい帳", "--data-folder", Data()});
  EXPECT_EQ(search.code, 1);
  EXPECT_EQ(search.out, "");
  EXPECT_NE(search.err.find(june), std::string::npos) << search.err;
  test::WriteBytes(june, saved);

  const std::string daily = passbook + "/Daily";
  std::filesystem::rename(daily, passbook + "/Daily.real");
  test::WriteBytes(daily, "a file where the months should be");
  for (const char* command : {"search", "month"}) {
    SCOPED_TRACE(command);
    std::vector<std::string> args = {command, "おこづかい帳", "--data-folder", Data()};
    if (std::string(command) == "month") args.push_back("202406");
    const TRun run = Run(args);
    EXPECT_EQ(run.code, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find(daily), std::string::npos) << run.err;
  }
  std::filesystem::remove(daily);
  std::filesystem::rename(passbook + "/Daily.real", daily);
}

// The export is written month by month into a file of its own that takes the old file's
// place only at the end: a month that cannot be read leaves the old file, and nothing else.
TEST_F(CliTest, SearchToAFileIsAllOrNothing) {
  const std::string passbook = Data() + "/おこづかい帳";
  const std::string june = passbook + "/Daily/202406.kzm";
  const std::string file = s_temp->File("export/all.csv");
  std::filesystem::create_directories(s_temp->File("export"));
  test::WriteBytes(file, "old export\r\n");
  const std::string saved = test::ReadBytes(june);
  std::filesystem::remove(june);
  std::filesystem::create_directory(june);
  const TRun failed = Run({"search", "おこづかい帳", "--output", file, "--data-folder", Data()});
  std::filesystem::remove(june);
  test::WriteBytes(june, saved);
  EXPECT_EQ(failed.code, 1);
  EXPECT_NE(failed.err.find(june), std::string::npos) << failed.err;
  EXPECT_EQ(test::ReadBytes(file), "old export\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(s_temp->File("export")),
                          std::filesystem::directory_iterator()), 1);

  // Whole, the file holds the lines the search prints, in CP932 with CR LF.
  const TRun printed = Run({"search", "おこづかい帳", "--data-folder", Data()});
  const TRun written = Run({"search", "おこづかい帳", "--output", file, "--data-folder", Data()});
  ASSERT_EQ(written.code, 0) << written.err;
  EXPECT_EQ(written.out, "");
  EXPECT_GT(Lines(printed.out).size(), 100u);
  EXPECT_EQ(DecodeCp932(test::ReadBytes(file)), ReplaceAll(printed.out, "\n", "\r\n"));
}

TEST_F(CliTest, HelpAndCalendar) {
  for (const char* sub : {"list", "month", "search", "demo", "holidays", "seasons"}) {
    SCOPED_TRACE(sub);
    const TRun run = Run({sub, "--help"});
    EXPECT_EQ(run.code, 0);
    EXPECT_NE(run.out.find(std::string("tavimrok-cli ") + sub), std::string::npos);
  }
  EXPECT_EQ(Run({"--help"}).code, 0);
  const TRun holidays = Run({"holidays", "2024"});
  ASSERT_EQ(holidays.code, 0);
  EXPECT_EQ(Lines(holidays.out).front(), "2024/01/01\t元日");
  const TRun seasons = Run({"seasons", "2024", "2025"});
  ASSERT_EQ(seasons.code, 0);
  EXPECT_NE(seasons.out.find("2025/"), std::string::npos);
}

}  // namespace
}  // namespace kzm
