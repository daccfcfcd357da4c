#pragma once

#include <cstdint>
#include <random>

namespace kzm {

// Where the scene's chance comes from. The program seeds one from the clock; tests give a
// fixed seed or a scripted source, so that every step can be predicted.
class TRandomSource {
 public:
  virtual ~TRandomSource() = default;
  // A whole number from 0 to range − 1, uniformly; 0 when range is 1 or less.
  [[nodiscard]] virtual int Random(int range) = 0;
};

// A Mersenne twister behind the interface.
class TSeededRandom : public TRandomSource {
 public:
  explicit TSeededRandom(std::uint32_t seed) : m_engine(seed) {}

  [[nodiscard]] int Random(int range) override {
    if (range <= 1) return 0;
    return std::uniform_int_distribution<int>(0, range - 1)(m_engine);
  }

 private:
  std::mt19937 m_engine;
};

}  // namespace kzm
