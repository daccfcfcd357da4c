#include "foundation/ColorModel.h"

#include <algorithm>

namespace kzm {

int Max3(int a, int b, int c) { return std::max({a, b, c}); }

int Min3(int a, int b, int c) { return std::min({a, b, c}); }

uint32_t SwapRedBlue(uint32_t colour) {
  return (colour & 0xFF) << 16 | (colour & 0xFF00) | (colour >> 16 & 0xFF);
}

THsv RgbToHsv(int red, int green, int blue) {
  red = std::clamp(red, 0, 255);
  green = std::clamp(green, 0, 255);
  blue = std::clamp(blue, 0, 255);
  const int m = Max3(red, green, blue);
  if (m == 0) return {};
  THsv hsv;
  hsv.value = m * 100 / 255;
  // Stretch to full brightness, then take the grey part out to find the saturation.
  int r = red * 255 / m;
  int g = green * 255 / m;
  int b = blue * 255 / m;
  const int n = Min3(r, g, b);
  hsv.saturation = 100 - n * 100 / 255;
  r -= n;
  g -= n;
  b -= n;
  const int k = Max3(r, g, b);
  if (k == 0) return hsv;
  r = r * 255 / k;
  g = g * 255 / k;
  b = b * 255 / k;
  // Position on the colour wheel as six runs of 255 steps; later rules win.
  int scaled = 0;
  if (r == 0) {
    if (g == 255) scaled = 510 + b;
    if (b == 255) scaled = 1020 - g;
  }
  if (g == 0) {
    if (r == 255) scaled = 1530 - b;
    if (b == 255) scaled = 1020 + r;
  }
  if (b == 0) {
    if (r == 255) scaled = g;
    if (g == 255) scaled = 510 - r;
  }
  hsv.hue = scaled * 360 / 1530 % 360;
  return hsv;
}

TRgb HsvToRgb(int hue, int saturation, int value) {
  hue = std::clamp(hue, 0, 359);
  saturation = std::clamp(saturation, 0, 100);
  value = std::clamp(value, 0, 100);
  const int h = hue * 1535 / 359;
  const int sector = h / 256;
  int rgb[3] = {};
  switch (sector) {
    case 0: rgb[0] = 255, rgb[1] = h, rgb[2] = 0; break;
    case 1: rgb[0] = 511 - h, rgb[1] = 255, rgb[2] = 0; break;
    case 2: rgb[0] = 0, rgb[1] = 255, rgb[2] = h - 512; break;
    case 3: rgb[0] = 0, rgb[1] = 1023 - h, rgb[2] = 255; break;
    case 4: rgb[0] = h - 1024, rgb[1] = 0, rgb[2] = 255; break;
    default: rgb[0] = 255, rgb[1] = 0, rgb[2] = 1535 - h; break;
  }
  for (int& c : rgb) {
    c = (c * saturation + (100 - saturation) * 255) / 100;
    c = c * value / 100;
  }
  return TRgb{rgb[0], rgb[1], rgb[2]};
}

}  // namespace kzm
