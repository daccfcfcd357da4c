#pragma once

#include <map>

#include "foundation/RandomSource.h"

namespace kzm::test {

// Answers by range: Random(n) gives answers[n] when set, else fallback (kept below n).
// Lets a test steer one decision without scripting every draw before it.
class TRangeRandom : public TRandomSource {
 public:
  int Random(int range) override {
    const auto it = answers.find(range);
    const int value = it != answers.end() ? it->second : fallback;
    return range <= 1 ? 0 : (value < range ? value : range - 1);
  }

  std::map<int, int> answers;
  int fallback = 1;
};

}  // namespace kzm::test
