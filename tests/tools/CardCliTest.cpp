// tavimrok-cli card and forecast, run as a process on a generated sample passbook.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "tools/CliRun.h"

namespace kzm {
namespace {

using test::Lines;
using test::Split;
using test::TRun;

class CardCliTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_temp = new test::TTempFolder;
    const TRun demo = Run({"demo", s_temp->Path() + "/data", "--years", "1", "--seed", "5", "--until", "202412"});
    ASSERT_EQ(demo.code, 0) << demo.err;
  }
  static void TearDownTestSuite() {
    delete s_temp;
    s_temp = nullptr;
  }
  void TearDown() override { std::filesystem::remove(Passbook() + "/Cards.csv"); }

  static std::string Passbook() { return s_temp->Path() + "/data/家計簿"; }
  static TRun Run(const std::vector<std::string>& args) { return test::RunCli(args, *s_temp); }

  static test::TTempFolder* s_temp;
};

test::TTempFolder* CardCliTest::s_temp = nullptr;

TEST_F(CardCliTest, SetWritesTheSettingsAndCyclesFollowThem) {
  const TRun set = Run({"card", Passbook(), "カード", "set", "--closing", "end", "--payment", "27", "--month",
                        "after-next", "--from-account", "銀行"});
  ASSERT_EQ(set.code, 0) << set.err;
  std::string expected;
  ASSERT_TRUE(EncodeCp932("card,カード,end,27,after-next,銀行\r\n", expected));
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Cards.csv"), expected);
  // Changing one setting keeps the others.
  ASSERT_EQ(Run({"card", Passbook(), "カード", "set", "--closing", "15"}).code, 0);
  ASSERT_TRUE(EncodeCp932("card,カード,15,27,after-next,銀行\r\n", expected));
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Cards.csv"), expected);
  // The month's end, however it is written.
  for (const char* end : {"末", "末日", "月末"}) {
    ASSERT_EQ(Run({"card", Passbook(), "カード", "set", "--payment", end}).code, 0) << end;
    ASSERT_TRUE(EncodeCp932("card,カード,15,end,after-next,銀行\r\n", expected));
    EXPECT_EQ(test::ReadBytes(Passbook() + "/Cards.csv"), expected) << end;
    ASSERT_EQ(Run({"card", Passbook(), "カード", "set", "--payment", "27"}).code, 0);
  }

  const TRun cycles = Run({"card", Passbook(), "カード", "cycles", "--from", "202402", "--to", "202404"});
  ASSERT_EQ(cycles.code, 0) << cycles.err;
  const std::vector<std::string> lines = Lines(cycles.out);
  ASSERT_EQ(lines.size(), 3u) << cycles.out;
  // 2024/04/27 is a Saturday and 2024/06/27 a Thursday.
  const std::vector<std::vector<std::string>> shape = {
      {"2024/01/16", "2024/02/15", "2024/04/30"},
      {"2024/02/16", "2024/03/15", "2024/05/27"},
      {"2024/03/16", "2024/04/15", "2024/06/27"},
  };
  for (size_t i = 0; i < lines.size(); ++i) {
    SCOPED_TRACE(lines[i]);
    const auto f = Split(lines[i], '\t');
    ASSERT_EQ(f.size(), 5u);
    EXPECT_EQ(f[0], shape[i][0]);
    EXPECT_EQ(f[1], shape[i][1]);
    // The sample pays on the 10th the bills of cards closing at the month's end: under these
    // settings those moves pay no bill, they lower the bills as money put on the card.
    EXPECT_GE(std::stoll(f[2]), 0);
    EXPECT_EQ(f[3], shape[i][2]);
    EXPECT_TRUE(f[4] == "未" || f[4] == "支払なし" || f[4].starts_with("済 (20")) << f[4];
  }
  // The cycle holding today is not closed yet: neither paid nor unpaid.
  const TRun upToToday = Run({"card", Passbook(), "カード", "cycles"});
  ASSERT_EQ(upToToday.code, 0) << upToToday.err;
  EXPECT_EQ(Split(Lines(upToToday.out).back(), '\t').back(), "締め前") << upToToday.out;
}

TEST_F(CardCliTest, ADeletedAccountIsRefusedAndReportedNeverGuessed) {
  const TRun set =
      Run({"card", Passbook(), "カード", "set", "--closing", "15", "--payment", "10", "--from-account", "旧銀行"});
  EXPECT_EQ(set.code, 2);
  EXPECT_NE(set.err.find("旧銀行"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(Passbook() + "/Cards.csv"));
  // Settings made while the account still existed.
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("card,カード,15,10,next,旧銀行\r\n", bytes));
  test::WriteBytes(Passbook() + "/Cards.csv", bytes);
  const TRun cycles = Run({"card", Passbook(), "カード", "cycles"});
  EXPECT_EQ(cycles.code, 1);
  EXPECT_EQ(cycles.out, "");
  EXPECT_NE(cycles.err.find("引落口座「旧銀行」"), std::string::npos) << cycles.err;
  const TRun forecast = Run({"forecast", Passbook(), "--today", "20241201", "--account", "銀行"});
  EXPECT_EQ(forecast.code, 0) << forecast.err;
  EXPECT_NE(forecast.err.find("旧銀行"), std::string::npos) << forecast.err;
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Cards.csv"), bytes);
}

TEST_F(CardCliTest, ForecastLinesAndTheLowestOfEachAccount) {
  ASSERT_EQ(
      Run({"card", Passbook(), "カード", "set", "--closing", "15", "--payment", "10", "--from-account", "銀行"}).code,
      0);
  const TRun all = Run({"forecast", Passbook(), "--today", "20241115", "--months", "1"});
  ASSERT_EQ(all.code, 0) << all.err;
  std::vector<std::string> lowest;
  std::map<std::string, long long> minimum;
  std::string lastDate;
  for (const std::string& line : Lines(all.out)) {
    const auto f = Split(line, '\t');
    ASSERT_GE(f.size(), 3u) << line;
    if (f[0] == "最低") {
      ASSERT_EQ(f.size(), 4u);
      lowest.push_back(f[1]);
      // Also the balance of today, which is no line of its own.
      if (minimum.contains(f[1])) {
        EXPECT_LE(std::stoll(f[2]), minimum[f[1]]) << line;
      }
      continue;
    }
    EXPECT_GE(f[0], lastDate);  // day by day
    EXPECT_GT(f[0], "2024/11/15");
    EXPECT_LE(f[0], "2024/12/15");
    lastDate = f[0];
    const long long balance = std::stoll(f[2]);
    if (!minimum.contains(f[1]) || balance < minimum[f[1]]) minimum[f[1]] = balance;
  }
  EXPECT_EQ(lowest, (std::vector<std::string>{"現金", "銀行", "カード"}));

  const TRun one = Run({"forecast", Passbook(), "--today", "20241115", "--months", "1", "--account", "銀行"});
  ASSERT_EQ(one.code, 0) << one.err;
  for (const std::string& line : Lines(one.out)) EXPECT_EQ(Split(line, '\t')[1], "銀行") << line;
  EXPECT_EQ(Run({"forecast", Passbook(), "--account", "食費"}).code, 2);
  EXPECT_EQ(Run({"forecast", Passbook(), "--months", "0"}).code, 2);
}

}  // namespace
}  // namespace kzm
