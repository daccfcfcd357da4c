#include <algorithm>

#include "graphics/BitmapRoutines.h"

namespace kzm {

namespace {

template <typename F>
TColor PerChannel(TColor c, F f) {
  return MakeColor(f(RedOf(c)), f(GreenOf(c)), f(BlueOf(c)));
}

}  // namespace

TColor GrayTone(TColor c) {
  const int level = (RedOf(c) + GreenOf(c) + BlueOf(c)) / 8 + 128;
  return MakeColor(level, level, level);
}

TColor MixColor(TColor a, TColor b, int weight) {
  const auto mix = [&](int x, int y) { return (weight * x + (255 - weight) * y) / 255; };
  return MakeColor(mix(RedOf(a), RedOf(b)), mix(GreenOf(a), GreenOf(b)), mix(BlueOf(a), BlueOf(b)));
}

TColor LightenColor(TColor c, int percent) {
  return PerChannel(c, [&](int ch) { return percent * ch / 100 + 255 - percent * 255 / 100; });
}

TColor DarkenColor(TColor c, int percent) {
  return PerChannel(c, [&](int ch) { return percent * ch / 100; });
}

void IntersectRectInPlace(TRect& a, const TRect& b) {
  a.left = std::max(a.left, b.left);
  a.top = std::max(a.top, b.top);
  a.right = std::min(a.right, b.right);
  a.bottom = std::min(a.bottom, b.bottom);
  if (a.right <= a.left || a.bottom <= a.top) a.right = a.left;
}

void UnionRectInPlace(TRect& a, const TRect& b) {
  if (a.left == a.right) {
    a = b;
    return;
  }
  a.left = std::min(a.left, b.left);
  a.top = std::min(a.top, b.top);
  a.right = std::max(a.right, b.right);
  a.bottom = std::max(a.bottom, b.bottom);
}

}  // namespace kzm
