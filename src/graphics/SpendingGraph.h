#pragma once

// TSGraph: the amounts of one month's spending by category, with their colours, and how
// they are drawn as a ring-shaped pie with labelled slices and as a legend. The layout
// (grouping, shares, where labels and legend rows go) is worked out here; the drawing goes
// through a TChartCanvas.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "graphics/ChartCanvas.h"
#include "graphics/Geometry.h"

namespace kzm {

// The name and colour that collect the entries too small to show on their own.
inline constexpr const char* kOtherEntryName = "その他";
inline constexpr TColor kOtherEntryColor = 0x808080;
// Grouping stops once no more entries than this are left.
inline constexpr int kMaxChartEntries = 20;

struct TSGraphEntry {
  std::string name;
  std::int64_t amount = 0;
  TColor color = 0;
  // amount × 1000 / total, rounded down; filled in by the grouping.
  std::int32_t share = 0;
};

// The pie's measures for a canvas of width × height: the circle around (cx, cy) with radius
// r, the separator width r/40, the text unit r/25 and the labels' frame width.
struct TPieGeometry {
  int cx = 0;
  int cy = 0;
  int radius = 0;
  int separatorWidth = 0;
  int unit = 0;
  int framePen = 1;
};
[[nodiscard]] TPieGeometry PieGeometry(int width, int height);

// A slice label: its centre and its two lines.
struct TPieLabel {
  int x = 0;
  int y = 0;
  std::string name;
  std::string amount;
};

// One row of the legend. Texts are drawn with the cell height p − e (p = height / 20,
// e = p / 8); the name still has to be shortened to the room left of the amount.
struct TLegendRow {
  TRect swatch;
  TColor color = 0;
  int textTop = 0;
  std::string percent;  // "33.3%"
  int percentRight = 0;
  std::string name;
  int nameLeft = 0;
  std::string amount;
  int amountRight = 0;
  int lineY = 0;  // the row's bottom line, across the whole legend
};
struct TLegendLayout {
  int rowUnit = 0;     // p
  int pad = 0;         // e
  int lineWidth = 0;   // p / 10
  TColor lineColor = 0xC0C0C0;
  int left = 0;
  int right = 0;
  std::vector<TLegendRow> rows;
};

class TSGraph {
 public:
  // Appends an entry; the amount counts toward the total.
  void Add(std::string name, std::int64_t amount, TColor color);

  // The entries in their order: as added until grouped, then largest first.
  [[nodiscard]] const std::vector<TSGraphEntry>& Entries() const { return m_entries; }
  [[nodiscard]] std::int64_t Total() const { return m_total; }

  void SetBackground(TColor color) { m_background = color; }
  // The month, e.g. "2004年5月", shown in the centre of the pie.
  [[nodiscard]] const std::string& Title() const { return m_title; }
  void SetTitle(std::string title) { m_title = std::move(title); }
  // What is counted, "支出", shown under the title with the total.
  [[nodiscard]] const std::string& KindLabel() const { return m_kindLabel; }
  void SetKindLabel(std::string label) { m_kindLabel = std::move(label); }

  // Merges the entries below 1 per mille of the total into "その他", then raises the
  // threshold per mille by per mille until no more than 20 entries are left; sorts the
  // entries largest first and works out their shares. Done once after the last Add.
  void GroupSmallEntries();

  // The slice labels (only for shares above 50 per mille), last entry first. Groups first.
  [[nodiscard]] std::vector<TPieLabel> PieLabels(int width, int height);
  // The legend at (left, top), width × height, one row per entry. Groups first.
  [[nodiscard]] TLegendLayout LegendLayout(int left, int height, int width, int top);

  // The ring chart filling width × height (background included). Groups first.
  void DrawPie(TChartCanvas& canvas, int width, int height);
  // The legend; nothing for a chart without entries. Groups first.
  void DrawLegend(TChartCanvas& canvas, int left, int height, int width, int top);

 private:
  void GroupBelow(int perMille);
  [[nodiscard]] int StartOf(std::size_t index) const;
  void DrawSlices(TChartCanvas& canvas, const TPieGeometry& g);
  void DrawCentre(TChartCanvas& canvas, const TPieGeometry& g);
  void DrawLabels(TChartCanvas& canvas, const TPieGeometry& g, int width, int height);

  std::vector<TSGraphEntry> m_entries;
  std::int64_t m_total = 0;
  bool m_grouped = true;
  TColor m_background = 0xFFFFFF;
  std::string m_title;
  std::string m_kindLabel;
};

// The side of the square the pie gets in a client area: its height, but no more than two
// thirds of its width (the legend takes the rest).
[[nodiscard]] int ChartPieSide(int clientWidth, int clientHeight);
// How many times larger the pie is drawn before it is shrunk, for smooth edges: 3 up to a
// side of 250, 2 up to 500, 1 above.
[[nodiscard]] int ChartDrawFactor(int side);

}  // namespace kzm
