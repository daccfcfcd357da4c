#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/BitmapRoutines.h"
#include "graphics/GraphicSource.h"

namespace kzm {

namespace {

// An integer written in decimal or with a leading "$" in hexadecimal; 0 when unreadable.
std::int64_t ReadNumber(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  int base = 10;
  if (!text.empty() && text.front() == '$') {
    base = 16;
    text.remove_prefix(1);
  }
  std::uint32_t value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
  if (text.empty() || ec != std::errc() || end != text.data() + text.size()) return 0;
  return negative ? -static_cast<std::int64_t>(value) : value;
}

std::vector<std::string> SplitFields(std::string_view description) {
  std::string text;
  for (char c : description) {
    if (c != '\\') text.push_back(c);
  }
  std::vector<std::string> fields(1);
  for (char c : text) {
    if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back().push_back(c);
    }
  }
  fields.resize(std::max<std::size_t>(fields.size(), 4));
  return fields;
}

}  // namespace

TGraphicPtr TGraphicSource::CreateSolidImage(std::string_view description) {
  const std::vector<std::string> fields = SplitFields(description);
  // A negative size makes no picture rather than a failure.
  const auto width = static_cast<int>(std::clamp<std::int64_t>(ReadNumber(fields[0]), 0, INT32_MAX));
  const auto height = static_cast<int>(std::clamp<std::int64_t>(ReadNumber(fields[1]), 0, INT32_MAX));
  const auto color = static_cast<TColor>(ReadNumber(fields[2]));
  const bool alpha = fields[3] == "32";
  auto image = std::make_shared<TGraphic4>(width, height, alpha ? 32 : 24);
  for (int y = 0; y < height; ++y) {
    std::uint8_t* p = image->Row(y);
    for (int x = 0; x < width; ++x, p += image->BytesPerPixel()) {
      p[0] = BlueOf(color);
      p[1] = GreenOf(color);
      p[2] = RedOf(color);
      if (alpha) p[3] = 255;
    }
  }
  return image;
}

}  // namespace kzm
