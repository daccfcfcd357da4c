#include "graphics/Bitmap.h"

#include <cstring>

#include "foundation/Errors.h"

namespace kzm {

namespace {

int StrideFor(int width, int bpp) { return (width * (bpp / 8) + 3) & ~3; }

}  // namespace

TBitmap::TBitmap(const TBitmap& other) { *this = other; }

TBitmap& TBitmap::operator=(const TBitmap& other) {
  if (this == &other) return *this;
  SetSize(other.m_width, other.m_height, other.m_bpp);
  if (m_bits) std::memcpy(m_bits.get(), other.m_bits.get(), static_cast<std::size_t>(m_stride) * m_height);
  return *this;
}

bool TBitmap::SizeAllowed(std::int64_t width, std::int64_t height) {
  return width >= 0 && height >= 0 && width <= kMaxSide && height <= kMaxSide &&
         width * height <= kMaxPixels;
}

void TBitmap::SetSize(int width, int height, int bitsPerPixel) {
  assert(bitsPerPixel == 24 || bitsPerPixel == 32);
  if (!SizeAllowed(width, height)) {
    throw EkzmError("画像が大きすぎます(" + std::to_string(width) + "x" + std::to_string(height) + ")");
  }
  const int stride = StrideFor(width, bitsPerPixel);
  const std::size_t bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
  m_bits = bytes ? std::make_unique<std::uint8_t[]>(bytes) : nullptr;
  m_width = width;
  m_height = height;
  m_bpp = bitsPerPixel;
  m_stride = stride;
}

void TBitmap::SetBitsPerPixel(int bitsPerPixel) {
  if (bitsPerPixel == m_bpp) return;
  TBitmap converted(m_width, m_height, bitsPerPixel);
  const int from = BytesPerPixel();
  const int to = converted.BytesPerPixel();
  for (int y = 0; y < m_height; ++y) {
    const std::uint8_t* src = Row(y);
    std::uint8_t* dst = converted.Row(y);
    for (int x = 0; x < m_width; ++x, src += from, dst += to) std::memcpy(dst, src, 3);
  }
  *this = std::move(converted);
}

}  // namespace kzm
