#include <algorithm>
#include <cstring>
#include <vector>

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

// The common case, a picture laid over the scene at full opacity: opaque pixels are
// copied and transparent ones skipped, one 32-bit word at a time.
void AlphaRow(std::uint8_t* d, const std::uint8_t* s, int count, unsigned opacity) {
  if (opacity != 255) {
    for (int i = 0; i < count; ++i, d += 4, s += 4) Lay<TDrawType::dtAlpha, false>(d, s, opacity);
    return;
  }
  for (int i = 0; i < count; ++i) {
    std::uint32_t px;
    std::memcpy(&px, s + 4 * i, 4);
    const std::uint32_t a = px >> 24;
    if (a == 255) {
      std::memcpy(d + 4 * i, &px, 4);
    } else if (a != 0) {
      Lay<TDrawType::dtAlpha, false>(d + 4 * i, s + 4 * i, 255);
    }
  }
}

template <TDrawType Mode>
void UnscaledRows(TBitmap& dest, const TBitmap& src, const TRect& placement, const TRect& clip, unsigned opacity,
                  bool mirror) {
  for (int y = clip.top; y < clip.bottom; ++y) {
    std::uint8_t* d = dest.Row(y) + 4 * clip.left;
    const std::uint8_t* row = src.Row(y - placement.top);
    int sx = clip.left - placement.left;
    if (!mirror) {
      const std::uint8_t* s = row + 4 * sx;
      if constexpr (Mode == TDrawType::dtAlpha) {
        AlphaRow(d, s, clip.right - clip.left, opacity);
      } else {
        for (int x = clip.left; x < clip.right; ++x, d += 4, s += 4) Lay<Mode, false>(d, s, opacity);
      }
    } else {
      sx = src.Width() - 1 - sx;
      for (int x = clip.left; x < clip.right; ++x, d += 4, --sx) Lay<Mode, false>(d, row + 4 * sx, opacity);
    }
  }
}

template <TDrawType Mode>
void ScaledRows(TBitmap& dest, const TBitmap& src, const TRect& placement, const TRect& clip, unsigned opacity,
                bool mirror) {
  const TScaledSampler sampler(src, placement.Width(), placement.Height(), mirror);
  std::uint8_t pixel[4];
  for (int y = clip.top; y < clip.bottom; ++y) {
    std::uint8_t* d = dest.Row(y) + 4 * clip.left;
    const int oy = y - placement.top;
    for (int x = clip.left; x < clip.right; ++x, d += 4) {
      sampler.Sample(x - placement.left, oy, pixel);
      Lay<Mode, true>(d, pixel, opacity);
    }
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
