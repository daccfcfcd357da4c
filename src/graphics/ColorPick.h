#pragma once

// The arithmetic of the colour picker: one colour seen as red, green and blue, as hue,
// saturation and value, and as the hexadecimal RRGGBB text, kept in step whichever side the
// user changes; the hue strip's positions; the fixed palette and where its swatches sit.

#include <array>
#include <string>
#include <string_view>

#include "graphics/Geometry.h"

namespace kzm {

class TColorPick {
 public:
  // Each component clamped to 0–255; hue, saturation and value follow.
  void SetByColor(int red, int green, int blue);
  // A colour in the layout BBGGRR.
  void SetByColorValue(TColor color);
  // Hue wrapped into 0–359 (negative values from the top), saturation and value into 0–100
  // the same way; red, green and blue follow.
  void SetByHsv(int hue, int saturation, int value);
  // Six hexadecimal digits RRGGBB as the user types them; text that is no hexadecimal number
  // gives white.
  void SetByHexText(std::string_view text);
  // The saturation and value sliders moved: the value is taken first, then the saturation.
  void SetBySliders(int saturation, int value);

  [[nodiscard]] TColor Color() const { return m_color; }  // BBGGRR
  [[nodiscard]] int Red() const { return RedOf(m_color); }
  [[nodiscard]] int Green() const { return GreenOf(m_color); }
  [[nodiscard]] int Blue() const { return BlueOf(m_color); }
  [[nodiscard]] int Hue() const { return m_hue; }
  [[nodiscard]] int Saturation() const { return m_saturation; }
  [[nodiscard]] int Value() const { return m_value; }
  // "RRGGBB", upper case.
  [[nodiscard]] std::string HexText() const;

 private:
  TColor m_color = 0;
  int m_hue = 0;
  int m_saturation = 0;
  int m_value = 0;
};

// A whole number typed into one of the picker's fields; 0 when the text is none.
[[nodiscard]] int PickerNumber(std::string_view text);

// The hue under column x of a hue strip width pixels wide (x clamped into the strip), and
// the column of a hue.
[[nodiscard]] int HueAtStripX(int x, int width);
[[nodiscard]] int StripXOfHue(int hue, int width);

inline constexpr int kPaletteColumns = 8;
inline constexpr int kPaletteRows = 8;
inline constexpr int kPaletteCount = kPaletteColumns * kPaletteRows;
// Swatches a colour may be dropped on (the rest of the palette stays fixed).
inline constexpr int kPaletteDropTargets = 30;

// The palette's colours, row by row, in the layout BBGGRR.
[[nodiscard]] const std::array<TColor, kPaletteCount>& PaletteColors();
// Swatch index of the palette inside a frame of frameWidth × frameHeight whose first row
// starts at top: its rectangle (one pixel narrower and lower than its cell).
[[nodiscard]] TRect PaletteSwatch(int index, int frameWidth, int frameHeight, int top);

}  // namespace kzm
