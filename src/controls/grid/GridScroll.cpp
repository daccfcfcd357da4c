#include "controls/grid/GridScroll.h"

#include <algorithm>

namespace kzm::ui {

TScrollBarSetup ScrollBarSetup(int count, int fixed, int firstCell, int visibleCount,
                               int maxFirstCell, const TScrollBarSetup& previous) {
  TScrollBarSetup bar = previous;
  bar.Enabled = fixed < maxFirstCell;
  if (bar.Enabled) {
    bar.Min = 0;
    bar.Max = count - fixed - 1;
    bar.Page = visibleCount;
  }
  bar.Position = firstCell - fixed;
  return bar;
}

int ScrollTarget(TScrollRequest request, int firstCell, int fixed, int maxFirstCell,
                 int visibleCount, int thumb) {
  const int page = std::max(1, visibleCount);
  int target = firstCell;
  switch (request) {
    case TScrollRequest::LineUp: target = firstCell - 1; break;
    case TScrollRequest::LineDown: target = firstCell + 1; break;
    case TScrollRequest::PageUp: target = firstCell - page; break;
    case TScrollRequest::PageDown: target = firstCell + page; break;
    case TScrollRequest::ThumbTrack:
    case TScrollRequest::ThumbPosition: target = fixed + thumb; break;
    case TScrollRequest::Top: target = fixed; break;
    case TScrollRequest::Bottom: target = maxFirstCell; break;
  }
  return std::clamp(target, fixed, std::max(fixed, maxFirstCell));
}

}  // namespace kzm::ui
