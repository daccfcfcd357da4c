#include "controls/Region.h"

#include <gtest/gtest.h>

namespace kzm::ui {
namespace {

TEST(Region, CombinesRectangles) {
  TRegion r;
  EXPECT_TRUE(r.IsEmpty());
  r.AddRect(0, 0, 10, 10, kRgnOr);
  r.AddRect(5, 5, 15, 15, kRgnAnd);
  ASSERT_EQ(r.Rects().size(), 1u);
  EXPECT_EQ(r.Rects()[0], (TRect{5, 5, 10, 10}));

  r.AddRect(0, 0, 0, 0, kRgnCopy);
  EXPECT_TRUE(r.IsEmpty());
  r.Move(3, 4);
  EXPECT_TRUE(r.IsEmpty());

  r.AddRect({0, 0, 10, 10}, kRgnOr);
  r.AddRect(0, 0, 5, 10, kRgnDiff);
  EXPECT_EQ(r.Handle().boundingRect(), QRect(5, 0, 5, 10));
  r.AddRect(0, 0, 10, 10, kRgnXor);
  EXPECT_EQ(r.Handle().boundingRect(), QRect(0, 0, 5, 10));
  r.Move(10, 1);
  EXPECT_EQ(r.Rects()[0], (TRect{10, 1, 15, 11}));
}

TEST(Region, EllipsesCopiesAndBadModes) {
  TRegion r;
  r.AddEllipse(0, 0, 20, 20, kRgnOr);
  EXPECT_TRUE(r.Handle().contains(QPoint(10, 10)));
  EXPECT_FALSE(r.Handle().contains(QPoint(0, 0)));
  EXPECT_GT(r.Rects().size(), 3u);

  QRegion copy;
  {
    TRegion temporary;
    temporary.AddRect(1, 2, 3, 4, kRgnOr);
    copy = temporary.CopyHandle();
  }
  EXPECT_EQ(copy.boundingRect(), QRect(1, 2, 2, 2));

  TRegion other;
  other.Add(r, kRgnCopy);
  EXPECT_EQ(other.Handle(), r.Handle());
  try {
    other.AddRect(0, 0, 1, 1, 5);
    FAIL();
  } catch (const ERgnError& e) {
    EXPECT_STREQ(e.what(), "TRegion.Add: Add Failed");
  }
  EXPECT_EQ(other.Handle(), r.Handle()) << "unchanged after a failure";
}

}  // namespace
}  // namespace kzm::ui
