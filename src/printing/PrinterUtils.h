#pragma once

// The page metrics of a printer: paper and printable area in the printer's pixels and in
// millimetres.

class QPrinter;

namespace kzm::ui {

struct TPageMetrics {
  int printableWidth = 0;  // pixels of the area the printer can print on
  int printableHeight = 0;
  double printableWidthMm = 0;
  double printableHeightMm = 0;
  int physicalWidth = 0;  // the paper
  int physicalHeight = 0;
  double physicalWidthMm = 0;
  double physicalHeightMm = 0;
  int dpiX = 0;
  int dpiY = 0;
  int offsetX = 0;  // where the printable area starts on the paper
  int offsetY = 0;
  int rightMargin = 0;  // paper right of and below the printable area
  int bottomMargin = 0;
  double offsetXMm = 0;
  double offsetYMm = 0;
  double rightMarginMm = 0;
  double bottomMarginMm = 0;
  int scale = 100;  // percent
};

// The metrics of printer's current paper. The paper's millimetres come from the paper size
// itself, so A4 reads 210 × 297 whatever rounding its pixels went through.
[[nodiscard]] TPageMetrics GetPageMetrics(const QPrinter& printer);

}  // namespace kzm::ui
