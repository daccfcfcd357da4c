#pragma once

#include <cstdint>
#include <utility>
#include <vector>

#include "graphics/Bitmap.h"
#include "graphics/BlendPairSums.h"

namespace kzm {

// What a sampler's column spans and weights depend on: a sampler made for one geometry can
// sample any source of that size, again and again.
struct TSampleGeometry {
  int sourceWidth, sourceHeight;
  int placedWidth, placedHeight;
  bool mirror;
  int firstX, count;  // the placed columns sampled
  bool operator==(const TSampleGeometry&) const = default;
};

// Samples a 32-bit source drawn at another size, in fixed point with 8 fraction bits:
// the weighted average of the covered area when drawn narrower than the source, otherwise
// bilinear interpolation between the four nearest pixels. Works a row at a time: what
// depends only on the column (spans, weights, neighbours) is worked out once up front.
class TScaledSampler {
 public:
  // Samples columns firstX .. firstX + count - 1 of the placement.
  explicit TScaledSampler(const TSampleGeometry& geometry);

  [[nodiscard]] const TSampleGeometry& Geometry() const { return m_geometry; }
  // The source the rows are sampled from; its size must be the geometry's.
  void Attach(const TBitmap& source);

  // The 4 · count bytes of row y of the placement (0 <= y < placedHeight).
  void SampleRow(int y, std::uint8_t* out);

 private:
  // A source column under a placed column: its weight for a row of weight w is
  // (first · w >> 8) + (second · w >> 8), the way the partial edges are rounded.
  struct TColumnPart {
    int offset;  // bytes from the start of a source row
    int first;
    int second;
  };
  struct TAreaColumn {
    int firstPart;  // into m_parts
    int partCount;
    // Every column is summed over the same number of source columns, m_window: its parts
    // and, where it has fewer, neighbours weighted 0 (see m_windowOffsets).
    int windowSkip;  // neighbours before the first part
  };
  struct TBilinearColumn {
    int offset, nextOffset;  // bytes from the start of a source row
    unsigned fraction;      // weight of the next column, 0..255
  };

  struct TRowWeight {
    const std::uint8_t* line;
    int weight;
  };
  // The weights of every window place for a pair of source rows of weights a and b, as the
  // 16-bit lanes the sums take them (weight in row a, weight in row b, four times), and the
  // sum of them under each placed column.
  struct TPairWeights {
    int a = -1, b = -1;
    int usedInRow = 0;
    std::vector<std::int16_t> lanes;
    std::vector<std::int32_t> totals;
  };
  class TDivider;

  void PrepareAreaColumns(int firstX, int count);
  void PrepareBilinearColumns(int firstX, int count);
  void AreaAverageRow(int y, std::uint8_t* out);
  const TPairWeights& PairWeights(int a, int b);
  // 1 / total of each column for the rows in m_pairs; 0 where a column is left to the exact
  // division.
  void PrepareReciprocals();
  // One placed pixel from the columns parts[0 .. count - 1] of the rows in m_rowWeights:
  // in 32-bit sums where they cannot overflow (false where they could, or nothing weighs),
  // else exactly in 64-bit ones.
  bool AverageSmall(const TColumnPart* parts, int count, std::uint8_t* out) const;
  void AverageLarge(const TColumnPart* parts, int count, TDivider& divider, std::uint8_t* out) const;
  void BilinearRow(int y, std::uint8_t* out) const;

  TSampleGeometry m_geometry;
  std::vector<const std::uint8_t*> m_rows;  // row addresses of the attached source
  std::int64_t m_ws, m_hs, m_wp, m_hp;
  bool m_mirror;
  bool m_average;
  std::vector<TColumnPart> m_parts;
  std::vector<TAreaColumn> m_areaColumns;
  int m_window = 0;
  std::vector<int> m_windowOffsets;  // bytes into a source row, of each column's window
  std::vector<TBilinearColumn> m_bilinearColumns;
  std::vector<TRowWeight> m_rowWeights;  // of the row being sampled
  // The same rows two at a time, with the weights they are summed with.
  std::vector<blend::TPairRows> m_pairs;
  std::vector<const TPairWeights*> m_pairWeights;
  // Rows repeat the same few weights, so the weights of recent pairs are kept.
  std::vector<TPairWeights> m_pairCache;
  int m_row = 0;  // counts the rows sampled, to tell which kept weights a row uses
  int m_weightsMade = 0;  // pair weights made so far: many mean they change with each row
  bool m_smallSums = false;
  std::vector<std::pair<int, int>> m_reciprocalsFor;  // the pairs' weights m_reciprocals is for
  std::vector<float> m_reciprocals;  // four times for each column
  bool m_allReciprocals = false;
  std::vector<std::int32_t> m_sums;
};

}  // namespace kzm
