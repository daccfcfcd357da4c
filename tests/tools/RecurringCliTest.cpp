// tavimrok-cli recurring run as a process on a generated sample passbook.

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

class RecurringCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Run({"demo", Data(), "--years", "1", "--seed", "3", "--until", "202412"}).code, 0);
  }

  std::string Data() const { return temp.Path() + "/data"; }
  std::string Passbook() const { return Data() + "/家計簿"; }

  TRun Run(const std::vector<std::string>& args) const { return test::RunCli(args, temp); }
  TRun Recurring(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--data-folder", Data(), "recurring", "家計簿"});
    return Run(args);
  }

  std::map<std::string, std::string> Tree() const { return test::FilesUnder(Data()); }

  // The lines of a month file of the passbook that hold text, decoded.
  std::vector<std::string> MonthLinesWith(const std::string& yyyymm, const std::string& text) const {
    const std::string decoded = DecodeCp932(test::ReadBytes(Passbook() + "/Daily/" + yyyymm + ".kzm"));
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < decoded.size()) {
      const size_t end = decoded.find("\r\n", start);
      const std::string line = decoded.substr(start, end - start);
      if (line.find(text) != std::string::npos) lines.push_back(line);
      if (end == std::string::npos) break;
      start = end + 2;
    }
    return lines;
  }

  test::TTempFolder temp;
};

TEST_F(RecurringCliTest, AddsListsAndEntersOnce) {
  const TRun rent = Recurring({"add", "--kind", "支出", "--category", "住居･光熱", "--item", "家賃", "--amount", "80000",
                               "--account", "銀行", "--monthly", "27", "--shift", "before", "--from", "20250101",
                               "--count", "3"});
  ASSERT_EQ(rent.code, 0) << rent.err;
  EXPECT_EQ(rent.out, "定期的な記入 1 を追加しました。毎月27日 (休日は前の営業日) 次は 2025/01/27\n");
  const TRun move = Recurring({"add", "--kind", "資産の移動", "--account", "銀行", "--to-account", "現金", "--item",
                               "引き出し", "--amount", "30,000", "--weekly", "6", "--every", "2", "--shift", "after",
                               "--from", "20250101", "--until", "20250131", "--estimate"});
  ASSERT_EQ(move.code, 0) << move.err;
  const TRun list = Recurring({"list"});
  ASSERT_EQ(list.code, 0) << list.err;
  EXPECT_EQ(list.out,
            "1\t支出\t住居･光熱/銀行\t家賃\t80,000\t毎月27日 (休日は前の営業日)\t2025/01/27\n"
            "2\t資産の移動\t銀行→現金\t引き出し\t30,000 (見込み)\t2週ごと 土曜日 (休日は次の営業日)\t2025/01/06\n");

  const TRun due = Recurring({"due", "--until", "20250331"});
  ASSERT_EQ(due.code, 0) << due.err;
  // 1/4 and 1/18 are Saturdays, 1/6 is the first business day after New Year's weekend; 2025/04/27 is past the count.
  EXPECT_EQ(due.out,
            "2025/01/06\t2\t引き出し\t30,000 (見込み)\n"
            "2025/01/20\t2\t引き出し\t30,000 (見込み)\n"
            "2025/01/27\t1\t家賃\t80,000\n"
            "2025/02/27\t1\t家賃\t80,000\n"
            "2025/03/27\t1\t家賃\t80,000\n");

  const auto before = Tree();
  const TRun dry = Recurring({"enter", "--until", "20250131", "--dry-run"});
  ASSERT_EQ(dry.code, 0) << dry.err;
  EXPECT_EQ(Tree(), before);
  EXPECT_NE(dry.out.find("3件。試しのため"), std::string::npos) << dry.out;

  const TRun entered = Recurring({"enter", "--until", "20250131"});
  ASSERT_EQ(entered.code, 0) << entered.err;
  EXPECT_NE(entered.out.find("3件を記入しました。"), std::string::npos) << entered.out;
  EXPECT_EQ(MonthLinesWith("202501", "引き出し").size(), 2u);
  EXPECT_EQ(MonthLinesWith("202501", "家賃"), std::vector<std::string>{"20250127,支出,住居･光熱,資産,銀行,80000,家賃,"});
  const TRun again = Recurring({"enter", "--until", "20250131"});
  ASSERT_EQ(again.code, 0) << again.err;
  EXPECT_NE(again.out.find("0件を記入しました。"), std::string::npos) << again.out;
  EXPECT_EQ(MonthLinesWith("202501", "家賃").size(), 1u);
  EXPECT_EQ(Recurring({"due", "--until", "20250228"}).out, "2025/02/27\t1\t家賃\t80,000\n");
}

TEST_F(RecurringCliTest, MistakesAndUnreadableFiles) {
  const struct {
    const char* what;
    std::vector<std::string> args;
    int code;
    const char* message;
  } cases[] = {
      {"no action", {}, 2, "list, add, due, enter"},
      {"unknown action", {"remove"}, 2, "知らない操作"},
      {"unknown kind", {"add", "--kind", "貸付", "--category", "食費", "--account", "銀行", "--amount", "1", "--monthly", "1"},
       2, "--kind"},
      {"no schedule", {"add", "--kind", "支出", "--category", "食費", "--account", "銀行", "--amount", "1"}, 2, "--monthly"},
      {"two schedules",
       {"add", "--kind", "支出", "--category", "食費", "--account", "銀行", "--amount", "1", "--monthly", "1", "--weekly", "1"},
       2, "どれかひとつ"},
      {"day 32", {"add", "--kind", "支出", "--category", "食費", "--account", "銀行", "--amount", "1", "--monthly", "32"},
       2, "--monthly"},
      {"category the passbook lacks",
       {"add", "--kind", "支出", "--category", "旅行", "--account", "銀行", "--amount", "1", "--monthly", "1"}, 2, "旅行"},
      {"count and until",
       {"add", "--kind", "支出", "--category", "食費", "--account", "銀行", "--amount", "1", "--monthly", "1", "--count",
        "2", "--until", "20250101"},
       2, "--count"},
      {"bad date", {"due", "--until", "2025-01-01"}, 2, "YYYYMMDD"},
      {"dry run outside enter", {"due", "--dry-run"}, 2, "使えない"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    const TRun run = Recurring(c.args);
    EXPECT_EQ(run.code, c.code);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  EXPECT_FALSE(std::filesystem::exists(Passbook() + "/Recurring.csv"));

  std::filesystem::create_directory(Passbook() + "/Recurring.csv");
  const TRun unreadable = Recurring({"due"});
  EXPECT_EQ(unreadable.code, 1);
  EXPECT_NE(unreadable.err.find("Recurring.csv"), std::string::npos) << unreadable.err;
}

}  // namespace
}  // namespace kzm
