#include "phone/QrCode.h"

#include <qrencode.h>

#include <memory>

namespace kzm {

std::vector<std::vector<bool>> QrModules(const std::string& text) {
  const std::unique_ptr<QRcode, decltype(&QRcode_free)> code(
      QRcode_encodeString(text.c_str(), 0, QR_ECLEVEL_M, QR_MODE_8, 1), &QRcode_free);
  std::vector<std::vector<bool>> rows;
  if (!code) return rows;
  const int width = code->width;
  rows.assign(static_cast<size_t>(width), std::vector<bool>(static_cast<size_t>(width)));
  for (int y = 0; y < width; ++y) {
    for (int x = 0; x < width; ++x) rows[static_cast<size_t>(y)][static_cast<size_t>(x)] = code->data[y * width + x] & 1;
  }
  return rows;
}

}  // namespace kzm
