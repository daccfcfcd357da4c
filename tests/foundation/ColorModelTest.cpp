#include "foundation/ColorModel.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace kzm {
namespace {

TEST(ColorModel, Helpers) {
  EXPECT_EQ(Max3(1, 7, 3), 7);
  EXPECT_EQ(Min3(4, -2, 3), -2);
  EXPECT_EQ(SwapRedBlue(0x00112233u), 0x00332211u);
  EXPECT_EQ(SwapRedBlue(0xFF112233u), 0x00332211u);
}

TEST(ColorModel, KnownColours) {
  struct Case {
    TRgb rgb;
    THsv hsv;
  };
  const Case cases[] = {
      {{255, 0, 0}, {0, 100, 100}},   {{0, 255, 0}, {120, 100, 100}}, {{0, 0, 255}, {240, 100, 100}},
      {{255, 255, 0}, {60, 100, 100}}, {{0, 0, 0}, {0, 0, 0}},        {{255, 255, 255}, {0, 0, 100}},
      {{128, 128, 128}, {0, 0, 50}},   {{255, 0, 255}, {300, 100, 100}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rgb.red << "," << c.rgb.green << "," << c.rgb.blue);
    EXPECT_EQ(RgbToHsv(c.rgb.red, c.rgb.green, c.rgb.blue), c.hsv);
  }
  EXPECT_EQ(HsvToRgb(0, 100, 100), (TRgb{255, 0, 0}));
  EXPECT_EQ(HsvToRgb(0, 0, 100), (TRgb{255, 255, 255}));
  EXPECT_EQ(HsvToRgb(200, 50, 0), (TRgb{0, 0, 0}));
}

TEST(ColorModel, RoundTripStaysClose) {
  for (int r = 0; r < 256; r += 15) {
    for (int g = 0; g < 256; g += 15) {
      for (int b = 0; b < 256; b += 15) {
        const THsv hsv = RgbToHsv(r, g, b);
        ASSERT_GE(hsv.hue, 0);
        ASSERT_LT(hsv.hue, 360);
        const TRgb back = HsvToRgb(hsv.hue, hsv.saturation, hsv.value);
        SCOPED_TRACE(testing::Message() << r << "," << g << "," << b);
        EXPECT_LE(std::abs(back.red - r) + std::abs(back.green - g) + std::abs(back.blue - b), 24);
      }
    }
  }
}

}  // namespace
}  // namespace kzm
