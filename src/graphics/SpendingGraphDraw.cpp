// Drawing the spending chart's pie and legend on a canvas.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "foundation/Text.h"
#include "graphics/BitmapRoutines.h"
#include "graphics/SpendingGraph.h"

namespace kzm {

namespace {

constexpr TColor kBlack = 0x000000;
constexpr TColor kWhite = 0xFFFFFF;
// Each slice has a darker rim, and the centre hole two shades of the background.
constexpr int kShadePercent = 95;
// Slices ending before this many steps are left out.
constexpr int kFirstDrawnStep = 4;

// The point at radius from the centre, perMille of a turn clockwise from twelve o'clock.
void RimPoint(const TPieGeometry& g, int perMille, int radius, int& x, int& y) {
  const double angle = perMille * (2 * std::numbers::pi / 1000) - std::numbers::pi / 2;
  x = g.cx + static_cast<int>(std::lround(std::cos(angle) * radius));
  y = g.cy + static_cast<int>(std::lround(std::sin(angle) * radius));
}

}  // namespace

void TSGraph::DrawSlices(TChartCanvas& canvas, const TPieGeometry& g) {
  const int sep = g.separatorWidth;
  for (std::size_t i = 0; i < m_entries.size(); ++i) {
    const TSGraphEntry& e = m_entries[i];
    const int start = StartOf(i);
    const int from = start / 2;
    const int to = from + e.share / 2;
    if (to >= kFirstDrawnStep && e.share / 2 > 0) {
      canvas.FillPie(g.cx, g.cy, g.radius, from, to, DarkenColor(e.color, kShadePercent));
      canvas.FillPie(g.cx, g.cy, g.radius - 2 * sep, from, to, e.color);
    }
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    RimPoint(g, start, g.radius + 1, x1, y1);
    RimPoint(g, start + e.share + 1, g.radius + 1, x2, y2);
    canvas.DrawLine(x1, y1, g.cx, g.cy, sep, m_background);
    canvas.DrawLine(g.cx, g.cy, x2, y2, sep, m_background);
  }
}

void TSGraph::DrawCentre(TChartCanvas& canvas, const TPieGeometry& g) {
  const int hole = g.radius * 35 / 100;
  const TColor shade = DarkenColor(m_background, kShadePercent);
  canvas.FillDisc(g.cx, g.cy, hole + g.unit, m_background);
  canvas.FillPie(g.cx, g.cy, hole, 0, kPieSteps, DarkenColor(shade, kShadePercent));
  canvas.FillPie(g.cx, g.cy, hole - 2 * g.separatorWidth, 0, kPieSteps, shade);

  canvas.SetCellHeight(3 * g.unit);
  const int title = canvas.TextWidth(m_title);
  canvas.TextOut(g.cx - title / 2, g.cy - canvas.TextHeight(), m_title, kBlack);
  const std::string sum = m_kindLabel + " " + FormatThousands(m_total);
  canvas.TextOut(g.cx - canvas.TextWidth(sum) / 2, g.cy, sum, kBlack);
}

void TSGraph::DrawLabels(TChartCanvas& canvas, const TPieGeometry& g, int width, int height) {
  canvas.SetCharHeight(3 * g.unit);
  const int fontHeight = canvas.TextHeight();
  for (const TPieLabel& label : PieLabels(width, height)) {
    const int nameWidth = canvas.TextWidth(label.name);
    const int amountWidth = canvas.TextWidth(label.amount);
    const int half = std::max({nameWidth, amountWidth, 30}) / 2 + g.unit;
    canvas.DrawBox({label.x - half, label.y - fontHeight - 2, label.x + half, label.y + fontHeight + 2}, kWhite, kBlack,
                   g.framePen);
    canvas.TextOut(label.x - nameWidth / 2, label.y - fontHeight, label.name, kBlack);
    canvas.TextOut(label.x - amountWidth / 2, label.y + 2, label.amount, kBlack);
  }
}

void TSGraph::DrawPie(TChartCanvas& canvas, int width, int height) {
  GroupSmallEntries();
  const TPieGeometry g = PieGeometry(width, height);
  canvas.FillRect({0, 0, width, height}, m_background);
  DrawSlices(canvas, g);
  DrawCentre(canvas, g);
  DrawLabels(canvas, g, width, height);
}

void TSGraph::DrawLegend(TChartCanvas& canvas, int left, int height, int width, int top) {
  const TLegendLayout layout = LegendLayout(left, height, width, top);
  if (layout.rows.empty()) return;
  canvas.SetCellHeight(layout.rowUnit - layout.pad);
  const TTextWidth measure = [&canvas](std::string_view text) { return canvas.TextWidth(text); };
  for (const TLegendRow& row : layout.rows) {
    canvas.FillRect(row.swatch, row.color);
    // Right-aligned, but never over the swatch: fonts with wider digits need the room.
    const int percentLeft = std::max(row.percentRight - canvas.TextWidth(row.percent), row.swatch.right + 1);
    canvas.TextOut(percentLeft, row.textTop, row.percent, kBlack);
    // The name keeps a space's width after a share that came out wider than its place.
    const int gap = std::max(2 * layout.pad, canvas.TextWidth(" "));
    const int nameLeft = std::max(row.nameLeft, percentLeft + canvas.TextWidth(row.percent) + gap);
    const int amountLeft = row.amountRight - canvas.TextWidth(row.amount);
    canvas.TextOut(nameLeft, row.textTop, FitText(row.name, measure, amountLeft - nameLeft), kBlack);
    canvas.TextOut(amountLeft, row.textTop, row.amount, kBlack);
    canvas.DrawLine(layout.left, row.lineY, layout.right, row.lineY, layout.lineWidth, layout.lineColor);
  }
}

}  // namespace kzm
