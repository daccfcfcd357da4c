#include "controls/grid/GridAxis.h"

#include <algorithm>
#include <cassert>

namespace kzm::ui {

int TGridAxis::Extent(int i) const {
  assert(i >= 0 && i < m_count);
  return m_extents.empty() ? m_defaultExtent : m_extents[static_cast<size_t>(i)];
}

void TGridAxis::SetCount(int count) {
  m_count = count;
  if (!m_extents.empty()) m_extents.resize(static_cast<size_t>(count), m_defaultExtent);
}

void TGridAxis::SetDefaultExtent(int extent) {
  m_defaultExtent = extent;
  m_extents.clear();
}

void TGridAxis::SetExtent(int i, int extent) {
  assert(i >= 0 && i < m_count);
  if (m_extents.empty()) m_extents.assign(static_cast<size_t>(m_count), m_defaultExtent);
  m_extents[static_cast<size_t>(i)] = extent;
}

void TGridAxis::MoveCell(int from, int to) {
  if (m_extents.empty() || from == to) return;
  auto first = m_extents.begin();
  if (from < to)
    std::rotate(first + from, first + from + 1, first + to + 1);
  else
    std::rotate(first + to, first + from, first + from + 1);
}

int64_t TGridAxis::TotalExtent(int count, int lineWidth) const {
  int64_t total = 0;
  const int kept = std::min(count, m_count);
  for (int i = 0; i < kept; ++i) total += Extent(i) + int64_t{lineWidth};
  if (count > kept) total += int64_t{count - kept} * (int64_t{m_defaultExtent} + lineWidth);
  return total;
}

namespace {

// Walks the cells from `first` starting at pixel `start`, filling the visible part of m.
void WalkCells(const TGridAxis& axis, int first, int start, TAxisMeasure& m) {
  int boundary = start;
  m.GridBoundary = start;
  m.FullVisBoundary = start;
  m.LastFullVisibleCell = first;
  for (int i = first; i < axis.Count(); ++i) {
    boundary += axis.Extent(i) + m.LineWidth;
    if (boundary > m.GridExtent + m.LineWidth) {
      m.GridBoundary = m.GridExtent;
      return;
    }
    m.LastFullVisibleCell = i;
    m.FullVisBoundary = boundary;
    m.GridBoundary = boundary;
  }
}

}  // namespace

TAxisMeasure MeasureAxis(const TGridAxis& axis, int firstGridCell, int clientExtent,
                         int lineWidth) {
  TAxisMeasure m;
  m.LineWidth = lineWidth;
  m.FixedCellCount = axis.Fixed();
  m.FirstGridCell = firstGridCell;
  m.GridCellCount = axis.Count();
  m.GridExtent = clientExtent;
  for (int i = 0; i < axis.Fixed(); ++i) m.FixedBoundary += axis.Extent(i) + lineWidth;
  if (firstGridCell <= axis.Fixed())
    WalkCells(axis, 0, 0, m);
  else
    WalkCells(axis, firstGridCell, m.FixedBoundary, m);
  return m;
}

int MaxFirstCell(const TGridAxis& axis, int clientExtent, int lineWidth) {
  const int last = axis.Count() - 1;
  if (last < axis.Fixed()) return axis.Fixed();
  return FirstCellShowingLast(axis, last, clientExtent, lineWidth);
}

int CellAtPixel(const TGridAxis& axis, const TAxisMeasure& m, int pos) {
  if (pos < 0 || pos >= m.GridBoundary) return -1;
  int start = 0;
  for (int i = 0; i < axis.Count(); ++i) {
    if (i == axis.Fixed()) {
      i = std::max(i, m.FirstGridCell);
      if (i >= axis.Count()) return -1;
    }
    const int end = start + axis.Extent(i) + m.LineWidth;
    if (pos < end) return i;
    start = end;
  }
  return -1;
}

int CellStart(const TGridAxis& axis, const TAxisMeasure& m, int i) {
  if (i < 0 || i >= axis.Count()) return -1;
  if (i >= axis.Fixed() && i < m.FirstGridCell) return -1;
  const bool fixed = i < axis.Fixed();
  int start = fixed ? 0 : m.FixedBoundary;
  for (int k = fixed ? 0 : m.FirstGridCell; k < i; ++k) {
    start += axis.Extent(k) + m.LineWidth;
    if (start >= m.GridBoundary) return -1;
  }
  return start < m.GridBoundary ? start : -1;
}

int FirstCellShowingLast(const TGridAxis& axis, int i, int clientExtent, int lineWidth) {
  // A line may hang past the edge, hence the extra line width of room.
  int fixedBoundary = 0;
  for (int k = 0; k < axis.Fixed(); ++k) fixedBoundary += axis.Extent(k) + lineWidth;
  int room = clientExtent + lineWidth - fixedBoundary;
  int result = i;
  for (int k = i; k >= axis.Fixed(); --k) {
    room -= axis.Extent(k) + lineWidth;
    if (room < 0) break;
    result = k;
  }
  return result;
}

}  // namespace kzm::ui
