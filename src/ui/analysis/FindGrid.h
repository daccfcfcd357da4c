#pragma once

// TFindGrid: the search results as a grid of six columns under a header row whose cells act
// as buttons: a press sorts by that column, each column remembering its own direction. Until
// the person sorts, the rows are shown by date while the results keep the order they were
// found in (which the export and the printout use). Only the rows in view are painted, so
// any number of results scrolls freely.

#include "controls/grid/GridControl.h"
#include "search/Search.h"
#include "search/SearchSort.h"

#include <QCollator>

#include <array>
#include <cstdint>
#include <functional>
#include <vector>

namespace kzm::ui {

class TFindGrid : public TorvDrawGrid {
  Q_OBJECT

 public:
  explicit TFindGrid(QWidget* parent = nullptr);

  [[nodiscard]] kzm::TSearchResults& Results() { return m_results; }
  [[nodiscard]] const kzm::TSearchResults& Results() const { return m_results; }
  // Call after the results were added to or cleared: the rows follow them.
  void ResultsChanged();
  // Forgets the person's sorting (mark and directions): the rows go back to date order.
  void ClearSort();
  // The column the rows are sorted by, -1 while they are shown by date unsorted.
  [[nodiscard]] int SortedColumn() const { return m_sortedCol; }
  // The result shown in grid row row (1 is the first under the header), or null.
  [[nodiscard]] const kzm::TkzmEntry* ResultOfRow(int row) const;

  // Sorts by col: ascending the first time, then the other way on every further call.
  void SortByColumn(int col);
  // The result of the selected row, or null (no results).
  [[nodiscard]] const kzm::TkzmEntry* SelectedResult() const;
  // The text comparison used for sorting (by the Japanese rules).
  [[nodiscard]] bool TextLess(const std::string& a, const std::string& b) const;

  // A result was double-clicked (or Enter pressed on it).
  std::function<void(const kzm::TkzmEntry&)> OnOpenResult;

  // A header with its sort direction, an amount with its sign.
  [[nodiscard]] QString SpokenCell(int col, int row) const override;

 protected:
  void DrawCell(QPainter& canvas, int col, int row, const QRect& rect, TGridDrawState state) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool viewportEvent(QEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void DrawHeader(QPainter& canvas, int col, const QRect& rect);
  void DrawResultCell(QPainter& canvas, int col, const kzm::TkzmEntry& entry, const QRect& rect);
  // The header column under pos when pos is far enough from its edges to be a button press.
  [[nodiscard]] int HeaderButtonAt(QPoint pos) const;
  void SetHover(int col);
  void ApplyFontMetrics();

  kzm::TSearchResults m_results;
  // The position among the results of each row's result, in row order.
  std::vector<uint32_t> m_rows;
  QCollator m_collator;
  std::array<bool, kzm::kSearchColumnCount> m_descendingNext{};
  int m_sortedCol = -1;
  int m_hoverCol = -1;
  int m_pressedCol = -1;
};

}  // namespace kzm::ui
