#pragma once

#include <cstdint>
#include <vector>

#include "graphics/Bitmap.h"

namespace kzm {

// What a sampler's column spans and weights depend on.
struct TSampleGeometry {
  int sourceWidth, sourceHeight;
  int placedWidth, placedHeight;
  bool mirror;
  int firstX, count;  // the placed columns sampled
};

// Samples a 32-bit source drawn at another size, in fixed point with 8 fraction bits:
// the weighted average of the covered area when drawn narrower than the source, otherwise
// bilinear interpolation between the four nearest pixels. Works a row at a time: what
// depends only on the column (spans, weights, neighbours) is worked out once up front.
class TScaledSampler {
 public:
  // Samples columns firstX .. firstX + count - 1 of the placement from source.
  TScaledSampler(const TSampleGeometry& geometry, const TBitmap& source);

  // The 4 · count bytes of row y of the placement (0 <= y < placedHeight).
  void SampleRow(int y, std::uint8_t* out);

 private:
  // The source columns a placed column covers: the first and last in part (their covered
  // fractions in 1/256), whole ones between. A single column has both fractions.
  struct TAreaColumn {
    int first, last;
    int firstPart, lastPart;
  };
  // The source rows a placed row covers: the top and bottom one in part (weights a and b;
  // a single row has only b and top == bottom), whole ones between.
  struct TAreaRows {
    int top, bottom;
    int a, b;
  };
  struct TBilinearColumn {
    int offset, nextOffset;  // bytes from the start of a source row
    unsigned fraction;      // weight of the next column, 0..255
  };

  void PrepareAreaColumns(int firstX, int count);
  void PrepareBilinearColumns(int firstX, int count);
  [[nodiscard]] TAreaRows RowsOf(int y) const;
  // What source column c of a placed column weighs in a row of the given weight.
  static int PartWeight(int fraction, int rowWeight) { return fraction * rowWeight >> 8; }
  static int ColumnWeight(const TAreaColumn& column, int c, int rowWeight) {
    if (c == column.first && c == column.last) {
      return PartWeight(column.firstPart, rowWeight) + PartWeight(column.lastPart, rowWeight);
    }
    if (c == column.first) return PartWeight(column.firstPart, rowWeight);
    if (c == column.last) return PartWeight(column.lastPart, rowWeight);
    return rowWeight;
  }
  void AreaAverageRow(int y, std::uint8_t* out);
  // The same in float lanes (where m_lanes): down the covered rows first, for each source
  // column, then across, column by column.
  void SumColumns(const TAreaRows& rows);
  void LanesRow(const TAreaRows& rows, std::uint8_t* out);
  void BilinearRow(int y, std::uint8_t* out) const;

  TSampleGeometry m_geometry;
  const TBitmap& m_source;
  std::int64_t m_ws, m_hs, m_wp, m_hp;
  std::vector<TAreaColumn> m_areaColumns;
  int m_firstSourceColumn = 0, m_lastSourceColumn = -1;  // the span all placed columns cover
  // Four channels as float lanes.
  struct alignas(16) TLanes {
    float channel[4];
  };
  bool m_lanes = false;  // every sum is a whole number the lanes hold exactly
  // For each source column of the span, down the placed row's rows: the sum of its whole
  // rows, its top and bottom pixel, and the sum with every row at its weight.
  std::vector<TLanes> m_whole, m_top, m_bottom, m_weighted;
  struct alignas(16) TWholeLanes {
    std::int32_t channel[4];
  };
  std::vector<TWholeLanes> m_wholeInRows;  // m_whole while it adds up, in integers
  std::vector<TBilinearColumn> m_bilinearColumns;
};

}  // namespace kzm
