#include "graphics/PngPixels.h"

namespace kzm::png {

namespace {

// Sample x of a row packed with depth bits per sample (1, 2, 4 or 8).
inline unsigned Sample(const std::uint8_t* raw, int x, int depth) {
  if (depth == 8) return raw[x];
  const int perByte = 8 / depth;
  const int shift = 8 - depth * (x % perByte + 1);
  return (raw[x / perByte] >> shift) & ((1u << depth) - 1);
}

void Grey(const std::uint8_t* raw, std::uint8_t* out, int width, int depth) {
  const unsigned scale = depth == 1 ? 255 : depth == 2 ? 85 : depth == 4 ? 17 : 1;
  for (int x = 0; x < width; ++x, out += 3) {
    const auto v = static_cast<std::uint8_t>(Sample(raw, x, depth) * scale);
    out[0] = out[1] = out[2] = v;
  }
}

void Indexed(const std::uint8_t* raw, std::uint8_t* out, int width, int depth, const TPalette& palette) {
  for (int x = 0; x < width; ++x, out += 3) {
    const auto& c = palette.bgr[Sample(raw, x, depth)];
    out[0] = c[0];
    out[1] = c[1];
    out[2] = c[2];
  }
}

void Truecolour(const std::uint8_t* raw, std::uint8_t* out, int width) {
  for (int x = 0; x < width; ++x, raw += 3, out += 3) {
    out[0] = raw[2];
    out[1] = raw[1];
    out[2] = raw[0];
  }
}

void GreyAlpha(const std::uint8_t* raw, std::uint8_t* out, int width) {
  for (int x = 0; x < width; ++x, raw += 2, out += 4) {
    out[0] = out[1] = out[2] = raw[0];
    out[3] = raw[1];
  }
}

void TruecolourAlpha(const std::uint8_t* raw, std::uint8_t* out, int width) {
  for (int x = 0; x < width; ++x, raw += 4, out += 4) {
    out[0] = raw[2];
    out[1] = raw[1];
    out[2] = raw[0];
    out[3] = raw[3];
  }
}

}  // namespace

int SamplesPerPixel(int colorType) {
  switch (colorType) {
    case 0: return 1;
    case 2: return 3;
    case 3: return 1;
    case 4: return 2;
    case 6: return 4;
    default: return 0;
  }
}

bool DepthSupported(int colorType, int bitDepth) {
  if (colorType == 0 || colorType == 3) return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8;
  return bitDepth == 8;
}

void ConvertRow(const THeader& header, const TPalette& palette, const std::uint8_t* raw, std::uint8_t* out,
                int width) {
  switch (header.colorType) {
    case 0: Grey(raw, out, width, header.bitDepth); break;
    case 2: Truecolour(raw, out, width); break;
    case 3: Indexed(raw, out, width, header.bitDepth, palette); break;
    case 4: GreyAlpha(raw, out, width); break;
    case 6: TruecolourAlpha(raw, out, width); break;
    default: break;
  }
}

}  // namespace kzm::png
