#include "views/BalloonPlace.h"

#include <gtest/gtest.h>

namespace kzm {
namespace {

TEST(BalloonPlace, BetweenTheTextsAndTheButtons) {
  struct TCase {
    const char* name;
    int textBottom, buttonsTop;
    int left, top, side;
  } cases[] = {
      {"room to spare", 96, 300, 0, 204, 96},
      {"just room", 96, 192, 0, 96, 96},
      {"smaller, centred", 96, 182, 5, 96, 86},
      {"too little room", 96, 141, 0, 0, 0},
      {"buttons above the texts", 96, 60, 0, 0, 0},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TBalloonPlace p = BalloonPlace(c.textBottom, c.buttonsTop, 96, 80);
    EXPECT_EQ(p.left, c.left);
    EXPECT_EQ(p.top, c.top);
    EXPECT_EQ(p.side, c.side);
  }
}

}  // namespace
}  // namespace kzm
