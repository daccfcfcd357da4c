#include "graphics/SpendingGraph.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <vector>

namespace kzm {
namespace {

struct TAmount {
  std::string name;
  std::int64_t amount;
};

TSGraph GraphOf(const std::vector<TAmount>& amounts) {
  TSGraph graph;
  TColor color = 0x010101;
  for (const TAmount& a : amounts) graph.Add(a.name, a.amount, color++);
  return graph;
}

std::vector<std::string> NamesOf(const TSGraph& graph) {
  std::vector<std::string> names;
  for (const TSGraphEntry& e : graph.Entries()) names.push_back(e.name);
  return names;
}

std::int64_t SumOf(const TSGraph& graph) {
  std::int64_t sum = 0;
  for (const TSGraphEntry& e : graph.Entries()) sum += e.amount;
  return sum;
}

TEST(SpendingGraph, EntriesBelowOnePerMilleGoIntoOtherInSizeOrder) {
  // Total 1,034,000: 1 per mille is 1,034, so the thirty entries of 900 go, the 2,000 stays.
  std::vector<TAmount> amounts = {{"住居", 1'000'000}, {"食費", 5'000}, {"教養", 2'000}};
  for (int i = 0; i < 30; ++i) amounts.push_back({"小" + std::to_string(i), 900});
  TSGraph graph = GraphOf(amounts);
  graph.GroupSmallEntries();

  EXPECT_EQ(NamesOf(graph), (std::vector<std::string>{"住居", "その他", "食費", "教養"}));
  const TSGraphEntry& other = graph.Entries()[1];
  EXPECT_EQ(other.amount, 27'000);
  EXPECT_EQ(other.color, kOtherEntryColor);
  EXPECT_EQ(graph.Total(), 1'034'000);
  std::vector<std::int32_t> shares;
  for (const TSGraphEntry& e : graph.Entries()) shares.push_back(e.share);
  EXPECT_EQ(shares, (std::vector<std::int32_t>{967, 26, 4, 1}));  // rounded down
}

// An entry of exactly the limit stays a slice of its own; one yen less goes into その他.
TEST(SpendingGraph, AnEntryAtTheLimitIsNotFolded) {
  // Total 1,000,000: one per mille is 1,000.
  TSGraph graph = GraphOf({{"住居", 997'001}, {"切手", 1'000}, {"駄菓子", 999}, {"ガム", 1'000}});
  graph.GroupSmallEntries();
  EXPECT_EQ(NamesOf(graph), (std::vector<std::string>{"住居", "切手", "ガム", "その他"}));
  EXPECT_EQ(graph.Entries().back().amount, 999);
}

TEST(SpendingGraph, CategoryNamedOtherCollectsTheSmallEntries) {
  TSGraph graph = GraphOf({{"食費", 100'000}, {"その他", 3'000}, {"切手", 50}, {"駄菓子", 40}});
  graph.GroupSmallEntries();
  ASSERT_EQ(graph.Entries().size(), 2u);
  EXPECT_EQ(graph.Entries()[1].name, "その他");
  EXPECT_EQ(graph.Entries()[1].amount, 3'090);
  EXPECT_EQ(graph.Entries()[1].color, 0x010102u);  // keeps its own colour
}

TEST(SpendingGraph, TwentyFiveSimilarCategoriesAreGroupedDownToTwenty) {
  // 1,000, 1,010, … 1,240 of a total of 28,000: grouping must rise to 38 per mille (1,064)
  // before no more than twenty entries are left.
  std::vector<TAmount> amounts;
  for (int i = 0; i < 25; ++i) amounts.push_back({"項目" + std::to_string(i), 1'000 + 10 * i});
  TSGraph graph = GraphOf(amounts);
  graph.GroupSmallEntries();

  ASSERT_EQ(graph.Entries().size(), 19u);
  EXPECT_EQ(graph.Entries()[0].name, "その他");
  EXPECT_EQ(graph.Entries()[0].amount, 1'000 + 1'010 + 1'020 + 1'030 + 1'040 + 1'050 + 1'060);
  EXPECT_EQ(SumOf(graph), graph.Total());
  for (std::size_t i = 1; i < graph.Entries().size(); ++i)
    EXPECT_GE(graph.Entries()[i - 1].amount, graph.Entries()[i].amount) << i;
}

TEST(SpendingGraph, GroupingTwiceChangesNothing) {
  TSGraph graph = GraphOf({{"a", 10}, {"b", 100'000}, {"c", 5}});
  graph.GroupSmallEntries();
  const std::vector<std::string> first = NamesOf(graph);
  graph.GroupSmallEntries();
  EXPECT_EQ(NamesOf(graph), first);
  EXPECT_EQ(SumOf(graph), 100'015);
}

TEST(SpendingGraph, SharesOfLargeAmountsDoNotOverflow) {
  // Over 2^31 yen per mille: the shares still come out right.
  TSGraph graph = GraphOf({{"住宅購入", 30'000'000}, {"食費", 10'000'000}});
  graph.GroupSmallEntries();
  EXPECT_EQ(graph.Entries()[0].share, 750);
  EXPECT_EQ(graph.Entries()[1].share, 250);
}

TEST(SpendingGraph, LabelsOnlyAboveFiftyPerMilleLastEntryFirst) {
  TSGraph graph = GraphOf({{"住居", 650}, {"食費", 249}, {"交通", 51}, {"娯楽", 50}});
  std::vector<std::string> labelled;
  for (const TPieLabel& label : graph.PieLabels(200, 200)) labelled.push_back(label.name);
  EXPECT_EQ(labelled, (std::vector<std::string>{"交通", "食費", "住居"}));
}

TEST(SpendingGraph, LabelsSitThreeQuartersOutAtTheSliceMiddle) {
  // 200 × 200: centre (100, 100), radius 90, labels (90 / 4) · 3 = 66 out, rounded by
  // trunc(v + 0.5), which moves a negative half toward the centre.
  struct Case {
    std::vector<TAmount> amounts;
    std::vector<std::pair<int, int>> centres;  // last entry first
  };
  const Case cases[] = {
      {{{"全部", 1'000}}, {{100, 166}}},
      {{{"右", 500}, {"左", 500}}, {{35, 100}, {166, 100}}},
      {{{"大", 750}, {"小", 250}}, {{100 - 46, 100 - 46}, {100 + 47, 100 + 47}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amounts.size());
    TSGraph graph = GraphOf(c.amounts);
    std::vector<std::pair<int, int>> centres;
    for (const TPieLabel& label : graph.PieLabels(200, 200)) centres.emplace_back(label.x, label.y);
    EXPECT_EQ(centres, c.centres);
  }
}

TEST(SpendingGraph, LegendRowsShowPerMilleAsPercent) {
  struct Case {
    std::vector<TAmount> amounts;
    std::vector<std::string> percents;
  };
  const Case cases[] = {
      {{}, {}},
      {{{"a", 333}, {"b", 667}}, {"66.7%", "33.3%"}},
      {{{"a", 1}, {"b", 1}, {"c", 1}}, {"33.3%", "33.3%", "33.3%"}},  // adds up to 99.9%
      {{{"a", 1'000}}, {"100.0%"}},
      {{{"a", 95}, {"b", 905}}, {"90.5%", "9.5%"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.amounts.size());
    TSGraph graph = GraphOf(c.amounts);
    std::vector<std::string> percents;
    for (const TLegendRow& row : graph.LegendLayout(338, 338, 233, 0).rows) percents.push_back(row.percent);
    EXPECT_EQ(percents, c.percents);
  }
}

TEST(SpendingGraph, LegendRowsStartOneRowDownAndFitTheWidth) {
  TSGraph graph = GraphOf({{"食費", 12'345}, {"交通", 678}});
  // Height 338: row unit 16, padding 2.
  const TLegendLayout layout = graph.LegendLayout(300, 338, 200, 10);
  ASSERT_EQ(layout.rows.size(), 2u);
  const TLegendRow& first = layout.rows[0];
  EXPECT_EQ(first.swatch, (TRect{300, 10 + 16 + 2, 316, 10 + 32}));
  EXPECT_EQ(first.amount, "12,345");
  EXPECT_EQ(first.amountRight, 500 - 6);
  EXPECT_EQ(first.percentRight, 300 + 4 + 48);
  EXPECT_EQ(first.nameLeft, 300 + 8 + 48);
  EXPECT_EQ(layout.rows[1].lineY, 10 + 48);
}

TEST(SpendingGraph, PieSideAndDrawingFactor) {
  struct Case {
    int width, height, side, factor;
  };
  const Case cases[] = {
      {571, 338, 338, 2},   // the window's first size
      {300, 250, 200, 3},   // two thirds of the width
      {400, 250, 250, 3},   // 250 is still drawn three times larger
      {400, 251, 251, 2},
      {800, 500, 500, 2},
      {800, 501, 501, 1},
      {1200, 900, 800, 1},
      {200, 150, 134, 3},   // the smallest window
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.width << "x" << c.height);
    EXPECT_EQ(ChartPieSide(c.width, c.height), c.side);
    EXPECT_EQ(ChartDrawFactor(c.side), c.factor);
  }
}

}  // namespace
}  // namespace kzm
