#include <gtest/gtest.h>

#include "graphics/BitmapRoutines.h"
#include "graphics/PixelHelpers.h"

namespace kzm {
namespace {

using test::At;
using test::Filled32;
using test::Put;
using test::TPixel;

// One source pixel over one destination pixel, unscaled.
TPixel BlendOne(TDrawType mode, TPixel dest, TPixel src, int opacity = 255) {
  TBitmap d = Filled32(1, 1, dest);
  const TBitmap s = Filled32(1, 1, src);
  BlendRect({&d, &s, {0, 0, 1, 1}, {0, 0, 1, 1}, opacity, mode, false});
  return At(d, 0, 0);
}

TEST(BlendRect, ModesOnOnePixel) {
  using enum TDrawType;
  const struct {
    TDrawType mode;
    TPixel dest, src;
    int opacity;
    TPixel expected;
  } cases[] = {
      {dtAlpha, {10, 20, 30, 0}, {200, 100, 50, 255}, 255, {200, 100, 50, 255}},
      {dtAlpha, {0, 0, 0, 9}, {255, 255, 255, 255}, 128, {128, 128, 128, 255}},
      {dtAlpha, {0, 0, 0, 9}, {255, 255, 255, 0}, 255, {0, 0, 0, 9}},
      {dtNone, {0, 0, 0, 9}, {255, 255, 255, 128}, 255, {128, 128, 128, 255}},
      {dtLayered, {0, 0, 0, 9}, {255, 255, 255, 128}, 255, {128, 128, 128, 255}},
      {dtCopy, {1, 2, 3, 4}, {9, 8, 7, 0}, 10, {9, 8, 7, 0}},
      {dtAdd, {100, 100, 100, 0}, {200, 200, 200, 255}, 255, {255, 255, 255, 255}},
      {dtSub, {100, 100, 100, 0}, {50, 150, 100, 255}, 255, {50, 0, 0, 255}},
      {dtMulti, {255, 128, 0, 0}, {128, 128, 128, 255}, 255, {128, 64, 0, 255}},
      {dtDiv, {100, 100, 0, 0}, {99, 0, 50, 255}, 255, {255, 255, 0, 255}},
      {dtScreen, {100, 0, 255, 0}, {100, 50, 0, 255}, 255, {160, 50, 255, 255}},
      {dtOverlay, {64, 200, 128, 0}, {0, 0, 255, 255}, 255, {0, 145, 255, 255}},
      {dtWhite, {0, 0, 0, 0}, {255, 0, 101, 255}, 255, {255, 128, 178, 255}},
      {dtBlack, {0, 0, 0, 0}, {255, 0, 101, 255}, 255, {127, 0, 50, 255}},
      {dtAlphaOver, {7, 7, 7, 0}, {10, 20, 30, 100}, 255, {10, 20, 30, 100}},
      {dtAlphaOver, {0, 0, 0, 255}, {255, 255, 255, 255}, 51, {51, 51, 51, 255}},
      {dtAlphaOver, {0, 0, 0, 100}, {200, 200, 200, 100}, 255, {125, 125, 125, 160}},
      {dtAdd, {100, 100, 100, 0}, {200, 200, 200, 255}, 0, {100, 100, 100, 0}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << static_cast<int>(c.mode) << " opacity " << c.opacity);
    EXPECT_EQ(BlendOne(c.mode, c.dest, c.src, c.opacity), c.expected);
  }
}

TBitmap Gradient(int w, int h) {
  TBitmap b(w, h, 32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) Put(b, x, y, {x * 255 / std::max(w - 1, 1), y * 255 / std::max(h - 1, 1), 77, 255});
  return b;
}

TEST(BlendRect, ClipsToDestinationAndPlacement) {
  TBitmap d = Filled32(4, 4, {0, 0, 0, 0});
  const TBitmap s = Filled32(3, 3, {9, 9, 9, 255});
  BlendRect({&d, &s, {2, 2, 5, 5}, {-10, -10, 100, 3}, 255, TDrawType::dtAlpha, false});
  EXPECT_EQ(At(d, 2, 2), (TPixel{9, 9, 9, 255}));
  EXPECT_EQ(At(d, 3, 2), (TPixel{9, 9, 9, 255}));
  EXPECT_EQ(At(d, 2, 3), (TPixel{0, 0, 0, 0})) << "below the clip";
  EXPECT_EQ(At(d, 1, 2), (TPixel{0, 0, 0, 0})) << "left of the placement";
}

TEST(BlendRect, MirrorFlipsColumns) {
  const TBitmap s = Gradient(5, 2);
  TBitmap d = Filled32(5, 2, {0, 0, 0, 0});
  BlendRect({&d, &s, {0, 0, 5, 2}, {0, 0, 5, 2}, 255, TDrawType::dtCopy, true});
  for (int x = 0; x < 5; ++x) EXPECT_EQ(At(d, x, 1), At(s, 4 - x, 1)) << x;
}

TEST(BlendRect, HalfSizeAveragesBlocks) {
  TBitmap s = Filled32(100, 100, {0, 0, 0, 255});
  for (int y = 0; y < 100; ++y)
    for (int x = 0; x < 100; ++x) Put(s, x, y, {(x % 2) * 200, (y % 2) * 100, 40, 255});
  TBitmap d = Filled32(50, 50, {0, 0, 0, 0});
  BlendRect({&d, &s, {0, 0, 50, 50}, {0, 0, 50, 50}, 255, TDrawType::dtCopy, false});
  const TPixel p = At(d, 20, 30);
  EXPECT_NEAR(p[0], 100, 1);
  EXPECT_NEAR(p[1], 50, 1);
  EXPECT_EQ(p[2], 40);
  EXPECT_EQ(p[3], 255);
}

TEST(BlendRect, MirroredShrinkEqualsShrinkOfMirror) {
  const TBitmap s = Gradient(60, 8);
  TBitmap flipped = s;
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 60; ++x) Put(flipped, x, y, At(s, 59 - x, y));
  TBitmap a = Filled32(20, 4, {0, 0, 0, 0});
  TBitmap b = a;
  BlendRect({&a, &s, {0, 0, 20, 4}, {0, 0, 20, 4}, 255, TDrawType::dtCopy, true});
  BlendRect({&b, &flipped, {0, 0, 20, 4}, {0, 0, 20, 4}, 255, TDrawType::dtCopy, false});
  for (int x = 0; x < 20; ++x) {
    SCOPED_TRACE(x);
    for (int c = 0; c < 4; ++c) EXPECT_NEAR(At(a, x, 2)[c], At(b, x, 2)[c], 2);
  }
}

TEST(BlendRect, DoubleSizeInterpolates) {
  const TBitmap s = Gradient(100, 100);
  TBitmap d = Filled32(200, 200, {0, 0, 0, 0});
  BlendRect({&d, &s, {0, 0, 200, 200}, {0, 0, 200, 200}, 255, TDrawType::dtCopy, false});
  // Source column (99 × (2·256·x + 128) / 200) / 256 ≈ x / 2 for destination column x.
  for (int x : {0, 1, 50, 101, 199}) {
    SCOPED_TRACE(x);
    const double sx = 99.0 * (x * 256 + 128) / 200 / 256;
    EXPECT_NEAR(At(d, x, 7)[0], sx * 255 / 99, 2);
  }
  // One-pixel sources are stretched without reading beyond them.
  const TBitmap dot = Filled32(1, 1, {1, 2, 3, 255});
  TBitmap wide = Filled32(9, 4, {0, 0, 0, 0});
  BlendRect({&wide, &dot, {0, 0, 9, 4}, {0, 0, 9, 4}, 255, TDrawType::dtAlpha, true});
  EXPECT_EQ(At(wide, 8, 3), (TPixel{1, 2, 3, 255}));
}

TEST(BlendRect, ScaledBlendDividesBy256) {
  const TBitmap s = Filled32(2, 2, {255, 255, 255, 128});
  TBitmap d = Filled32(4, 4, {0, 0, 0, 0});
  BlendRect({&d, &s, {0, 0, 4, 4}, {0, 0, 4, 4}, 255, TDrawType::dtAlpha, false});
  EXPECT_EQ(At(d, 1, 1), (TPixel{127, 127, 127, 255}));  // (128·255) >> 8
}

TEST(DrawBitmap32, LayeredPremultipliesAndOthersBlend) {
  TBitmap s = Filled32(2, 1, {200, 100, 50, 0});
  Put(s, 1, 0, {200, 100, 50, 51});
  TBitmap d = Filled32(3, 2, {9, 9, 9, 9});
  DrawBitmap32(1, 1, d, TDrawType::dtLayered, s);
  EXPECT_EQ(At(d, 1, 1), (TPixel{0, 0, 0, 0}));
  EXPECT_EQ(At(d, 2, 1), (TPixel{40, 20, 10, 51}));
  EXPECT_EQ(At(d, 0, 0), (TPixel{9, 9, 9, 9}));

  TBitmap e = Filled32(2, 2, {0, 0, 0, 0});
  DrawBitmap32(-1, 0, e, TDrawType::dtAdd, Filled32(2, 1, {5, 5, 5, 255}));
  EXPECT_EQ(At(e, 0, 0), (TPixel{5, 5, 5, 255}));
  EXPECT_EQ(At(e, 1, 0), (TPixel{0, 0, 0, 0}));
}

TEST(DrawAALine, CoversTheLineAndMovesThePen) {
  TBitmap b = Filled32(24, 10, {0, 0, 0, 7});
  TLinePen pen{&b, 2, 5, MakeColor(255, 255, 255), 255, 3};
  DrawAALine(pen, 17, 5);
  EXPECT_EQ(pen.x, 17);
  EXPECT_EQ(At(b, 10, 5), (TPixel{255, 255, 255, 7})) << "on the line, alpha kept";
  EXPECT_EQ(At(b, 10, 6)[0], 255) << "inside the width";
  EXPECT_EQ(At(b, 10, 7)[0], 255 - 0) << "at distance 2: edge coverage 255 - 0";
  EXPECT_EQ(At(b, 10, 8)[0], 0) << "beyond the width";
  EXPECT_EQ(At(b, 19, 5)[0], 255) << "round cap: distance 2 from the end";
  EXPECT_EQ(At(b, 21, 5)[0], 0) << "beyond the cap";

  TBitmap thin = Filled32(5, 5, {0, 0, 0, 0});
  TLinePen faint{&thin, 0, 2, MakeColor(0, 0, 255), 128, 1};
  DrawAALine(faint, 4, 2);
  // round(0.5) is 0, so the line is all rim: full coverage at distance 0, none at 1.
  EXPECT_EQ(At(thin, 2, 2)[0], 128);
  EXPECT_EQ(At(thin, 2, 3)[0], 0);
}

}  // namespace
}  // namespace kzm
