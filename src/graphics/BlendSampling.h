#pragma once

#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"

namespace kzm {

// Samples a 32-bit source drawn at another size, in fixed point with 8 fraction bits:
// the weighted average of the covered area when drawn narrower than the source, otherwise
// bilinear interpolation between the four nearest pixels. Works a row at a time: what
// depends only on the column (spans, weights, neighbours) is worked out once up front.
class TScaledSampler {
 public:
  // Samples columns firstX .. firstX + count - 1 of the placement.
  TScaledSampler(const TBitmap& source, int placedWidth, int placedHeight, bool mirror, int firstX, int count);

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
  };
  struct TBilinearColumn {
    int offset, nextOffset;  // bytes from the start of a source row
    unsigned fraction;      // weight of the next column, 0..255
  };

  struct TRowWeight {
    const std::uint8_t* line;
    int weight;
  };
  class TDivider;

  void PrepareAreaColumns(int firstX, int count);
  void PrepareBilinearColumns(int firstX, int count);
  void AreaAverageRow(int y, std::uint8_t* out);
  // One placed pixel from the columns parts[0 .. count - 1] of the rows in m_rowWeights.
  bool AverageSmall(const TColumnPart* parts, int count, std::uint8_t* out) const;
  void AverageLarge(const TColumnPart* parts, int count, TDivider& divider, std::uint8_t* out) const;
  void BilinearRow(int y, std::uint8_t* out) const;

  std::vector<const std::uint8_t*> m_rows;  // row addresses of the source, made once
  std::int64_t m_ws, m_hs, m_wp, m_hp;
  bool m_mirror;
  bool m_average;
  std::vector<TColumnPart> m_parts;
  std::vector<TAreaColumn> m_areaColumns;
  std::vector<TBilinearColumn> m_bilinearColumns;
  bool m_smallSums = false;
  std::vector<TRowWeight> m_rowWeights;  // of the row being sampled
};

}  // namespace kzm
