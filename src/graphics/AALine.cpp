#include <algorithm>
#include <cmath>

#include "graphics/BitmapRoutines.h"

namespace kzm {

namespace {

constexpr double kFar = 10000;

// Distance of point (px, py) from the segment P–Q by the line's rules: perpendicular only
// between the perpendiculars through the ends, end-point distance only within reach of the
// end in both directions.
double Distance(double px, double py, const TLinePen& pen, double qx, double qy, double reach) {
  double best = kFar;
  const double dx = qx - pen.x, dy = qy - pen.y;
  const double length2 = dx * dx + dy * dy;
  if (length2 > 0) {
    const double t = ((px - pen.x) * dx + (py - pen.y) * dy) / length2;
    if (t >= 0 && t <= 1) best = std::abs((px - pen.x) * dy - (py - pen.y) * dx) / std::sqrt(length2);
  }
  for (const auto& [ex, ey] : {std::pair{pen.x, pen.y}, std::pair{qx, qy}}) {
    if (std::abs(px - ex) <= reach && std::abs(py - ey) <= reach) best = std::min(best, std::hypot(px - ex, py - ey));
  }
  return best;
}

}  // namespace

void DrawAALine(TLinePen& pen, double x, double y) {
  TBitmap* target = pen.target;
  if (target && target->Is32() && !target->IsEmpty()) {
    // Rounding halves to even, as the platform's Round did.
    const double r = std::nearbyint(pen.width / 2);
    const double reach = r + 1;
    const int full = pen.width > 0.5 ? 255 : static_cast<int>(pen.width * 255);
    const int left = std::max(0, static_cast<int>(std::floor(std::min(pen.x, x) - reach)));
    const int top = std::max(0, static_cast<int>(std::floor(std::min(pen.y, y) - reach)));
    const int right = std::min(target->Width() - 1, static_cast<int>(std::ceil(std::max(pen.x, x) + reach)));
    const int bottom = std::min(target->Height() - 1, static_cast<int>(std::ceil(std::max(pen.y, y) + reach)));
    const unsigned colour[3] = {BlueOf(pen.color), GreenOf(pen.color), RedOf(pen.color)};
    const int opacity = std::clamp(pen.opacity, 0, 255);
    for (int py = top; py <= bottom; ++py) {
      std::uint8_t* row = target->Row(py);
      for (int px = left; px <= right; ++px) {
        const double delta = Distance(px, py, pen, x, y, reach);
        int coverage = 0;
        if (delta < r) {
          coverage = full;
        } else if (delta <= r + 0.99) {
          coverage = full - static_cast<int>((delta - std::floor(delta)) * 255);
        }
        if (coverage <= 0) continue;
        const auto k = static_cast<unsigned>(coverage * opacity / 255);
        std::uint8_t* p = row + 4 * px;
        for (int c = 0; c < 3; ++c) p[c] = static_cast<std::uint8_t>(((255 - k) * p[c] + k * colour[c]) / 255);
      }
    }
  }
  pen.x = x;
  pen.y = y;
}

}  // namespace kzm
