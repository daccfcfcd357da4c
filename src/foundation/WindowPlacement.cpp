#include "foundation/WindowPlacement.h"

#include <algorithm>

namespace kzm {

TPoint CascadeForm(TPoint form, std::span<const TPoint> others, const TWindowRect& workArea, int windowCount) {
  if (windowCount < 3) return form;
  TPoint p = form;
  // Each restart moves the place on; a bounded number of restarts ends a wrap-around cycle
  // (the form then stays where it is).
  const size_t maxRestarts = 4 * others.size() + 16;
  for (size_t restart = 0; restart <= maxRestarts; ++restart) {
    bool moved = false;
    for (const TPoint& other : others) {
      if (other != p) continue;
      p.x += 32;
      p.y += 32;
      if (p.x > workArea.Right()) p.x = other.x;
      if (p.y > workArea.Bottom()) p.y = other.y;
      if (p == other) return form;
      moved = true;
      break;
    }
    if (!moved) return p;
  }
  return form;
}

TPoint CentreOn(const TWindowRect& opener, int width, int height, const TWindowRect& workArea) {
  TPoint p{opener.left + (opener.width - width) / 2, opener.top + (opener.height - height) / 2};
  p.x = std::max(std::min(p.x, workArea.Right() - width), workArea.left);
  p.y = std::max(std::min(p.y, workArea.Bottom() - height), workArea.top);
  return p;
}

TWindowRect KeepOnScreen(const TWindowRect& window, std::span<const TWindowRect> workAreas, int screenWidth, int screenHeight) {
  for (const TWindowRect& area : workAreas) {
    const bool topInside = window.top >= area.top - 8 && window.top < area.Bottom() - 8;
    const bool leftInside = window.left >= area.left - 4 && window.left < area.Right();
    const bool rightInside = window.Right() >= area.left && window.Right() < area.Right() - 4;
    // At least a third of the window must show: a place saved on a larger or unscaled screen
    // can keep a corner inside while the rest hangs off the edge.
    const long long visibleWidth = std::max(0, std::min(window.Right(), area.Right()) - std::max(window.left, area.left));
    const long long visibleHeight = std::max(0, std::min(window.Bottom(), area.Bottom()) - std::max(window.top, area.top));
    const bool thirdShows = 3 * visibleWidth * visibleHeight >= 1LL * window.width * window.height;
    if (topInside && (leftInside || rightInside) && thirdShows) return window;
  }
  TWindowRect r = window;
  if (screenWidth < r.width) r.width = screenWidth;
  if (screenHeight < r.height) r.height = screenHeight;
  r.left = (screenWidth - r.width) / 2;
  r.top = (screenHeight - r.height) / 2;
  return r;
}

}  // namespace kzm
