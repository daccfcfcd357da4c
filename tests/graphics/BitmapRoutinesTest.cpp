#include "graphics/BitmapRoutines.h"

#include <gtest/gtest.h>

#include "foundation/Errors.h"
#include "graphics/PixelHelpers.h"

namespace kzm {
namespace {

using test::At;
using test::Filled32;
using test::Put;
using test::TPixel;

TEST(BitmapRoutines, FillAndSetChannels) {
  TBitmap b = Filled32(3, 2, {1, 2, 3, 4});
  FillBitmap32(b, 0x80112233);
  EXPECT_EQ(At(b, 2, 1), (TPixel{0x11, 0x22, 0x33, 0x80}));
  SetBitmapRGB(b, 0x00AABBCC);
  EXPECT_EQ(At(b, 0, 0), (TPixel{0xAA, 0xBB, 0xCC, 0x80}));
  SetBitmapAlpha(b, 9);
  EXPECT_EQ(At(b, 1, 1)[3], 9);

  TBitmap rgb(2, 2, 24);
  EXPECT_THROW(FillBitmap32(rgb, 0), EkzmError);
  SetBitmapAlpha(rgb, 9);  // silently ignored
  SetBitmapRGB(rgb, 0xFFFFFF);
  EXPECT_EQ(rgb.Row(0)[0], 0);
}

TEST(BitmapRoutines, KeyColourBecomesTransparent) {
  TBitmap b = Filled32(3, 1, {255, 0, 255, 7});
  Put(b, 1, 0, {254, 0, 255, 7});
  KeyColorToAlpha(b, 200);
  EXPECT_EQ(At(b, 0, 0)[3], 0);
  EXPECT_EQ(At(b, 1, 0)[3], 200);
  EXPECT_EQ(At(b, 2, 0)[3], 0);
}

TEST(BitmapRoutines, GradientAlphaInterpolatesCorners) {
  TBitmap b = Filled32(4, 2, {0, 0, 0, 200});
  GradientAlpha(b, 256, 256, 256, 256);
  EXPECT_EQ(At(b, 3, 1)[3], 200) << "256 everywhere keeps alpha";
  GradientAlpha(b, 256, 0, 0, 256);
  EXPECT_EQ(At(b, 0, 0)[3], 200);
  EXPECT_EQ(At(b, 2, 0)[3], 100);  // half way across
  EXPECT_EQ(At(b, 3, 1)[3], 50);
}

TEST(BitmapRoutines, ShrinksIntoTheCorner) {
  TBitmap b = Filled32(5, 5, {9, 9, 9, 9});
  Put(b, 0, 0, {4, 8, 12, 255});
  Put(b, 1, 1, {0, 0, 0, 1});
  HalveBitmap(b);
  EXPECT_EQ(At(b, 0, 0), (TPixel{(4 + 0 + 18) >> 2, (8 + 18) >> 2, (12 + 18) >> 2, (255 + 1 + 18) >> 2}));
  EXPECT_EQ(At(b, 1, 1), (TPixel{9, 9, 9, 9}));
  EXPECT_EQ(At(b, 4, 4), (TPixel{9, 9, 9, 9})) << "outside the 2 × 2 result stays";

  TBitmap t = Filled32(7, 3, {18, 0, 0, 0});
  Put(t, 2, 2, {0, 90, 0, 0});
  ThirdBitmap(t);
  EXPECT_EQ(At(t, 0, 0), (TPixel{16, 10, 0, 0}));
  EXPECT_EQ(At(t, 1, 0), (TPixel{18, 0, 0, 0}));
}

TEST(BitmapRoutines, TintAndEmboss) {
  TBitmap b = Filled32(2, 1, {100, 100, 100, 3});
  TBitmap mask(3, 3, 24);
  mask.Row(0)[0] = 255;
  mask.Row(0)[3] = 51;
  TintByMask(b, mask, MakeColor(250, 0, 0));
  EXPECT_EQ(At(b, 0, 0), (TPixel{0, 0, 250, 255}));
  EXPECT_EQ(At(b, 1, 0), (TPixel{80, 80, 130, 255}));

  TBitmap e = Filled32(3, 3, {100, 100, 100, 5});
  TBitmap map(3, 3, 24);
  map.Row(1)[0] = 50;   // left: +10
  map.Row(0)[3] = 40;   // up: +10
  map.Row(1)[6] = 25;   // right: -5
  map.Row(2)[3] = 255;  // down: -63
  EmbossByMap(e, map);
  EXPECT_EQ(At(e, 1, 1), (TPixel{52, 52, 52, 5}));
  EXPECT_EQ(At(e, 0, 0), (TPixel{100, 100, 100, 5})) << "border untouched";
}

TEST(ColorRoutines, Table) {
  EXPECT_EQ(GrayTone(0x000000), 0x808080u);
  EXPECT_EQ(GrayTone(0xFFFFFF), 0xDFDFDFu);
  EXPECT_EQ(MixColor(0x0000FF, 0xFF0000, 255), 0x0000FFu);
  EXPECT_EQ(MixColor(0x0000FF, 0xFF0000, 0), 0xFF0000u);
  EXPECT_EQ(MixColor(0x0000FF, 0x000000, 51), 0x000033u);
  EXPECT_EQ(LightenColor(0x204060, 100), 0x204060u);
  EXPECT_EQ(LightenColor(0x204060, 0), 0xFFFFFFu);
  EXPECT_EQ(LightenColor(0x000000, 50), 0x808080u);
  EXPECT_EQ(DarkenColor(0x204060, 50), 0x102030u);
  EXPECT_EQ(DarkenColor(0x204060, 0), 0u);
}

TEST(RectRoutines, IntersectAndUnion) {
  TRect a{0, 0, 10, 10};
  IntersectRectInPlace(a, {5, 5, 15, 15});
  EXPECT_EQ(a, (TRect{5, 5, 10, 10}));
  TRect apart{0, 0, 10, 10};
  IntersectRectInPlace(apart, {20, 0, 30, 10});
  EXPECT_EQ(apart.right, apart.left);
  TRect flat{0, 0, 10, 10};
  IntersectRectInPlace(flat, {0, 10, 10, 20});
  EXPECT_EQ(flat.right, flat.left) << "zero height collapses too";

  TRect u{3, 3, 3, 9};
  UnionRectInPlace(u, {1, 2, 4, 5});
  EXPECT_EQ(u, (TRect{1, 2, 4, 5}));
  UnionRectInPlace(u, {10, 0, 11, 3});
  EXPECT_EQ(u, (TRect{1, 0, 11, 5}));
}

}  // namespace
}  // namespace kzm
