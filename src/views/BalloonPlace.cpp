#include "views/BalloonPlace.h"

#include <algorithm>

namespace kzm {

TBalloonPlace BalloonPlace(int textBottom, int buttonsTop, int width, int minSide) {
  const int side = std::min(width, buttonsTop - textBottom);
  if (side < minSide) return {};
  return {(width - side) / 2, buttonsTop - side, side};
}

}  // namespace kzm
