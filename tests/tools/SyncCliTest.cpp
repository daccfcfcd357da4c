// tavimrok-cli add and merge, run as a process on a generated sample passbook.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "tools/CliRun.h"

namespace kzm {
namespace {

using test::Lines;
using test::TRun;

class SyncCliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const TRun demo = Run({"demo", temp.File("data"), "--years", "1", "--seed", "3", "--until", "202412"});
    ASSERT_EQ(demo.code, 0) << demo.err;
  }
  std::string Passbook() const { return temp.File("data/家計簿"); }
  TRun Run(std::vector<std::string> args) const {
    args.insert(args.begin(), {"--data-folder", temp.File("data")});
    return test::RunCli(args, temp);
  }
  std::string Found(const std::string& day, const std::string& item) const {
    return Run({"search", Passbook(), "--from", day, "--to", day, "--item", item}).out;
  }

  test::TTempFolder temp;
};

TEST_F(SyncCliTest, AddBooksOneEntryAsTheDailyGridWould) {
  const TRun spent = Run({"add", Passbook(), "20240510", "食費", "¥1,000+298*2", "--item", "テスト昼"});
  ASSERT_EQ(spent.code, 0) << spent.err;
  EXPECT_EQ(spent.out, "20240510\t食費\t現金\t1596\n");
  EXPECT_EQ(Found("20240510", "テスト昼"), "2024/05/10,食費,テスト昼,\"1,596\",現金,\n");
  const TRun moved = Run({"add", Passbook(), "20240511", "現金", "20000", "--account", "銀行", "--item", "テスト引出"});
  ASSERT_EQ(moved.code, 0) << moved.err;
  EXPECT_EQ(Found("20240511", "テスト引出"), "2024/05/11,現金,テスト引出,\"20,000\",銀行,\n");

  struct TCase {
    std::vector<std::string> args;
    int code;
  };
  const TCase refused[] = {
      {{"20240512", "食費", "1.5"}, 2},                      // no amount
      {{"20240532", "食費", "100"}, 2},                      // no day
      {{"20240512", "現金", "100"}, 2},                      // a move needs where from
      {{"20240512", "宝くじ", "100"}, 1},                    // no such category
      {{"20240512", "食費", "100", "--account", "食費"}, 1},  // an account must be an asset
  };
  for (const TCase& c : refused) {
    std::vector<std::string> args{"add", Passbook()};
    args.insert(args.end(), c.args.begin(), c.args.end());
    SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + c.args[2]);
    const TRun run = Run(args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_FALSE(run.err.empty());
  }
  EXPECT_EQ(Lines(Run({"search", Passbook(), "--from", "20240512", "--to", "20240512", "--min", "100", "--max", "100"}).out).size(), 0u);
}

// Replaces the first from with to in the month file's bytes (UTF-8 texts, CP932 bytes).
std::string Replaced(std::string bytes, const std::string& from, const std::string& to) {
  std::string a;
  std::string b;
  EXPECT_TRUE(EncodeCp932(from, a) && EncodeCp932(to, b));
  const size_t at = bytes.find(a);
  EXPECT_NE(at, std::string::npos);
  return at == std::string::npos ? bytes : bytes.replace(at, a.size(), b);
}

TEST_F(SyncCliTest, MergeNamesTheDayBothPcsChangedAndEndsOneThen) {
  const std::string month = Passbook() + "/Daily/202405.kzm";
  const std::string copy = Passbook() + "/Daily/202405 (conflicted copy 2024-05-11 080000).kzm";
  // The month as the other PC wrote it arrives; this PC books an entry over it (keeping what
  // arrived as the base) and changes an amount; the other PC changed the same entry another way.
  const std::string before = Replaced(test::ReadBytes(month), ",1200,日用品,", ",1200,日用品,届いた");
  test::WriteBytes(month, before);
  ASSERT_EQ(Run({"add", Passbook(), "20240510", "食費", "500", "--item", "テスト"}).code, 0);
  test::WriteBytes(month, Replaced(test::ReadBytes(month), ",2449,コンビニ,", ",2450,コンビニ,"));
  test::WriteBytes(copy, Replaced(before, ",2449,コンビニ,", ",2460,コンビニ,"));

  const TRun merge = Run({"merge", Passbook()});
  EXPECT_EQ(merge.code, 1) << merge.err;
  ASSERT_EQ(Lines(merge.out).size(), 1u) << merge.out;
  EXPECT_EQ(merge.out.find("Daily/202405.kzm\t"), 0u);
  EXPECT_NE(merge.out.find("2024年5月10日"), std::string::npos);
  EXPECT_EQ(Found("20240510", "日用品"), "2024/05/10,雑費,日用品,\"1,200\",カード,届いた\n");
  EXPECT_EQ(Found("20240510", "コンビニ"), "2024/05/10,食費,コンビニ,\"2,450\",現金,\n"
                                           "2024/05/10,食費,コンビニ,\"2,460\",現金,\n");
  EXPECT_EQ(Lines(Found("20240510", "テスト")).size(), 1u);
  EXPECT_FALSE(std::filesystem::exists(copy));
  const TRun again = Run({"merge", Passbook()});
  EXPECT_EQ(again.code, 0);
  EXPECT_EQ(again.out, "");
}

}  // namespace
}  // namespace kzm
