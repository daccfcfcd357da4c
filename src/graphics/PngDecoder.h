#pragma once

#include "archive/Stream.h"
#include "foundation/Errors.h"
#include "graphics/Bitmap.h"

namespace kzm {

// A PNG file the decoder cannot read; the message is the text shown to the user.
class EPngError : public EkzmError {
 public:
  using EkzmError::EkzmError;
};

// Decodes one PNG image from the stream's position into bitmap: greyscale, truecolour and
// palette images become 24-bit bitmaps, those with an alpha channel 32-bit ones. Interlaced
// and 16-bit images are refused, a transparency chunk is ignored and CRCs are not checked.
// Throws EPngError; a file without an image header leaves the bitmap as it was.
void LoadPngStream(TBitmap& bitmap, TStream& stream);

}  // namespace kzm
