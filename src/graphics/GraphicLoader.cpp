#include "graphics/GraphicLoader.h"

#include <string>

#include "graphics/BmpReader.h"
#include "graphics/JpegDecoder.h"
#include "graphics/PngDecoder.h"

namespace kzm {

namespace {

constexpr std::int64_t kMaxJpxBytes = 10'000'000;

std::string LowerExtension(std::string_view name) {
  const auto dot = name.rfind('.');
  const auto slash = name.find_last_of("/\\");
  if (dot == std::string_view::npos || (slash != std::string_view::npos && slash > dot)) return {};
  std::string ext(name.substr(dot));
  for (char& c : ext) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  }
  return ext;
}

}  // namespace

void LoadGraphicByExt(TBitmap& graphic, std::string_view name, TStream& stream) {
  const std::string ext = LowerExtension(name);
  if (ext == ".bmp") {
    LoadBmpStream(graphic, stream);
  } else if (ext == ".png") {
    LoadPngStream(graphic, stream);
  } else if (ext == ".jpg" || ext == ".jpeg") {
    LoadJpegBytes(graphic, stream.ReadAll());
  } else if (ext == ".jpx") {
    if (stream.Remaining() > kMaxJpxBytes) return;
    std::string bytes = stream.ReadAll();
    ScrambleJpx(bytes);
    LoadJpegBytes(graphic, bytes);
  }
}

}  // namespace kzm
