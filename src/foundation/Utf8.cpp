#include "foundation/Utf8.h"

namespace kzm {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

char32_t NextUtf8(std::string_view text, std::size_t& pos) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char b = byte(pos);
  if (b < 0x80) {
    ++pos;
    return b;
  }
  std::size_t len = 0;
  char32_t cp = 0;
  char32_t min = 0;
  if (b >= 0xC2 && b <= 0xDF) {
    len = 2, cp = b & 0x1F, min = 0x80;
  } else if (b >= 0xE0 && b <= 0xEF) {
    len = 3, cp = b & 0x0F, min = 0x800;
  } else if (b >= 0xF0 && b <= 0xF4) {
    len = 4, cp = b & 0x07, min = 0x10000;
  } else {
    ++pos;
    return kInvalidUtf8;
  }
  if (pos + len > text.size()) {
    ++pos;
    return kInvalidUtf8;
  }
  for (std::size_t k = 1; k < len; ++k) {
    const unsigned char c = byte(pos + k);
    if ((c & 0xC0) != 0x80) {
      ++pos;
      return kInvalidUtf8;
    }
    cp = cp << 6 | (c & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
    ++pos;
    return kInvalidUtf8;
  }
  pos += len;
  return cp;
}

std::size_t Utf8CharLength(std::string_view text, std::size_t pos) {
  std::size_t next = pos;
  (void)NextUtf8(text, next);
  return next - pos;
}

}  // namespace kzm
