#include "graphics/ColorPick.h"

#include <gtest/gtest.h>

#include "foundation/ColorModel.h"

namespace kzm {
namespace {

struct TShown {
  TColor color;
  int hue, saturation, value;
  friend bool operator==(const TShown&, const TShown&) = default;
};

TShown Shown(const TColorPick& pick) { return {pick.Color(), pick.Hue(), pick.Saturation(), pick.Value()}; }

void PrintTo(const TShown& s, std::ostream* os) {
  *os << std::hex << s.color << std::dec << " H" << s.hue << " S" << s.saturation << " V" << s.value;
}

// What the picker shows for a colour, and for a hue, saturation and value.
TShown OfRgb(int r, int g, int b) {
  const THsv hsv = RgbToHsv(r, g, b);
  return {MakeColor(r, g, b), hsv.hue, hsv.saturation, hsv.value};
}
TShown OfHsv(int h, int s, int v) {
  const TRgb rgb = HsvToRgb(h, s, v);
  return {MakeColor(rgb.red, rgb.green, rgb.blue), h, s, v};
}

TEST(ColorPick, EachWayOfSettingKeepsTheOthersInStep) {
  struct Case {
    const char* what;
    void (*set)(TColorPick&);
    TShown expected;
  };
  const Case cases[] = {
      {"red above 255 is clamped", [](TColorPick& p) { p.SetByColor(300, 0, 0); }, {0x0000FF, 0, 100, 100}},
      {"negative components are clamped", [](TColorPick& p) { p.SetByColor(-4, 255, 0); }, {0x00FF00, 120, 100, 100}},
      {"a negative hue wraps", [](TColorPick& p) { p.SetByHsv(-10, 100, 100); }, OfHsv(350, 100, 100)},
      {"hue 360 is 0", [](TColorPick& p) { p.SetByHsv(360, 100, 100); }, {0x0000FF, 0, 100, 100}},
      {"saturation and value wrap at 101", [](TColorPick& p) { p.SetByHsv(0, 101, 150); }, OfHsv(0, 0, 49)},
      {"hex text is RRGGBB", [](TColorPick& p) { p.SetByHexText("FF0000"); }, {0x0000FF, 0, 100, 100}},
      {"lower-case hex", [](TColorPick& p) { p.SetByHexText(" 0000ff "); }, {0xFF0000, 240, 100, 100}},
      {"unreadable hex is white", [](TColorPick& p) { p.SetByHexText("12G456"); }, {0xFFFFFF, 0, 0, 100}},
      {"empty hex is white", [](TColorPick& p) { p.SetByHexText(""); }, {0xFFFFFF, 0, 0, 100}},
      {"a colour value is BBGGRR", [](TColorPick& p) { p.SetByColorValue(0x123456); }, OfRgb(0x56, 0x34, 0x12)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TColorPick pick;
    c.set(pick);
    EXPECT_EQ(Shown(pick), c.expected);
  }
  EXPECT_EQ(OfHsv(350, 100, 100).color & 0xFF, 255u);  // the wrapped hue is a red
}

TEST(ColorPick, HexTextShowsRedFirst) {
  TColorPick pick;
  pick.SetByColorValue(0x0000FF);
  EXPECT_EQ(pick.HexText(), "FF0000");
  pick.SetByColor(1, 2, 171);
  EXPECT_EQ(pick.HexText(), "0102AB");
}

TEST(ColorPick, SlidersTakeTheValueBeforeTheSaturation) {
  TColorPick pick;
  pick.SetByHsv(200, 80, 90);
  pick.SetBySliders(80, 90);  // nothing moved
  EXPECT_EQ(Shown(pick).hue, 200);
  EXPECT_EQ(pick.Saturation(), 80);
  pick.SetBySliders(30, 50);
  EXPECT_EQ(pick.Hue(), 200);
  EXPECT_EQ(pick.Saturation(), 30);
  EXPECT_EQ(pick.Value(), 50);
  const TRgb rgb = HsvToRgb(200, 30, 50);
  EXPECT_EQ(pick.Color(), MakeColor(rgb.red, rgb.green, rgb.blue));
}

TEST(ColorPick, HueStripAndPalette) {
  EXPECT_EQ(HueAtStripX(0, 110), 0);
  EXPECT_EQ(HueAtStripX(109, 110), 359);
  EXPECT_EQ(HueAtStripX(-20, 110), 0);    // dragged past the left end
  EXPECT_EQ(HueAtStripX(500, 110), 359);  // and past the right end
  EXPECT_EQ(HueAtStripX(55, 110), 55 * 359 / 109);
  EXPECT_EQ(StripXOfHue(359, 110), 109);
  EXPECT_EQ(StripXOfHue(180, 110), 180 * 109 / 359);

  EXPECT_EQ(PaletteColors()[8], 0x0000FFu);
  EXPECT_EQ(PaletteColors()[63], 0xFFFFFFu);
  // The picker is 236 × 374 and its palette starts 10 pixels below the value slider.
  EXPECT_EQ(PaletteSwatch(0, 236, 374, 161), (TRect{8, 161, 35, 185}));
  EXPECT_EQ(PaletteSwatch(63, 236, 374, 161), (TRect{204, 336, 231, 360}));
}

TEST(ColorPick, TypedNumbers) {
  EXPECT_EQ(PickerNumber("300"), 300);
  EXPECT_EQ(PickerNumber(" -10 "), -10);
  EXPECT_EQ(PickerNumber("1a"), 0);
  EXPECT_EQ(PickerNumber(""), 0);
}

}  // namespace
}  // namespace kzm
