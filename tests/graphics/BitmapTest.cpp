#include "graphics/Bitmap.h"

#include <gtest/gtest.h>

#include "foundation/Errors.h"

namespace kzm {
namespace {

TEST(Bitmap, RowsArePaddedToFourBytes) {
  TBitmap bmp(5, 3, 24);
  EXPECT_EQ(bmp.Stride(), 16);
  EXPECT_EQ(bmp.Row(1) - bmp.Row(0), 16);
  bmp.SetSize(5, 3, 32);
  EXPECT_EQ(bmp.Stride(), 20);
  EXPECT_EQ(bmp.Row(2)[0], 0);
}

TEST(Bitmap, DepthChangeKeepsColours) {
  TBitmap bmp(2, 1, 24);
  bmp.Row(0)[3] = 10;
  bmp.Row(0)[4] = 20;
  bmp.Row(0)[5] = 30;
  bmp.SetBitsPerPixel(32);
  ASSERT_TRUE(bmp.Is32());
  EXPECT_EQ(bmp.Row(0)[4], 10);
  EXPECT_EQ(bmp.Row(0)[6], 30);
  EXPECT_EQ(bmp.Row(0)[7], 0) << "new alpha is 0";
  bmp.SetBitsPerPixel(24);
  EXPECT_EQ(bmp.Row(0)[5], 30);
}

TEST(Bitmap, RefusesHugeSizes) {
  TBitmap bmp;
  EXPECT_THROW(bmp.SetSize(100000, 100000, 32), EkzmError);
  EXPECT_THROW(bmp.SetSize(-1, 1, 32), EkzmError);
  EXPECT_TRUE(bmp.IsEmpty());
  bmp.SetSize(0, 10, 24);
  EXPECT_TRUE(bmp.IsEmpty());
}

}  // namespace
}  // namespace kzm
