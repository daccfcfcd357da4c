#include "foundation/Utf16.h"

#include "foundation/Utf8.h"

namespace kzm {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

void AppendUtf16Le(std::string& out, char16_t unit) {
  out += static_cast<char>(unit & 0xFF);
  out += static_cast<char>(unit >> 8);
}

}  // namespace

std::string Utf16LeToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  const std::size_t units = bytes.size() / 2;
  const auto unitAt = [&](std::size_t i) {
    return static_cast<char16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                 (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  };
  for (std::size_t i = 0; i < units; ++i) {
    const char16_t unit = unitAt(i);
    if (unit == 0) break;
    if (unit >= 0xD800 && unit <= 0xDBFF && i + 1 < units) {
      const char16_t low = unitAt(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(out, 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (low - 0xDC00));
        ++i;
        continue;
      }
    }
    AppendUtf8(out, unit >= 0xD800 && unit <= 0xDFFF ? kReplacement : char32_t(unit));
  }
  return out;
}

std::string Utf8ToUtf16Le(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size() * 2);
  for (std::size_t pos = 0; pos < utf8.size();) {
    char32_t c = NextUtf8(utf8, pos);
    if (c == kInvalidUtf8) c = kReplacement;
    if (c < 0x10000) {
      AppendUtf16Le(out, static_cast<char16_t>(c));
    } else {
      AppendUtf16Le(out, static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      AppendUtf16Le(out, static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return out;
}

std::string SanitizeUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t pos = 0; pos < text.size();) {
    const std::size_t start = pos;
    if (NextUtf8(text, pos) == kInvalidUtf8) {
      AppendUtf8(out, kReplacement);
    } else {
      out.append(text, start, pos - start);
    }
  }
  return out;
}

}  // namespace kzm
