#pragma once

namespace kzm::ui {

// A scroll bar that counts whole scrollable cells. Max and Page are meant as a page-based
// bar understands them: the thumb covers Page of the Max − Min + 1 positions.
struct TScrollBarSetup {
  bool Enabled = false;
  int Min = 0;
  int Max = 0;
  int Page = 0;
  int Position = 0;  // first visible scrollable cell − fixed count
};

// The bar of an axis with `count` cells of which `fixed` are fixed, showing `visibleCount`
// full cells from `firstCell` on, and able to put at most `maxFirstCell` first. A disabled
// bar keeps the range it had (`previous`).
[[nodiscard]] TScrollBarSetup ScrollBarSetup(int count, int fixed, int firstCell, int visibleCount,
                                             int maxFirstCell, const TScrollBarSetup& previous);

enum class TScrollRequest {
  LineUp,
  LineDown,
  PageUp,
  PageDown,
  ThumbTrack,
  ThumbPosition,
  Top,
  Bottom,
};

// The first scrollable cell after a scroll request, kept between fixed and maxFirstCell.
// `thumb` is the thumb position of ThumbTrack and ThumbPosition.
[[nodiscard]] int ScrollTarget(TScrollRequest request, int firstCell, int fixed, int maxFirstCell,
                               int visibleCount, int thumb);

}  // namespace kzm::ui
