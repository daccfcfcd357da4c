#pragma once

#include <cstdint>

#include "graphics/PngChunks.h"

namespace kzm::png {

// Samples per pixel of a colour type (1 grey, 3 truecolour, 1 palette, 2 grey + alpha,
// 4 truecolour + alpha); 0 for a colour type the decoder does not know.
[[nodiscard]] int SamplesPerPixel(int colorType);

// True when the bit depth can be unpacked for the colour type (1, 2, 4, 8 for grey and
// palette; 8 for the others).
[[nodiscard]] bool DepthSupported(int colorType, int bitDepth);

// Turns one unfiltered row of width pixels into bitmap bytes: blue, green, red for colour
// types 0, 2, 3 and blue, green, red, alpha for 4 and 6. Sub-byte samples are unpacked
// leftmost pixel first; grey levels of 1, 2 and 4 bits are stretched to 0..255.
void ConvertRow(const THeader& header, const TPalette& palette, const std::uint8_t* raw, std::uint8_t* out,
                int width);

}  // namespace kzm::png
