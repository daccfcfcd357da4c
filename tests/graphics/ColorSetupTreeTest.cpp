#include "graphics/ColorSetupTree.h"

#include <gtest/gtest.h>

#include "foundation/ColorScheme.h"

namespace kzm {
namespace {

TEST(ColorSetupTree, TheDefaultsAsGroupsAndColours) {
  TColorsList scheme;
  scheme.LoadDefaultColors();
  TColorSetupTree tree;
  tree.Build(scheme);
  ASSERT_GT(tree.Count(), 0);
  EXPECT_EQ(tree.Node(0).name, "全般");
  EXPECT_TRUE(tree.Node(0).group);
  ASSERT_EQ(tree.FirstColor(), 1);
  EXPECT_EQ(tree.Node(1).path, "\\全般\\背景色");
  EXPECT_EQ(tree.Node(1).color, 0xFFFFFFu);

  const int pay = tree.IndexOfPath("\\月間表示\\セル\\支出1");
  ASSERT_GE(pay, 0);
  EXPECT_EQ(tree.Node(pay).level, 2);
  EXPECT_EQ(tree.Node(pay).color, 0xFFF0F0u);
  EXPECT_TRUE(tree.Node(tree.IndexOfPath("\\月間表示\\セル")).group);
  EXPECT_EQ(tree.IndexOfPath("\\月間表示\\文字\\祝日"), -1);  // not in the defaults

  // Written back unchanged, the scheme's file is the same bytes.
  TColorsList before;
  before.LoadDefaultColors();
  tree.WriteInto(scheme);
  EXPECT_EQ(scheme.SaveToBytes(), before.SaveToBytes());
}

TEST(ColorSetupTree, AnEmptyColourShowsItsFallbackAndStaysEmpty) {
  TColorsList scheme;
  scheme.LoadDefaultColors();
  (void)scheme.GetColor("月間表示\\文字\\祝日");  // a screen read it: now an empty element
  (void)scheme.GetColor("月間表示\\セル\\外枠");
  TColorSetupTree tree;
  tree.Build(scheme);
  const int holiday = tree.IndexOfPath("\\月間表示\\文字\\祝日");
  const int sunday = tree.IndexOfPath("\\月間表示\\文字\\日曜");
  const int frame = tree.IndexOfPath("\\月間表示\\セル\\外枠");
  ASSERT_GE(holiday, 0);
  EXPECT_TRUE(tree.Node(holiday).empty);
  EXPECT_EQ(tree.ShownColor(holiday), 0x0000FFu);  // the Sunday red, as the month view draws it
  EXPECT_EQ(tree.ShownColor(frame), kColorFallback);
  tree.SetColor(sunday, 0x00FF00);
  EXPECT_EQ(tree.ShownColor(holiday), 0x00FF00u);

  tree.WriteInto(scheme);
  EXPECT_EQ(scheme.Value("月間表示\\文字\\祝日"), "");
  EXPECT_EQ(scheme.GetColor("月間表示\\文字\\祝日", 0x123456), 0x123456u);
  EXPECT_EQ(scheme.Value("月間表示\\文字\\日曜"), "$00FF00");

  tree.SetColor(holiday, 0);  // black, chosen by the user
  EXPECT_FALSE(tree.Node(holiday).empty);
  tree.WriteInto(scheme);
  EXPECT_EQ(scheme.Value("月間表示\\文字\\祝日"), "$000000");

  tree.SetColor(tree.IndexOfPath("\\月間表示"), 0xFF);  // groups take no colour
  EXPECT_TRUE(tree.Node(tree.IndexOfPath("\\月間表示")).group);
}

}  // namespace
}  // namespace kzm
