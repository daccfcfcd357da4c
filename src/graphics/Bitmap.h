#pragma once

#include <cassert>
#include <cstdint>
#include <memory>

namespace kzm {

// A picture in memory: 24 bits per pixel (bytes blue, green, red) or 32 (blue, green, red,
// alpha; not premultiplied). Rows are stored top first, each padded to a multiple of four
// bytes so that the window layer can show the same memory as an image without copying.
class TBitmap {
 public:
  // Largest accepted picture. Sizes come from files, so they are checked before anything is
  // allocated; our pictures are a few hundred pixels wide.
  static constexpr int kMaxSide = 30000;
  static constexpr std::int64_t kMaxPixels = std::int64_t{1} << 25;

  TBitmap() = default;
  TBitmap(int width, int height, int bitsPerPixel = 24) { SetSize(width, height, bitsPerPixel); }
  TBitmap(const TBitmap& other);
  TBitmap& operator=(const TBitmap& other);
  TBitmap(TBitmap&&) noexcept = default;
  TBitmap& operator=(TBitmap&&) noexcept = default;
  virtual ~TBitmap() = default;

  // True when a picture of that size may be made (both sides 0..kMaxSide, area limited).
  [[nodiscard]] static bool SizeAllowed(std::int64_t width, std::int64_t height);

  // Resizes to width × height with the given depth (24 or 32); every byte becomes zero.
  // Throws EkzmError when the size is not allowed.
  void SetSize(int width, int height, int bitsPerPixel);
  // Changes the depth keeping the colours: 24 → 32 gives alpha 0, 32 → 24 drops alpha.
  void SetBitsPerPixel(int bitsPerPixel);

  [[nodiscard]] int Width() const { return m_width; }
  [[nodiscard]] int Height() const { return m_height; }
  [[nodiscard]] int BitsPerPixel() const { return m_bpp; }
  [[nodiscard]] bool Is32() const { return m_bpp == 32; }
  [[nodiscard]] bool IsEmpty() const { return m_width == 0 || m_height == 0; }
  [[nodiscard]] int BytesPerPixel() const { return m_bpp / 8; }
  // Bytes from one row to the next.
  [[nodiscard]] int Stride() const { return m_stride; }

  [[nodiscard]] std::uint8_t* Row(int y) {
    assert(y >= 0 && y < m_height);
    return m_bits.get() + static_cast<std::ptrdiff_t>(y) * m_stride;
  }
  [[nodiscard]] const std::uint8_t* Row(int y) const {
    assert(y >= 0 && y < m_height);
    return m_bits.get() + static_cast<std::ptrdiff_t>(y) * m_stride;
  }
  [[nodiscard]] std::uint8_t* Bits() { return m_bits.get(); }
  [[nodiscard]] const std::uint8_t* Bits() const { return m_bits.get(); }

 private:
  int m_width = 0;
  int m_height = 0;
  int m_bpp = 24;
  int m_stride = 0;
  std::unique_ptr<std::uint8_t[]> m_bits;
};

}  // namespace kzm
