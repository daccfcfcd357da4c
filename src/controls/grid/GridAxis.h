#pragma once

#include <cstdint>
#include <vector>

namespace kzm::ui {

// The cells along one direction of a grid (its columns or its rows): how many, how many of
// them are fixed, and the pixel extent of each. Per-cell extents stay absent until one is
// set; until then every cell has the default extent.
class TGridAxis {
 public:
  TGridAxis(int count, int fixed, int defaultExtent)
      : m_count(count), m_fixed(fixed), m_defaultExtent(defaultExtent) {}

  [[nodiscard]] int Count() const { return m_count; }
  [[nodiscard]] int Fixed() const { return m_fixed; }
  [[nodiscard]] int DefaultExtent() const { return m_defaultExtent; }
  [[nodiscard]] bool HasExtents() const { return !m_extents.empty(); }
  // Extent of cell i; i must be inside the axis.
  [[nodiscard]] int Extent(int i) const;

  // Changes the number of cells; added cells get the default extent.
  void SetCount(int count);
  void SetFixed(int fixed) { m_fixed = fixed; }
  // A new default applies to every cell: per-cell extents are dropped.
  void SetDefaultExtent(int extent);
  void SetExtent(int i, int extent);
  // Moves cell `from` to position `to`, the cells between shifting by one.
  void MoveCell(int from, int to);

  // Sum of all extents and lines if the axis held `count` cells (cells beyond the current
  // count at the default extent); 64-bit so a caller can refuse what would not fit an int.
  [[nodiscard]] int64_t TotalExtent(int count, int lineWidth) const;

 private:
  int m_count;
  int m_fixed;
  int m_defaultExtent;
  std::vector<int> m_extents;
};

// Where the cells of an axis fall in the window for a given first scrollable cell.
struct TAxisMeasure {
  int LineWidth = 0;
  int FixedCellCount = 0;
  int FixedBoundary = 0;        // first pixel after the fixed cells and their lines
  int FirstGridCell = 0;        // first visible scrollable cell
  int GridCellCount = 0;        // all cells of the axis
  int GridExtent = 0;           // client extent
  int LastFullVisibleCell = 0;  // last cell shown in full
  int FullVisBoundary = 0;      // first pixel after the fully shown cells
  int GridBoundary = 0;         // first pixel after the drawn cells (at most GridExtent)
};

// Measures the axis. When no scrolling offset applies (first ≤ fixed count) the cells are
// counted from cell 0, so an axis without scrollable cells reports its last fixed cell, not
// an index past its end, as the last fully visible cell.
[[nodiscard]] TAxisMeasure MeasureAxis(const TGridAxis& axis, int firstGridCell, int clientExtent,
                                       int lineWidth);

// Largest first scrollable cell: the one from which the last cells fill the window.
[[nodiscard]] int MaxFirstCell(const TGridAxis& axis, int clientExtent, int lineWidth);

// Cell whose extent (its line included) holds pixel `pos`, or -1 (left of nothing drawn,
// past the drawn cells, or in a hidden scrolled-away part).
[[nodiscard]] int CellAtPixel(const TGridAxis& axis, const TAxisMeasure& m, int pos);

// First pixel of cell i, or -1 when it is scrolled away or lies past the drawn cells.
[[nodiscard]] int CellStart(const TGridAxis& axis, const TAxisMeasure& m, int i);

// First cell that can stand first so that cell i is the last fully visible one.
[[nodiscard]] int FirstCellShowingLast(const TGridAxis& axis, int i, int clientExtent,
                                       int lineWidth);

}  // namespace kzm::ui
