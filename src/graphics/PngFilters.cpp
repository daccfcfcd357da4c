#include "graphics/PngFilters.h"

#include <cstdlib>

namespace kzm::png {

namespace {

void UndoSub(std::uint8_t* row, std::size_t length, std::size_t distance) {
  for (std::size_t i = distance; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + row[i - distance]);
}

void UndoUp(std::uint8_t* row, const std::uint8_t* prior, std::size_t length) {
  for (std::size_t i = 0; i < length; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
}

void UndoAverage(std::uint8_t* row, const std::uint8_t* prior, std::size_t length, std::size_t distance) {
  const std::size_t head = distance < length ? distance : length;
  for (std::size_t i = 0; i < head; ++i) row[i] = static_cast<std::uint8_t>(row[i] + (prior[i] >> 1));
  for (std::size_t i = distance; i < length; ++i) {
    row[i] = static_cast<std::uint8_t>(row[i] + ((row[i - distance] + prior[i]) >> 1));
  }
}

inline int Paeth(int a, int b, int c) {
  const int p = b - c;
  const int q = a - c;
  const int pa = std::abs(p);
  const int pb = std::abs(q);
  const int pc = std::abs(p + q);
  if (pa <= pb && pa <= pc) return a;
  return pb <= pc ? b : c;
}

void UndoPaeth(std::uint8_t* row, const std::uint8_t* prior, std::size_t length, std::size_t distance) {
  const std::size_t head = distance < length ? distance : length;
  for (std::size_t i = 0; i < head; ++i) row[i] = static_cast<std::uint8_t>(row[i] + prior[i]);
  for (std::size_t i = distance; i < length; ++i) {
    row[i] = static_cast<std::uint8_t>(row[i] + Paeth(row[i - distance], prior[i], prior[i - distance]));
  }
}

}  // namespace

void UnfilterRow(int filter, std::uint8_t* row, const std::uint8_t* prior, std::size_t length,
                 std::size_t distance) {
  switch (filter) {
    case 1: UndoSub(row, length, distance); break;
    case 2: UndoUp(row, prior, length); break;
    case 3: UndoAverage(row, prior, length, distance); break;
    case 4: UndoPaeth(row, prior, length, distance); break;
    default: break;
  }
}

}  // namespace kzm::png
