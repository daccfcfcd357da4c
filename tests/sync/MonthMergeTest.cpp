#include <gtest/gtest.h>

#include "common/CrLfText.h"
#include "sync/LineMerge.h"

namespace kzm {
namespace {

using test::WithCrLf;

// Lines of a month file (UTF-8 here: the merge never looks inside a line past its date).
const std::string kRice = "20240503,支出,食費,資産,現金,500,米,\n";
const std::string kBus = "20240503,支出,交通,資産,現金,220,バス,\n";
const std::string kTea = "20240504,支出,食費,資産,現金,150,お茶,\n";
const std::string kBook = "20240510,支出,教養,資産,現金,1200,本,\n";

TEST(MonthMerge, AddsOnBothSidesAreKeptOnceInDayOrder) {
  const std::string base = WithCrLf(kRice + kBook);
  const std::string ours = WithCrLf(kRice + kTea + kBook);
  const std::string theirs = WithCrLf(kRice + kBus + kTea + kBook);  // the same tea added there too
  const TMonthMerge merge = MergeMonthBytes(&base, ours, theirs);
  EXPECT_EQ(merge.bytes, WithCrLf(kRice + kBus + kTea + kBook));
  EXPECT_EQ(merge.added, 1);
  EXPECT_TRUE(merge.conflictDays.empty());
  EXPECT_EQ(merge.common, WithCrLf(kRice + kTea + kBook));
}

TEST(MonthMerge, ADeleteOnOneSideWinsOverAnUntouchedLine) {
  const std::string base = WithCrLf(kRice + kBus + kBook);
  const TMonthMerge merge = MergeMonthBytes(&base, WithCrLf(kRice + kBus + kBook + kTea), WithCrLf(kRice + kBook));
  EXPECT_EQ(merge.bytes, WithCrLf(kRice + kBook + kTea));
  EXPECT_EQ(merge.removed, 1);
  EXPECT_TRUE(merge.conflictDays.empty());
}

TEST(MonthMerge, AnEntryChangedDifferentlyOnBothSidesKeepsBothAndNamesTheDay) {
  const std::string base = WithCrLf(kRice + kBook);
  const std::string ours = WithCrLf("20240503,支出,食費,資産,現金,550,米,\n" + kBook);
  const std::string theirs = WithCrLf("20240503,支出,食費,資産,現金,500,米,5kg\n" + kBook);
  const TMonthMerge merge = MergeMonthBytes(&base, ours, theirs);
  EXPECT_EQ(merge.bytes, WithCrLf("20240503,支出,食費,資産,現金,550,米,\n20240503,支出,食費,資産,現金,500,米,5kg\n" + kBook));
  EXPECT_EQ(merge.conflictDays, std::vector<int32_t>{20240503});
  // Changed on one side only: no conflict, the change holds.
  const TMonthMerge one = MergeMonthBytes(&base, ours, base);
  EXPECT_EQ(one.bytes, ours);
  EXPECT_TRUE(one.conflictDays.empty());
}

TEST(MonthMerge, WithoutABaseEachLineAsOftenAsTheSideThatHasItMost) {
  // Two equal coffees here, one there: two stay. Days where both hold lines the other
  // lacks are named, since nothing tells a change from an addition.
  const std::string ours = WithCrLf(kRice + kRice + kTea);
  const std::string theirs = WithCrLf(kRice + kBus + "20240504,支出,食費,資産,現金,180,お茶,\n");
  const TMonthMerge merge = MergeMonthBytes(nullptr, ours, theirs);
  EXPECT_EQ(merge.bytes, WithCrLf(kRice + kRice + kBus + kTea + "20240504,支出,食費,資産,現金,180,お茶,\n"));
  EXPECT_EQ(merge.conflictDays, (std::vector<int32_t>{20240503, 20240504}));
}

TEST(MonthMerge, UnknownLinesAndDayMemosComeThroughAsTheyWere) {
  const std::string odd = "garbage line, kept\n";
  const std::string memo = "20240503,メモ,メモ,メモ,メモ,0,買い物\\n帰りに銀行,\n";
  const std::string base = WithCrLf(kRice + odd + kBook);
  const std::string ours = WithCrLf(kRice + memo + odd + kBook);
  const std::string theirs = WithCrLf(kRice + "20240503,メモ,メモ,メモ,メモ,0,病院,\n" + odd + kBook);
  const TMonthMerge merge = MergeMonthBytes(&base, ours, theirs);
  // A line of no day goes with the day before it; the other side's lines come after those.
  EXPECT_EQ(merge.bytes, WithCrLf(kRice + memo + odd + "20240503,メモ,メモ,メモ,メモ,0,病院,\n" + kBook));
  // Both memos are kept; a memo is no replaced line, so nothing is named.
  EXPECT_TRUE(merge.conflictDays.empty());
  // The last line without its line end still counts as the same line.
  const std::string cut = WithCrLf(kRice + kBook);
  EXPECT_EQ(MergeMonthBytes(&base, cut.substr(0, cut.size() - 2), cut).bytes, cut);
}

}  // namespace
}  // namespace kzm
