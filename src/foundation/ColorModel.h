#pragma once

// Colour-model conversions of the colour picker, in integer arithmetic (division truncating
// towards zero) so that a colour picked, converted and converted back lands where the
// picker expects it.

#include <cstdint>

namespace kzm {

struct THsv {
  int hue = 0;         // 0–359
  int saturation = 0;  // 0–100
  int value = 0;       // 0–100
  friend bool operator==(const THsv&, const THsv&) = default;
};

struct TRgb {
  int red = 0;  // each 0–255
  int green = 0;
  int blue = 0;
  friend bool operator==(const TRgb&, const TRgb&) = default;
};

[[nodiscard]] int Max3(int a, int b, int c);
[[nodiscard]] int Min3(int a, int b, int c);
// Exchanges the lowest and the third byte of a 24-bit colour; the highest byte is dropped.
[[nodiscard]] uint32_t SwapRedBlue(uint32_t colour);
// Components 0–255 in; hue 0–359, saturation and value 0–100 out.
[[nodiscard]] THsv RgbToHsv(int red, int green, int blue);
// Hue 0–359, saturation and value 0–100 in (values outside are clamped); 0–255 out.
[[nodiscard]] TRgb HsvToRgb(int hue, int saturation, int value);

}  // namespace kzm
