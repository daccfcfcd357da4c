#include "graphics/ColorPick.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

#include "foundation/ColorModel.h"
#include "foundation/Text.h"

namespace kzm {

namespace {

int Wrap(int n, int modulus) { return ((n % modulus) + modulus) % modulus; }

}  // namespace

void TColorPick::SetByColor(int red, int green, int blue) {
  red = std::clamp(red, 0, 255);
  green = std::clamp(green, 0, 255);
  blue = std::clamp(blue, 0, 255);
  const THsv hsv = RgbToHsv(red, green, blue);
  m_hue = hsv.hue;
  m_saturation = hsv.saturation;
  m_value = hsv.value;
  m_color = MakeColor(red, green, blue);
}

void TColorPick::SetByColorValue(TColor color) { SetByColor(RedOf(color), GreenOf(color), BlueOf(color)); }

void TColorPick::SetByHsv(int hue, int saturation, int value) {
  m_hue = Wrap(hue, 360);
  m_saturation = Wrap(saturation, 101);
  m_value = Wrap(value, 101);
  const TRgb rgb = HsvToRgb(m_hue, m_saturation, m_value);
  m_color = MakeColor(rgb.red, rgb.green, rgb.blue);
}

void TColorPick::SetByHexText(std::string_view text) {
  text = Trim(text);
  uint32_t rgb = 0xFFFFFF;
  uint32_t parsed = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), parsed, 16);
  if (!text.empty() && ec == std::errc() && end == text.data() + text.size()) rgb = parsed;
  SetByColorValue(SwapRedBlue(rgb));
}

void TColorPick::SetBySliders(int saturation, int value) {
  if (value != m_value) SetByHsv(m_hue, m_saturation, value);
  if (saturation != m_saturation) SetByHsv(m_hue, saturation, m_value);
}

std::string TColorPick::HexText() const {
  char text[16];
  std::snprintf(text, sizeof text, "%6.6X", static_cast<unsigned>(SwapRedBlue(m_color)));
  return text;
}

int PickerNumber(std::string_view text) {
  text = Trim(text);
  int n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  return ec == std::errc() && end == text.data() + text.size() ? n : 0;
}

int HueAtStripX(int x, int width) {
  if (width < 2) return 0;
  return std::clamp(x, 0, width - 1) * 359 / (width - 1);
}

int StripXOfHue(int hue, int width) { return width < 2 ? 0 : hue * (width - 1) / 359; }

const std::array<TColor, kPaletteCount>& PaletteColors() {
  static const std::array<TColor, kPaletteCount> colors = {
      0xE0E0FF, 0xE8F8FF, 0xE0FFFF, 0xE0FFE0, 0xFFFFE0, 0xFFF0E0, 0xFFE0E0, 0xFFE0FF,  //
      0x0000FF, 0x4A45EF, 0x314EEA, 0x3F00BE, 0x4031AD, 0x4B4794, 0x3D457A, 0x354062,  //
      0x00FFFF, 0x0ED6ED, 0x00AEED, 0x00C7E3, 0x5DA6C8, 0x68A1D4, 0x3B88B8, 0x617486,  //
      0x00FF00, 0x6EB600, 0x7EA300, 0x507B00, 0x527E68, 0x1EA697, 0x54673C, 0x3E4324,  //
      0xFFFF00, 0xE0E000, 0xAEED00, 0xC7E300, 0xA6C850, 0xA1D460, 0x88B83B, 0x748650,  //
      0xFF0000, 0xEF4A45, 0xEA314E, 0xBE3F00, 0xAD4031, 0x944B47, 0x7A3D45, 0x623540,  //
      0xFF00FF, 0xE000E0, 0xED00AE, 0xE300C7, 0xC850A6, 0xD460A1, 0xB83B88, 0x865074,  //
      0x000000, 0x202020, 0x404040, 0x808080, 0xAAAAAA, 0xC0C0C0, 0xE0E0E0, 0xFFFFFF,  //
  };
  return colors;
}

TRect PaletteSwatch(int index, int frameWidth, int frameHeight, int top) {
  const int cellWidth = (frameWidth - 12) / kPaletteColumns;
  const int cellHeight = (frameHeight - top - 8) / kPaletteRows;
  const int left = 8 + index % kPaletteColumns * cellWidth;
  const int y = top + index / kPaletteColumns * cellHeight;
  return {left, y, left + cellWidth - 1, y + cellHeight - 1};
}

}  // namespace kzm
