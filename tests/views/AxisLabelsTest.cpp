#include "views/AxisLabels.h"

#include <gtest/gtest.h>

#include <vector>

namespace kzm {
namespace {

TEST(AxisLabels, ThinOutToFit) {
  struct TCase {
    const char* name;
    std::vector<TAxisLabel> labels;
    int limit;
    std::vector<bool> expected;
  } cases[] = {
      {"room for all", {{0, 30}, {50, 20}, {100, 20}, {150, 20}}, 500, {true, true, true, true}},
      {"the month after today runs into it", {{0, 32}, {30, 20}, {80, 20}, {130, 20}}, 500, {true, false, true, true}},
      {"every other month", {{0, 20}, {25, 20}, {45, 20}, {65, 20}, {85, 20}}, 500, {true, true, false, true, false}},
      {"every third month", {{0, 20}, {30, 25}, {42, 25}, {54, 25}, {66, 25}, {78, 25}, {90, 25}},
       500, {true, true, false, false, true, false, false}},
      {"past the right edge", {{0, 20}, {50, 20}, {100, 20}}, 110, {true, true, false}},
      {"today alone", {{0, 40}}, 500, {true}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LabelsThatFit(c.labels, 4, c.limit), c.expected);
  }
  EXPECT_TRUE(LabelsThatFit({}, 4, 100).empty());
}

}  // namespace
}  // namespace kzm
