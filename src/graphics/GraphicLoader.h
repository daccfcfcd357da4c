#pragma once

#include <string_view>

#include "archive/Stream.h"
#include "graphics/Bitmap.h"

namespace kzm {

// Decodes the stream into graphic by the lower-cased extension of name: ".bmp", ".png",
// ".jpg"/".jpeg" (24 bits per pixel) and ".jpx" (a scrambled JPEG; streams above
// 10,000,000 bytes are not loaded). Any other extension leaves graphic unchanged.
// Decoding errors throw (EPngError for PNG, EkzmError otherwise).
void LoadGraphicByExt(TBitmap& graphic, std::string_view name, TStream& stream);

}  // namespace kzm
