#include <gtest/gtest.h>

#include "common/CrLfText.h"
#include "foundation/Codec.h"
#include "sync/FileMerges.h"
#include "sync/LineMerge.h"

namespace kzm {
namespace {

using test::WithCrLf;

std::string Cp932(const std::string& text) {
  std::string bytes;
  EXPECT_TRUE(EncodeCp932(WithCrLf(text), bytes));
  return bytes;
}

// The merge of two versions of the file (UTF-8 texts, stored as CP932 lines), decoded.
TFileResult Merge(const std::string& name, const std::string& ours, const std::string& theirs, bool oursNewer = true) {
  TVersions versions{{Cp932(ours), oursNewer ? 2 : 1}, {{Cp932(theirs), oursNewer ? 1 : 2}}};
  TFileResult result = MergeFile(KindOfFile(name), name, nullptr, versions);
  result.bytes = DecodeCp932(result.bytes);
  return result;
}

TEST(KeyedMerge, BudgetsCardsAndRulesMergeByKeyKeepingLinesNotUnderstood) {
  // A key set on one side only comes in; a key both changed keeps the newer file's line and is named.
  const TFileResult budget = Merge("Budget.csv", "202401,食費,支出,30000\n202401,交通,支出,5000\n??\n",
                                   "202401,食費,支出,32000\n202404,教養,支出,3000\n??\n!!\n");
  EXPECT_EQ(budget.bytes, WithCrLf("202401,食費,支出,30000\n202401,交通,支出,5000\n202404,教養,支出,3000\n??\n!!\n"));
  EXPECT_NE(budget.kept.find("202401,食費,支出"), std::string::npos);
  EXPECT_TRUE(budget.needsPerson.empty());
  EXPECT_EQ(Merge("Budget.csv", "202401,食費,支出,30000\n", "202401,食費,支出,32000\n", false).bytes,
            WithCrLf("202401,食費,支出,32000\n"));

  const TFileResult cards = Merge("Cards.csv", "card,Aカード,15,10,next,普通預金\n", "card,Bカード,end,27,next,普通預金\n");
  EXPECT_EQ(cards.bytes, WithCrLf("card,Aカード,15,10,next,普通預金\ncard,Bカード,end,27,next,普通預金\n"));
  EXPECT_TRUE(cards.needsPerson.empty());
  EXPECT_EQ(Merge("StatementRules.csv", "ｺﾝﾋﾞﾆ,支出,食費\n", "ｺﾝﾋﾞﾆ,支出,食費\nJR,支出,交通\n").bytes,
            WithCrLf("ｺﾝﾋﾞﾆ,支出,食費\nJR,支出,交通\n"));
}

TEST(KeyedMerge, AnOccurrenceEnteredOnEitherSideStaysEnteredOnce) {
  const std::string common = "option,NextId,3\ntemplate,1,支出,家賃,普通預金,家賃,,80000,0,monthly,1,27,20240127,,0,asis,\n";
  const TFileResult merged = Merge("Recurring.csv", "option,NextId,4\n" + common.substr(16) + "skipped,1,20240527\n",
                                   common + "entered,1,20240527,20240527,80000\nentered,1,20240427,20240427,80000\n");
  EXPECT_EQ(merged.bytes, WithCrLf("option,NextId,4\n" + common.substr(16) + "entered,1,20240527,20240527,80000\n" +
                                   "entered,1,20240427,20240427,80000\n"));
  EXPECT_TRUE(merged.needsPerson.empty());
  // Entered on both sides on different days: both entries are in the month; a person must choose.
  const TFileResult twice = Merge("Recurring.csv", common + "entered,1,20240527,20240527,80000\n",
                                  common + "entered,1,20240527,20240528,80000\n");
  EXPECT_NE(twice.needsPerson.find("二重"), std::string::npos);
}

TEST(KeyedMerge, SettingsAndCategoriesMergeKeyByKey) {
  const TFileResult ini = Merge("nbkr.ini", "[USERINFO]\nname=花子\nuse=家計\n[DATE]\nlastday=25\n",
                                "[USERINFO]\nname=花子\nuse=家計\nwinuser=pc2\n[MONTH]\ncolwidth=90\n");
  EXPECT_EQ(ini.bytes, WithCrLf("[USERINFO]\nname=花子\nuse=家計\nwinuser=pc2\n[DATE]\nlastday=25\n[MONTH]\ncolwidth=90\n"));

  const auto head = [](const std::string& name, const std::string& kind, int visible) {
    return "\t<head>\n\t\t<name>" + name + "</name>\n\t\t<kind>" + kind + "</kind>\n\t\t<visible>" +
           std::to_string(visible) + "</visible>\n\t</head>\n";
  };
  const std::string top = "<?xml version=\"1.0\" encoding=\"shift_jis\" ?>\n<data>\n";
  const TFileResult categories = Merge("Headfile.dta", top + head("食費", "支出", 1) + head("現金", "資産", 1) + "</data>\n",
                                       top + head("食費", "支出", 0) + head("ペット", "支出", 1) + "</data>\n");
  EXPECT_EQ(categories.bytes, WithCrLf(top + head("食費", "支出", 1) + head("現金", "資産", 1) + head("ペット", "支出", 1) + "</data>\n"));
  EXPECT_NE(categories.kept.find("食費"), std::string::npos);
}

TEST(KeyedMerge, WithABaseAKeyRemovedOnOneSideIsGone) {
  const std::string base = WithCrLf("a,1\nb,2\n");
  const auto keyOf = [](const std::vector<std::string>& fields) { return fields[0]; };
  const TKeyedMerge merge = MergeKeyedBytes(&base, WithCrLf("a,1\nb,3\n"), WithCrLf("b,2\nc,4\n"), keyOf, true);
  EXPECT_EQ(merge.bytes, WithCrLf("b,3\nc,4\n"));
  EXPECT_TRUE(merge.conflictKeys.empty());
}

}  // namespace
}  // namespace kzm
