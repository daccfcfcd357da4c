#pragma once

#include <cstdint>

#include "graphics/Bitmap.h"
#include "graphics/Geometry.h"

namespace kzm {

// Pixel routines over 32-bit bitmaps (blue, green, red, alpha; 255 opaque). Unless a
// routine says otherwise, a bitmap that is not 32-bit or is empty is left alone silently:
// callers draw optional decorations with them and a missing picture must not stop a window.

// Every pixel := the colour's blue, green, red and alpha (top byte). Throws EkzmError
// "32bitBmp以外を塗りつぶそうとしました" on a bitmap that is not 32-bit.
void FillBitmap32(TBitmap& bitmap, TColor colorWithAlpha);
// Every pixel's colour := color; alpha kept.
void SetBitmapRGB(TBitmap& bitmap, TColor color);
// Every pixel's alpha := value.
void SetBitmapAlpha(TBitmap& bitmap, std::uint8_t value);
// Pixels of exactly the top-left pixel's colour get alpha 0, all others alpha value.
void KeyColorToAlpha(TBitmap& bitmap, std::uint8_t value);
// Scales alpha by a factor interpolated bilinearly between the corners, in 1/256 steps
// (256 keeps alpha): top-left, top-right, bottom-right, bottom-left.
void GradientAlpha(TBitmap& bitmap, int topLeft, int topRight, int bottomRight, int bottomLeft);
// In place: 2 × 2 (or 3 × 3) blocks averaged (all four channels) into the top-left
// floor(w/2) × floor(h/2) (or /3) pixels; the bitmap keeps its size, the caller crops.
void HalveBitmap(TBitmap& bitmap);
void ThirdBitmap(TBitmap& bitmap);
// Over the common area: blends each pixel toward color by the mask's blue byte (255 = all
// colour); alpha := 255. The mask may be 24- or 32-bit.
void TintByMask(TBitmap& bitmap, const TBitmap& mask, TColor color);
// Lights and shades the colours by the slope of the map's blue byte (left and up lighten,
// right and down darken), inside a one-pixel border of the common area; alpha unchanged.
void EmbossByMap(TBitmap& bitmap, const TBitmap& map);

// How a source pixel is combined with the destination.
enum class TDrawType : std::uint8_t {
  dtAlpha,
  dtCopy,
  dtAdd,
  dtSub,
  dtMulti,
  dtDiv,
  dtScreen,
  dtOverlay,
  dtWhite,
  dtBlack,
  dtNone,
  dtLayered,
  dtAlphaOver,
};

// One drawing of a whole source picture: mapped onto placement (its size is the drawn
// size), only the part inside clip drawn now.
struct TBlendRequest {
  TBitmap* dest = nullptr;
  const TBitmap* source = nullptr;
  TRect placement;
  TRect clip;
  int opacity = 255;  // 0..255; more counts as 255
  TDrawType mode = TDrawType::dtAlpha;
  bool mirror = false;  // flipped left to right
};

// Draws the request: unscaled when the placement has the source's size, otherwise scaled
// (area average when narrower than the source, else bilinear). Both bitmaps 32-bit.
void BlendRect(const TBlendRequest& request);
// Draws all of source with its top-left at (x, y), clipped to target. dtLayered makes a
// premultiplied copy (for layered windows); other modes blend at full opacity.
void DrawBitmap32(int x, int y, TBitmap& target, TDrawType mode, const TBitmap& source);

// An anti-aliased pen drawing on a 32-bit bitmap; DrawAALine moves its current point.
struct TLinePen {
  TBitmap* target = nullptr;
  double x = 0;
  double y = 0;
  TColor color = 0;
  int opacity = 255;
  double width = 1;
};
void DrawAALine(TLinePen& pen, double x, double y);

// Colours (alpha byte of the result 0).
[[nodiscard]] TColor GrayTone(TColor color);                       // grey 128..223 by brightness
[[nodiscard]] TColor MixColor(TColor a, TColor b, int weight);     // weight 255 gives a, 0 gives b
[[nodiscard]] TColor LightenColor(TColor color, int percent);      // 100 keeps, 0 gives white
[[nodiscard]] TColor DarkenColor(TColor color, int percent);       // 100 keeps, 0 gives black

// a := a ∩ b; an empty result keeps its corners but sets right = left.
void IntersectRectInPlace(TRect& a, const TRect& b);
// a := the smallest rectangle holding a and b; an a with left = right is replaced by b.
void UnionRectInPlace(TRect& a, const TRect& b);

}  // namespace kzm
