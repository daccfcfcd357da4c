#include "graphics/SpendingGraph.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "foundation/Text.h"

namespace kzm {

namespace {

// Share limits: the first grouping, and labels only on slices wider than this.
constexpr int kAlwaysGroupedPerMille = 1;
constexpr int kLabelledAbovePerMille = 50;

std::string PercentText(std::int32_t share) {
  char text[32];
  std::snprintf(text, sizeof text, "%3.1f%%", share / 10.0);
  return text;
}

}  // namespace

TPieGeometry PieGeometry(int width, int height) {
  TPieGeometry g;
  g.cx = width / 2;
  g.cy = height / 2;
  g.radius = std::min(width * 90 / 200, height * 90 / 200);
  g.separatorWidth = g.radius / 40;
  g.unit = g.radius / 25;
  g.framePen = std::max(1, g.radius / 100);
  return g;
}

void TSGraph::Add(std::string name, std::int64_t amount, TColor color) {
  m_total += amount;
  m_entries.push_back({std::move(name), amount, color, 0});
  m_grouped = false;
}

void TSGraph::GroupBelow(int perMille) {
  const std::int64_t limit = m_total * perMille / 1000;
  std::int64_t sum = 0;
  for (auto i = m_entries.size(); i-- > 0;) {
    if (m_entries[i].amount >= limit) continue;
    sum += m_entries[i].amount;
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(i));
  }
  if (sum > 0) {
    auto other = std::find_if(m_entries.begin(), m_entries.end(),
                              [](const TSGraphEntry& e) { return e.name == kOtherEntryName; });
    if (other != m_entries.end()) {
      other->amount += sum;
    } else {
      m_entries.push_back({kOtherEntryName, sum, kOtherEntryColor, 0});
    }
  }
  // Equal amounts keep the order they were added in.
  std::stable_sort(m_entries.begin(), m_entries.end(),
                   [](const TSGraphEntry& a, const TSGraphEntry& b) { return a.amount > b.amount; });
  // Amounts of a month can pass 2^31 / 1000 yen, so shares are worked out in 64 bits.
  for (TSGraphEntry& e : m_entries) e.share = m_total > 0 ? static_cast<std::int32_t>(e.amount * 1000 / m_total) : 0;
}

void TSGraph::GroupSmallEntries() {
  if (m_grouped) return;
  m_grouped = true;
  GroupBelow(kAlwaysGroupedPerMille);
  // Ends at the latest when everything has gone into その他.
  for (int perMille = 1; static_cast<int>(m_entries.size()) > kMaxChartEntries && perMille <= 1000; ++perMille)
    GroupBelow(perMille);
}

int TSGraph::StartOf(std::size_t index) const {
  if (m_total <= 0) return 0;
  std::int64_t before = 0;
  for (std::size_t i = 0; i < index; ++i) before += m_entries[i].amount;
  return static_cast<int>(before * 1000 / m_total);
}

std::vector<TPieLabel> TSGraph::PieLabels(int width, int height) {
  GroupSmallEntries();
  const TPieGeometry g = PieGeometry(width, height);
  const double reach = (g.radius / 4) * 3.0;
  std::vector<TPieLabel> labels;
  for (auto i = m_entries.size(); i-- > 0;) {
    const TSGraphEntry& e = m_entries[i];
    if (e.share <= kLabelledAbovePerMille) continue;
    const int middle = StartOf(i) + e.share / 2;
    // Per mille of a turn, clockwise from twelve o'clock, on a screen whose y grows downward.
    const double angle = middle * (2 * std::numbers::pi / 1000) - std::numbers::pi / 2;
    labels.push_back({g.cx + static_cast<int>(std::trunc(std::cos(angle) * reach + 0.5)),
                      g.cy + static_cast<int>(std::trunc(std::sin(angle) * reach + 0.5)), e.name,
                      FormatThousands(e.amount)});
  }
  return labels;
}

TLegendLayout TSGraph::LegendLayout(int left, int height, int width, int top) {
  GroupSmallEntries();
  TLegendLayout layout;
  const int p = height / 20;
  const int e = p / 8;
  layout.rowUnit = p;
  layout.pad = e;
  layout.lineWidth = p / 10;
  layout.left = left;
  layout.right = left + width;
  int y = top;
  for (const TSGraphEntry& entry : m_entries) {
    y += p;
    TLegendRow row;
    row.swatch = {left, y + e, left + p, y + p};
    row.color = entry.color;
    row.textTop = y + e;
    row.percent = PercentText(entry.share);
    row.percentRight = left + 2 * e + 3 * p;
    row.name = entry.name;
    row.nameLeft = left + 4 * e + 3 * p;
    row.amount = FormatThousands(entry.amount);
    row.amountRight = left + width - 3 * e;
    row.lineY = y + p;
    layout.rows.push_back(std::move(row));
  }
  return layout;
}

int ChartPieSide(int clientWidth, int clientHeight) {
  return std::max(0, std::min(clientHeight, clientWidth - clientWidth / 3));
}

int ChartDrawFactor(int side) {
  if (side <= 250) return 3;
  if (side <= 500) return 2;
  return 1;
}

}  // namespace kzm
