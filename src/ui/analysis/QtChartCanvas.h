#pragma once

// The spending chart's canvas over a QPainter, and the smooth pie drawn large into a 32-bit
// bitmap and shrunk.

#include <QFont>

#include "graphics/Bitmap.h"
#include "graphics/ChartCanvas.h"

class QPainter;

namespace kzm {
class TSGraph;
}

namespace kzm::ui {

// Shapes are drawn without antialiasing unless smoothShapes: a pie drawn large and shrunk
// gets its smooth edges from the shrinking.
class TQtChartCanvas : public kzm::TChartCanvas {
 public:
  explicit TQtChartCanvas(QPainter& painter, bool smoothShapes = false);

  void FillRect(const TRect& rect, TColor color) override;
  void FillPie(int cx, int cy, int radius, int from, int to, TColor color) override;
  void FillDisc(int cx, int cy, int radius, TColor color) override;
  void DrawLine(int x1, int y1, int x2, int y2, int penWidth, TColor color) override;
  void DrawBox(const TRect& rect, TColor fill, TColor pen, int penWidth) override;
  void SetCellHeight(int pixels) override;
  void SetCharHeight(int pixels) override;
  [[nodiscard]] int TextHeight() override;
  [[nodiscard]] int TextWidth(std::string_view text) override;
  void TextOut(int x, int y, std::string_view text, TColor color) override;

 private:
  void SetFontPixels(int pixels);

  QPainter& m_painter;
  QFont m_font;
};

// Draws graph's pie for a side × side square: factor times larger into bitmap (made 32-bit
// and side·factor square), then shrunk by HalveBitmap or ThirdBitmap, so the pie lies in the
// top-left side × side pixels. factor is 1, 2 or 3; at 1 the painter smooths the edges.
void DrawSmoothPie(kzm::TSGraph& graph, int side, int factor, TBitmap& bitmap);

}  // namespace kzm::ui
