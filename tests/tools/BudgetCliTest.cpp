// tavimrok-cli budget and report, run as a process on a generated sample passbook.

#include <gtest/gtest.h>

#include <filesystem>
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

class BudgetCliTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_temp = new test::TTempFolder;
    const TRun demo = Run({"demo", s_temp->Path() + "/data", "--years", "2", "--seed", "3", "--until", "202412"});
    ASSERT_EQ(demo.code, 0) << demo.err;
  }
  static void TearDownTestSuite() {
    delete s_temp;
    s_temp = nullptr;
  }
  void TearDown() override { std::filesystem::remove_all(Passbook() + "/Budget.csv"); }

  static std::string Passbook() { return s_temp->Path() + "/data/家計簿"; }
  static TRun Run(const std::vector<std::string>& args) { return test::RunCli(args, *s_temp); }

  // The month total of a category as the month subcommand prints it.
  static std::string MonthTotal(const std::string& month, const std::string& name) {
    const TRun run = Run({"month", Passbook(), month});
    for (const std::string& line : Lines(run.out)) {
      const auto fields = Split(line, '\t');
      if (fields.size() > 3 && fields[0] == name) return fields.back();
    }
    return "?";
  }

  static test::TTempFolder* s_temp;
};

test::TTempFolder* BudgetCliTest::s_temp = nullptr;

TEST_F(BudgetCliTest, SetHoldsUntilChangedAndPrintsBudgetActualLeft) {
  ASSERT_EQ(Run({"budget", Passbook(), "set", "食費", "40,000", "--from", "202404"}).code, 0);
  ASSERT_EQ(Run({"budget", Passbook(), "set", "食費", "35000", "--from", "202407"}).code, 0);
  const TRun set = Run({"budget", Passbook(), "set", "給与", "250000", "--from", "202401"});
  ASSERT_EQ(set.code, 0) << set.err;
  std::string expected;
  ASSERT_TRUE(EncodeCp932("202404,食費,支出,40000\r\n202407,食費,支出,35000\r\n202401,給与,収入,250000\r\n", expected));
  EXPECT_EQ(test::ReadBytes(Passbook() + "/Budget.csv"), expected);

  for (const auto& [month, budget] : {std::pair{"202405", 40'000}, {"202406", 40'000}, {"202407", 35'000}}) {
    SCOPED_TRACE(month);
    const TRun run = Run({"budget", Passbook(), month});
    ASSERT_EQ(run.code, 0) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 4u) << run.out;
    const auto food = Split(lines[0], '\t');
    ASSERT_EQ(food.size(), 4u);
    EXPECT_EQ(food[0], "食費");
    EXPECT_EQ(food[1], std::to_string(budget));
    const std::string actual = MonthTotal(month, "食費");
    EXPECT_EQ(food[2], actual);
    EXPECT_EQ(food[3], std::to_string(budget - std::stoi(actual)));
    EXPECT_EQ(Split(lines[1], '\t')[0], "給与");
    EXPECT_EQ(lines[2], "total\t" + food[1] + "\t" + food[2] + "\t" + food[3]);
    EXPECT_EQ(Split(lines[3], '\t')[0], "income-total");
  }
  // Before any setting there is only the total line.
  EXPECT_EQ(Run({"budget", Passbook(), "202312"}).out, "total\t0\t0\t0\n");
  ASSERT_EQ(Run({"budget", Passbook(), "set", "給与", "none", "--from", "202401"}).code, 0);
  EXPECT_EQ(Lines(Run({"budget", Passbook(), "202405"}).out).size(), 2u);
}

TEST_F(BudgetCliTest, MistakesAndAnUnreadableFile) {
  EXPECT_EQ(Run({"budget", Passbook(), "set", "食費", "100"}).code, 2);
  EXPECT_EQ(Run({"budget", Passbook(), "set", "ない項目", "100", "--from", "202401"}).code, 2);
  EXPECT_EQ(Run({"budget", Passbook(), "set", "現金", "100", "--from", "202401"}).code, 2);  // an asset
  EXPECT_EQ(Run({"budget", Passbook(), "set", "食費", "百円", "--from", "202401"}).code, 2);
  EXPECT_EQ(Run({"budget", Passbook(), "2024"}).code, 2);
  EXPECT_EQ(Run({"report", Passbook()}).code, 2);
  EXPECT_EQ(Run({"report", Passbook(), "--year", "24"}).code, 2);
  EXPECT_FALSE(std::filesystem::exists(Passbook() + "/Budget.csv"));

  std::filesystem::create_directory(Passbook() + "/Budget.csv");  // there, but no file to read
  const TRun set = Run({"budget", Passbook(), "set", "食費", "100", "--from", "202401"});
  EXPECT_EQ(set.code, 1);
  EXPECT_NE(set.err.find("予算のファイル"), std::string::npos) << set.err;
  EXPECT_EQ(Run({"budget", Passbook(), "202401"}).code, 1);
  EXPECT_TRUE(std::filesystem::is_directory(Passbook() + "/Budget.csv"));
}

TEST_F(BudgetCliTest, YearReportAsTextAndAsCsv) {
  const TRun run = Run({"report", Passbook(), "--year", "2024"});
  ASSERT_EQ(run.code, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[0],
            "category\t202401\t202402\t202403\t202404\t202405\t202406\t202407\t202408\t202409\t202410\t202411\t"
            "202412\ttotal\taverage");
  int64_t spendingSum = 0;
  bool sawSpending = false, sawCash = false;
  for (const std::string& line : lines) {
    const auto fields = Split(line, '\t');
    ASSERT_EQ(fields.size(), 15u) << line;
    if (fields[0] == "食費") {
      EXPECT_EQ(fields[6], MonthTotal("202406", "食費"));
    }
    if (fields[0] == "支出") {
      sawSpending = true;
      for (size_t m = 1; m <= 12; ++m) spendingSum += std::stoll(fields[m]);
      EXPECT_EQ(fields[13], std::to_string(spendingSum));
      EXPECT_EQ(fields[6], MonthTotal("202406", "支出合計"));
    }
    if (fields[0] == "現金残高") {
      sawCash = true;
      EXPECT_EQ(fields[12], MonthTotal("202412", "現金"));
      EXPECT_EQ(fields[13], "");
    }
  }
  EXPECT_TRUE(sawSpending);
  EXPECT_TRUE(sawCash);

  const std::string csv = s_temp->File("year.csv");
  ASSERT_EQ(Run({"report", Passbook(), "--year", "2024", "--csv", csv}).code, 0);
  const std::string bytes = test::ReadBytes(csv);
  std::string header;
  ASSERT_TRUE(EncodeCp932("項目,2024年1月,2024年2月,2024年3月,2024年4月,2024年5月,2024年6月,2024年7月,2024年8月,"
                          "2024年9月,2024年10月,2024年11月,2024年12月,合計,平均\r\n",
                          header));
  EXPECT_EQ(bytes.substr(0, header.size()), header);
  // The same lines as the text, with commas.
  std::string text;
  for (size_t i = 1; i < lines.size(); ++i) {
    std::string line = lines[i];
    for (char& c : line) c = c == '\t' ? ',' : c;
    text += line + "\r\n";
  }
  EXPECT_EQ(DecodeCp932(bytes.substr(header.size())), text);
}

}  // namespace
}  // namespace kzm
