#include <algorithm>
#include <cstring>
#include <vector>

#include "graphics/BlendAlphaRow.h"
#include "graphics/BlendModes.h"
#include "graphics/BlendSampling.h"

namespace kzm {

namespace {

using blend::Lay;

TRect Bounds(const TBitmap& b) { return {0, 0, b.Width(), b.Height()}; }

// Calls f.template operator()<Mode>() with the mode as a compile-time constant, so each
// mode gets its own tight pixel loop.
template <typename F>
void WithMode(TDrawType mode, F&& f) {
  switch (mode) {
    case TDrawType::dtCopy: f.template operator()<TDrawType::dtCopy>(); break;
    case TDrawType::dtAdd: f.template operator()<TDrawType::dtAdd>(); break;
    case TDrawType::dtSub: f.template operator()<TDrawType::dtSub>(); break;
    case TDrawType::dtMulti: f.template operator()<TDrawType::dtMulti>(); break;
    case TDrawType::dtDiv: f.template operator()<TDrawType::dtDiv>(); break;
    case TDrawType::dtScreen: f.template operator()<TDrawType::dtScreen>(); break;
    case TDrawType::dtOverlay: f.template operator()<TDrawType::dtOverlay>(); break;
    case TDrawType::dtWhite: f.template operator()<TDrawType::dtWhite>(); break;
    case TDrawType::dtBlack: f.template operator()<TDrawType::dtBlack>(); break;
    case TDrawType::dtAlphaOver: f.template operator()<TDrawType::dtAlphaOver>(); break;
    default: f.template operator()<TDrawType::dtAlpha>(); break;
  }
}

// Lays a row of count source pixels onto the destination.
template <TDrawType Mode, bool Scaled>
void LayRow(std::uint8_t* d, const std::uint8_t* s, int count, unsigned opacity) {
  if constexpr (Mode == TDrawType::dtAlpha) {
    blend::AlphaRow(d, s, count, opacity, Scaled);
  } else if constexpr (Mode == TDrawType::dtCopy) {
    std::memcpy(d, s, 4 * static_cast<std::size_t>(count));
  } else {
    for (int i = 0; i < count; ++i, d += 4, s += 4) Lay<Mode, Scaled>(d, s, opacity);
  }
}

template <TDrawType Mode>
void UnscaledRows(TBitmap& dest, const TBitmap& src, const TRect& placement, const TRect& clip, unsigned opacity,
                  bool mirror) {
  const int count = clip.Width();
  if constexpr (Mode == TDrawType::dtAlpha) {
    if (!mirror) {
      // All rows in one call, so that the vector routines set up once.
      const std::uint8_t* first = src.Row(clip.top - placement.top) + 4 * (clip.left - placement.left);
      blend::AlphaRows({dest.Row(clip.top) + 4 * clip.left, dest.Stride(), first, src.Stride(), count, clip.Height()},
                       opacity, false);
      return;
    }
  }
  std::vector<std::uint32_t> flipped(mirror ? static_cast<std::size_t>(count) : 0);
  for (int y = clip.top; y < clip.bottom; ++y) {
    std::uint8_t* d = dest.Row(y) + 4 * clip.left;
    const std::uint8_t* row = src.Row(y - placement.top);
    const int sx = clip.left - placement.left;
    if (!mirror) {
      LayRow<Mode, false>(d, row + 4 * sx, count, opacity);
      continue;
    }
    // Read the columns backwards into a buffer, then lay it like an unmirrored row.
    const std::uint8_t* last = row + 4 * (src.Width() - 1 - sx);
    for (int i = 0; i < count; ++i) std::memcpy(&flipped[static_cast<std::size_t>(i)], last - 4 * i, 4);
    LayRow<Mode, false>(d, reinterpret_cast<const std::uint8_t*>(flipped.data()), count, opacity);
  }
}

template <TDrawType Mode>
void ScaledRows(TBitmap& dest, const TBitmap& src, const TRect& placement, const TRect& clip, unsigned opacity,
                bool mirror) {
  const int count = clip.Width();
  TScaledSampler sampler({src.Width(), src.Height(), placement.Width(), placement.Height(), mirror,
                          clip.left - placement.left, count},
                         src);
  std::vector<std::uint8_t> sampled(4 * static_cast<std::size_t>(count));
  for (int y = clip.top; y < clip.bottom; ++y) {
    sampler.SampleRow(y - placement.top, sampled.data());
    LayRow<Mode, true>(dest.Row(y) + 4 * clip.left, sampled.data(), count, opacity);
  }
}

void Draw(TBitmap& dest, const TBitmap& src, const TRect& placement, TRect clip, int opacity, TDrawType mode,
          bool mirror) {
  if (opacity <= 0 || !dest.Is32() || !src.Is32() || src.IsEmpty() || placement.IsEmpty()) return;
  const auto level = static_cast<unsigned>(std::min(opacity, 255));
  IntersectRectInPlace(clip, Bounds(dest));
  IntersectRectInPlace(clip, placement);
  if (clip.Width() < 1 || clip.Height() < 1) return;
  const bool unscaled = placement.Width() == src.Width() && placement.Height() == src.Height();
  WithMode(mode, [&]<TDrawType Mode>() {
    if (unscaled) {
      UnscaledRows<Mode>(dest, src, placement, clip, level, mirror);
    } else {
      ScaledRows<Mode>(dest, src, placement, clip, level, mirror);
    }
  });
}

// Premultiplied copy for layered windows.
void LayeredCopy(TBitmap& target, const TBitmap& source, int x, int y) {
  TRect clip{x, y, x + source.Width(), y + source.Height()};
  IntersectRectInPlace(clip, Bounds(target));
  if (clip.Width() < 1 || clip.Height() < 1) return;
  for (int ty = clip.top; ty < clip.bottom; ++ty) {
    std::uint8_t* d = target.Row(ty) + 4 * clip.left;
    const std::uint8_t* s = source.Row(ty - y) + 4 * (clip.left - x);
    for (int tx = clip.left; tx < clip.right; ++tx, d += 4, s += 4) {
      const unsigned a = s[3];
      for (int c = 0; c < 3; ++c) d[c] = static_cast<std::uint8_t>(a == 255 ? s[c] : s[c] * a / 255);
      d[3] = static_cast<std::uint8_t>(a);
    }
  }
}

}  // namespace

void BlendRect(const TBlendRequest& r) {
  if (!r.dest || !r.source) return;
  Draw(*r.dest, *r.source, r.placement, r.clip, r.opacity, r.mode, r.mirror);
}

void DrawBitmap32(int x, int y, TBitmap& target, TDrawType mode, const TBitmap& source) {
  if (!target.Is32() || !source.Is32()) return;
  if (mode == TDrawType::dtLayered) {
    LayeredCopy(target, source, x, y);
    return;
  }
  Draw(target, source, {x, y, x + source.Width(), y + source.Height()}, Bounds(target), 255, mode, false);
}

}  // namespace kzm
