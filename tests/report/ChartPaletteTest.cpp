#include "report/ChartPalette.h"

#include <gtest/gtest.h>

#include <set>

namespace kzm {
namespace {

TEST(ChartPalette, FixedColoursThenDistinctDrawnOnes) {
  TIntegerList palette = BuildChartPalette();
  ASSERT_EQ(palette.Count(), 77);
  EXPECT_EQ(palette.Items(0), 0xA0A0FF);
  EXPECT_EQ(palette.Items(12), 0xA0A0A0);
  std::set<int32_t> seen;
  const std::set<int32_t> components = {0x80, 0xA0, 0xC0, 0xE0, 0xFF};
  for (int i = 0; i < palette.Count(); ++i) {
    const int32_t c = palette.Items(i);
    EXPECT_TRUE(seen.insert(c).second) << "colour " << i << " repeats";
    if (i >= 13) {
      SCOPED_TRACE(i);
      EXPECT_TRUE(components.count(c & 0xFF) && components.count((c >> 8) & 0xFF) && components.count(c >> 16));
    }
  }
  // Every run draws the same colours.
  TIntegerList again = BuildChartPalette();
  for (int i = 0; i < palette.Count(); ++i) EXPECT_EQ(again.Items(i), palette.Items(i));
}

}  // namespace
}  // namespace kzm
