// The row-at-a-time blending (several pixels per step, spans worked out once) must give
// exactly what laying each pixel on its own gives. The reference below is that plain
// pixel-by-pixel drawing.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <tuple>
#include <utility>

#include "graphics/BitmapRoutines.h"
#include "graphics/BlendModes.h"

namespace kzm {
namespace {

// The source pixel for placed pixel (x, y) when drawn at pw × ph.
void SampleOne(const TBitmap& s, std::int64_t pw, std::int64_t ph, bool mirror, std::int64_t x, std::int64_t y,
               std::uint8_t out[4]) {
  const std::int64_t ws = s.Width(), hs = s.Height();
  if (pw < ws) {
    const std::int64_t r0 = hs * (y * 256) / ph, r1 = std::min((y * 256 + 255) * hs / ph, hs * 256 - 1);
    std::int64_t c0 = ws * (x * 256) / pw, c1 = std::min((x * 256 + 255) * ws / pw, ws * 256 - 1);
    if (mirror) std::tie(c0, c1) = std::pair(ws * 256 - 1 - c1, ws * 256 - 1 - c0);
    std::int64_t sum[4] = {0, 0, 0, 0}, total = 0;
    for (std::int64_t row = r0 >> 8; row <= r1 >> 8; ++row) {
      const std::int64_t rw = row == r1 >> 8 ? r1 & 255 : row == r0 >> 8 ? 256 - (r0 & 255) : 256;
      for (std::int64_t col = c0 >> 8; col <= c1 >> 8; ++col) {
        std::int64_t w = 0;
        if (col == c0 >> 8) w += (256 - (c0 & 255)) * rw / 256;
        if (col == c1 >> 8) w += (c1 & 255) * rw / 256;
        if (col != c0 >> 8 && col != c1 >> 8) w = rw;
        for (int c = 0; c < 4; ++c) sum[c] += w * s.Row(static_cast<int>(row))[4 * col + c];
        total += w;
      }
    }
    for (int c = 0; c < 4; ++c) {
      out[c] = total ? static_cast<std::uint8_t>(sum[c] / total)
                     : s.Row(static_cast<int>(r0 >> 8))[4 * (c0 >> 8) + c];
    }
    return;
  }
  const std::int64_t sx = (ws - 1) * (x * 256 + 128) / pw, sy = (hs - 1) * (y * 256 + 128) / ph;
  const auto fx = static_cast<unsigned>(sx & 255), fy = static_cast<unsigned>(sy & 255);
  const int i = static_cast<int>(sx >> 8), j = static_cast<int>(sy >> 8), w = s.Width(), h = s.Height();
  const int col = std::clamp(mirror ? w - 1 - i : i, 0, w - 1);
  const int next = std::clamp(mirror ? w - 2 - i : i + 1, 0, w - 1);
  const std::uint8_t* upper = s.Row(std::min(j, h - 1));
  const std::uint8_t* lower = s.Row(std::min(j + 1, h - 1));
  const unsigned wa = (256 - fx) * (256 - fy), wb = fx * (256 - fy), wc = (256 - fx) * fy, wd = fx * fy;
  for (int k = 0; k < 4; ++k) {
    out[k] = static_cast<std::uint8_t>((wa * upper[4 * col + k] + wb * upper[4 * next + k] +
                                        wc * lower[4 * col + k] + wd * lower[4 * next + k]) >> 16);
  }
}

template <TDrawType Mode>
void ReferenceBlend(const TBlendRequest& r) {
  TRect clip = r.clip;
  IntersectRectInPlace(clip, {0, 0, r.dest->Width(), r.dest->Height()});
  IntersectRectInPlace(clip, r.placement);
  const TBitmap& s = *r.source;
  const bool scaled = r.placement.Width() != s.Width() || r.placement.Height() != s.Height();
  for (int y = clip.top; y < clip.bottom; ++y) {
    for (int x = clip.left; x < clip.right; ++x) {
      const int px = x - r.placement.left, py = y - r.placement.top;
      std::uint8_t pixel[4];
      if (scaled) {
        SampleOne(s, r.placement.Width(), r.placement.Height(), r.mirror, px, py, pixel);
        blend::Lay<Mode, true>(r.dest->Row(y) + 4 * x, pixel, static_cast<unsigned>(r.opacity));
      } else {
        const int sx = r.mirror ? s.Width() - 1 - px : px;
        blend::Lay<Mode, false>(r.dest->Row(y) + 4 * x, s.Row(py) + 4 * sx, static_cast<unsigned>(r.opacity));
      }
    }
  }
}

void Reference(const TBlendRequest& r) {
  switch (r.mode) {
    case TDrawType::dtCopy: ReferenceBlend<TDrawType::dtCopy>(r); break;
    case TDrawType::dtMulti: ReferenceBlend<TDrawType::dtMulti>(r); break;
    case TDrawType::dtWhite: ReferenceBlend<TDrawType::dtWhite>(r); break;
    default: ReferenceBlend<TDrawType::dtAlpha>(r); break;
  }
}

// Runs of transparent, opaque and partly transparent pixels, as in our pictures, so that
// whole groups of pixels take each shortcut and groups mixing them do too.
TBitmap RandomBitmap(std::mt19937& random, int w, int h, int longestRun = 9) {
  TBitmap b(w, h, 32);
  std::uniform_int_distribution<int> byte(0, 255), kind(0, 2), run(1, longestRun);
  int left = 0, alphaKind = 0;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      if (left-- == 0) {
        left = run(random);
        alphaKind = kind(random);
      }
      std::uint8_t* p = b.Row(y) + 4 * x;
      for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(byte(random));
      p[3] = static_cast<std::uint8_t>(alphaKind == 0 ? 0 : alphaKind == 1 ? 255 : byte(random));
    }
  }
  return b;
}

TEST(BlendRect, RowsMatchPixelByPixelDrawing) {
  std::mt19937 random(7);
  const struct {
    int sw, sh, pw, ph;
  } sizes[] = {{1, 1, 1, 1},   {3, 2, 3, 2},    {37, 5, 37, 5},  {40, 30, 20, 15}, {17, 9, 5, 4},
               {13, 7, 12, 9}, {5, 4, 13, 11},  {1, 1, 7, 3},    {9, 3, 9, 8},     {300, 2, 3, 1},
               {16, 3, 16, 3}};
  const TDrawType modes[] = {TDrawType::dtAlpha, TDrawType::dtCopy, TDrawType::dtMulti, TDrawType::dtWhite};
  for (const auto& size : sizes) {
    const TBitmap source = RandomBitmap(random, size.sw, size.sh);
    const TBitmap background = RandomBitmap(random, size.pw + 6, size.ph + 4);
    for (TDrawType mode : modes) {
      for (int opacity : {255, 254, 128, 3}) {
        for (bool mirror : {false, true}) {
          for (bool clipped : {false, true}) {
            SCOPED_TRACE(testing::Message() << size.sw << "x" << size.sh << " as " << size.pw << "x" << size.ph
                                            << " mode " << static_cast<int>(mode) << " opacity " << opacity
                                            << " mirror " << mirror << " clipped " << clipped);
            const TRect placement{2, 1, 2 + size.pw, 1 + size.ph};
            const TRect clip = clipped ? TRect{3, 2, 2 + size.pw, 100} : TRect{0, 0, 100, 100};
            TBitmap fast = background, slow = background;
            BlendRect({&fast, &source, placement, clip, opacity, mode, mirror});
            Reference({&slow, &source, placement, clip, opacity, mode, mirror});
            ASSERT_TRUE(std::equal(fast.Row(0), fast.Row(0) + fast.Stride() * fast.Height(), slow.Row(0)));
          }
        }
      }
    }
  }
}

// Shrinking to any size, narrow or wide, short or tall: a little, summed in float lanes, and
// so much that the sums outgrow them.
TEST(BlendRect, ShrinksToManySizesMatchPixelByPixelDrawing) {
  std::mt19937 random(11);
  std::uniform_int_distribution<int> side(2, 120), coin(0, 1);
  for (int i = 0; i < 80; ++i) {
    const int sw = side(random), sh = side(random);
    const int pw = std::uniform_int_distribution<int>(1, sw - 1)(random);
    const int ph = std::uniform_int_distribution<int>(1, 2 * sh)(random);
    const bool mirror = coin(random) == 1;
    const int opacity = coin(random) == 1 ? 255 : 100;
    SCOPED_TRACE(testing::Message() << sw << "x" << sh << " as " << pw << "x" << ph << " mirror " << mirror
                                    << " opacity " << opacity << " case " << i);
    const TBitmap source = RandomBitmap(random, sw, sh);
    const TBitmap background = RandomBitmap(random, pw + 3, ph + 2);
    TBitmap fast = background, slow = background;
    const TRect placement{1, 2, 1 + pw, 2 + ph};
    // Drawing may start anywhere in the placement.
    const TRect clip{std::uniform_int_distribution<int>(0, pw)(random), 0, 200, 300};
    BlendRect({&fast, &source, placement, clip, opacity, TDrawType::dtAlpha, mirror});
    Reference({&slow, &source, placement, clip, opacity, TDrawType::dtAlpha, mirror});
    ASSERT_TRUE(std::equal(fast.Row(0), fast.Row(0) + fast.Stride() * fast.Height(), slow.Row(0)));
  }
}

// Long runs of one kind, so that whole blocks of sixteen pixels are skipped or copied, and
// blocks where only one half could be are laid pixel by pixel.
TEST(BlendRect, LongRunsMatchPixelByPixelDrawing) {
  std::mt19937 random(5);
  for (const bool scaled : {false, true}) {
    for (int opacity : {255, 200}) {
      SCOPED_TRACE(testing::Message() << "scaled " << scaled << " opacity " << opacity);
      const TBitmap source = RandomBitmap(random, 150, 6, 40);
      const TBitmap background = RandomBitmap(random, 152, 8);
      const TRect placement{1, 1, 1 + (scaled ? 75 : 150), 1 + (scaled ? 3 : 6)};
      TBitmap fast = background, slow = background;
      BlendRect({&fast, &source, placement, {0, 0, 152, 8}, opacity, TDrawType::dtAlpha, false});
      Reference({&slow, &source, placement, {0, 0, 152, 8}, opacity, TDrawType::dtAlpha, false});
      ASSERT_TRUE(std::equal(fast.Row(0), fast.Row(0) + fast.Stride() * fast.Height(), slow.Row(0)));
    }
  }
}

// A draw that differs from the one before in a single respect, or only in the picture, must
// not be sampled with anything left from the one before.
TEST(BlendRect, ShrinkAfterAnotherShrinkMatchesPixelByPixelDrawing) {
  std::mt19937 random(3);
  const TBitmap first = RandomBitmap(random, 40, 30), second = RandomBitmap(random, 40, 30);
  const TBitmap wider = RandomBitmap(random, 41, 30), taller = RandomBitmap(random, 40, 31);
  const TBitmap background = RandomBitmap(random, 40, 30);
  const struct {
    const char* change;
    const TBitmap* source;
    int pw, ph;
    bool mirror;
    int clipLeft, clipRight;
  } draws[] = {
      {"picture", &second, 20, 15, false, 0, 40},      {"placed width", &first, 21, 15, false, 0, 40},
      {"placed height", &first, 20, 14, false, 0, 40}, {"mirror", &first, 20, 15, true, 0, 40},
      {"first column", &first, 20, 15, false, 3, 40},  {"column count", &first, 20, 15, false, 0, 12},
      {"source width", &wider, 20, 15, false, 0, 40},  {"source height", &taller, 20, 15, false, 0, 40},
  };
  for (const auto& d : draws) {
    SCOPED_TRACE(d.change);
    TBitmap before = background;
    BlendRect({&before, &first, {0, 0, 20, 15}, {0, 0, 40, 30}, 255, TDrawType::dtAlpha, false});
    TBitmap fast = background, slow = background;
    const TRect placement{0, 0, d.pw, d.ph}, clip{d.clipLeft, 0, d.clipRight, 30};
    BlendRect({&fast, d.source, placement, clip, 255, TDrawType::dtAlpha, d.mirror});
    Reference({&slow, d.source, placement, clip, 255, TDrawType::dtAlpha, d.mirror});
    ASSERT_TRUE(std::equal(fast.Row(0), fast.Row(0) + fast.Stride() * fast.Height(), slow.Row(0)));
  }
}

}  // namespace
}  // namespace kzm
