#include "foundation/IntegerList.h"
#include "foundation/ValueStringList.h"

#include <gtest/gtest.h>

namespace kzm {
namespace {

TEST(TiStringList, ValuesLookupsAndStableSort) {
  TiStringList list;
  EXPECT_EQ(list.AddValue("春分の日", 3), 0);
  list.AddValue("Apple", 1);
  list.AddValue("b", 3);
  list.AddValue("c", 2);
  EXPECT_EQ(list.ValueOf("APPLE"), 1);
  EXPECT_EQ(list.ValueOf("none"), -1);
  EXPECT_EQ(list.IndexOfValue(3), 0);
  EXPECT_EQ(list.IndexOfValue(9), -1);
  list.SortByValue(true);
  EXPECT_EQ(list.Strings(0), "Apple");
  EXPECT_EQ(list.Strings(1), "c");
  EXPECT_EQ(list.Strings(2), "春分の日");  // equal values keep their order
  EXPECT_EQ(list.Strings(3), "b");
  list.SortByValue(false);
  EXPECT_EQ(list.Strings(0), "春分の日");
  EXPECT_EQ(list.Strings(1), "b");
  EXPECT_EQ(list.Strings(3), "Apple");
  EXPECT_FALSE(list.Ascending());
}

TEST(TIntegerList, GrowsOnDemand) {
  TIntegerList list;
  EXPECT_EQ(list.Items(5), 0);
  EXPECT_EQ(list.Count(), 6);
  list.SetItems(8, -4);
  EXPECT_EQ(list.Count(), 9);
  EXPECT_EQ(list.IndexOf(-4), 8);
  EXPECT_EQ(list.IndexOf(0), 0);
  EXPECT_EQ(list.Add(7), 9);
  list.Clear();
  EXPECT_EQ(list.IndexOf(0), -1);
}

}  // namespace
}  // namespace kzm
