#pragma once

// The inner loop of shrinking: weighted sums of source pixels, two source rows at a time,
// divided by the columns' totals.
#include <cstdint>

namespace kzm::blend {

// Totals of weights from 1 up to below this divide through a float reciprocal.
inline constexpr std::int32_t kReciprocalTotals = 16000;

// sum / total rounded down for 0 <= sum <= 255 · total, given reciprocal = 1.0f / total.
// The true value of (sum + 1/2) / total lies at least 1/2 / total away from a whole number;
// the two roundings move it by less than 2^-23 of at most 256, so truncating gives the exact
// quotient while total stays below 2^14.
inline std::int32_t ReciprocalQuotient(std::int32_t sum, float reciprocal) {
  return static_cast<std::int32_t>((static_cast<float>(sum) + 0.5f) * reciprocal);
}

// Two source rows and the weights of each place of each column's window in them: for placed
// column x and place k, lanes[8 · (window · x + k) ..] holds (weight in a, weight in b)
// four times, once for each channel. Like the other arrays, the lanes have room for one
// column more than there are, weighted 0, so that columns can be taken two at a time.
struct TPairRows {
  const std::uint8_t* a;
  const std::uint8_t* b;
  const std::int16_t* lanes;
};

// What AveragePairs works on: count placed columns, each summing window source pixels from
// windowOffsets[x] bytes into every row of the pairs (count + 1 offsets, all inside the rows).
struct TPairSums {
  const TPairRows* pairs;
  int pairCount;
  const int* windowOffsets;
  int count;
  int window;
  // 1 / total four times per column, 0 for columns left to the caller; 4 · (count + 1).
  const float* reciprocals;
  std::int32_t* sums;  // room for 4 · (count + 1) between pairs
};

// Writes sum / total of each column (blue, green, red, alpha) to out, as ReciprocalQuotient
// does; 0 where the reciprocal is 0.
void AveragePairs(const TPairSums& work, std::uint8_t* out);

}  // namespace kzm::blend
