#include "views/SpokenAmount.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

namespace kzm {
namespace {

TEST(SpokenAmount, SignIsAWordNotAColour) {
  struct TCase {
    int64_t yen;
    const char* spoken;
  } cases[] = {
      {0, "0円"},
      {1461, "1,461円"},
      {-1461, "マイナス 1,461円"},
      {-1, "マイナス 1円"},
      {-1000000, "マイナス 1,000,000円"},
      {std::numeric_limits<int64_t>::min(), "マイナス 9,223,372,036,854,775,808円"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.yen);
    EXPECT_EQ(SpokenAmount(c.yen), c.spoken);
  }
}

TEST(SpokenAmount, ACellsAmountIsSaidLikeAnAmountAndOtherTextAsItStands) {
  EXPECT_EQ(SpokenAmountText("-1,461"), "マイナス 1,461円");
  EXPECT_EQ(SpokenAmountText("3,480"), "3,480円");
  EXPECT_EQ(SpokenAmountText("298*3"), "298*3");
  EXPECT_EQ(SpokenAmountText(""), "");
}

}  // namespace
}  // namespace kzm
