#pragma once

// The few drawing operations the spending chart needs, so that the chart can be drawn on a
// window and into a 32-bit bitmap alike. The window layer implements it; coordinates are
// pixels, right and bottom of rectangles exclusive.

#include <string_view>

#include "graphics/Geometry.h"

namespace kzm {

// Angles of pie slices are counted in steps of a whole turn, clockwise from twelve o'clock.
inline constexpr int kPieSteps = 500;

class TChartCanvas {
 public:
  virtual ~TChartCanvas() = default;

  virtual void FillRect(const TRect& rect, TColor color) = 0;
  // The slice of the circle around (cx, cy) from step from to step to (0..kPieSteps),
  // filled without an outline.
  virtual void FillPie(int cx, int cy, int radius, int from, int to, TColor color) = 0;
  virtual void FillDisc(int cx, int cy, int radius, TColor color) = 0;
  // A line with round ends; a width of 0 or 1 draws one pixel wide.
  virtual void DrawLine(int x1, int y1, int x2, int y2, int penWidth, TColor color) = 0;
  // rect filled with fill and outlined in pen (the outline centred on rect's border).
  virtual void DrawBox(const TRect& rect, TColor fill, TColor pen, int penWidth) = 0;

  // The font for the texts that follow: the chart's proportional Japanese font with a cell
  // (line) height, or a character height (the cell without the room above the characters).
  virtual void SetCellHeight(int pixels) = 0;
  virtual void SetCharHeight(int pixels) = 0;
  // Height of a line of the current font.
  [[nodiscard]] virtual int TextHeight() = 0;
  [[nodiscard]] virtual int TextWidth(std::string_view text) = 0;
  // text with the top-left of its line at (x, y), on a transparent background.
  virtual void TextOut(int x, int y, std::string_view text, TColor color) = 0;
};

}  // namespace kzm
