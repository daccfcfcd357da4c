#pragma once

#include "archive/Stream.h"
#include "graphics/Bitmap.h"

namespace kzm {

// Reads an uncompressed Windows bitmap file of 24 or 32 bits per pixel (bottom-up or
// top-down rows) from the stream's position. Anything else throws EkzmError.
void LoadBmpStream(TBitmap& bitmap, TStream& stream);

}  // namespace kzm
