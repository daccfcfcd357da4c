#include "foundation/WindowPlacement.h"

#include <gtest/gtest.h>

#include <vector>

namespace kzm {
namespace {

const TWindowRect kWork{0, 0, 1000, 700};

TEST(WindowPlacement, CascadeSkipsTakenPlaces) {
  const std::vector<TPoint> others = {{100, 100}, {132, 132}, {500, 10}};
  EXPECT_EQ(CascadeForm({100, 100}, others, kWork, 4), (TPoint{164, 164}));
  EXPECT_EQ(CascadeForm({50, 50}, others, kWork, 4), (TPoint{50, 50}));
  EXPECT_EQ(CascadeForm({100, 100}, others, kWork, 2), (TPoint{100, 100}));  // too few windows
}

TEST(WindowPlacement, CascadeWrapsAtTheWorkAreaEdges) {
  // Stepping right passes the right edge: x returns to that window's left.
  EXPECT_EQ(CascadeForm({990, 100}, std::vector<TPoint>{{990, 100}}, kWork, 3), (TPoint{990, 132}));
  // Both edges passed: the place is that window's own, so the form stays.
  EXPECT_EQ(CascadeForm({990, 690}, std::vector<TPoint>{{990, 690}}, kWork, 3), (TPoint{990, 690}));
  // A cycle of wrapped places ends too.
  std::vector<TPoint> column;
  for (int y = 0; y <= 700; y += 32) column.push_back({990, y});
  const TPoint p = CascadeForm({990, 0}, column, kWork, 30);
  EXPECT_EQ(p, (TPoint{990, 0}));
}

TEST(WindowPlacement, CentreOnTheOpenerWithinTheWorkArea) {
  const TWindowRect area{0, 30, 1000, 700};  // a panel above
  struct TCase {
    const char* name;
    TWindowRect opener;
    int width, height;
    TPoint expected;
  } cases[] = {
      {"room all round", {300, 200, 400, 300}, 200, 100, {400, 300}},
      {"larger than the opener", {400, 300, 280, 140}, 520, 440, {280, 150}},
      {"opener by the right edge", {850, 300, 150, 100}, 300, 200, {700, 250}},
      {"opener at the top", {100, 30, 200, 60}, 300, 400, {50, 30}},
      {"larger than the work area", {300, 200, 280, 140}, 1200, 900, {0, 30}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CentreOn(c.opener, c.width, c.height, area), c.expected);
  }
}

TEST(WindowPlacement, KeepOnScreen) {
  const std::vector<TWindowRect> monitors = {{0, 0, 1920, 1040}, {1920, 0, 1280, 984}};
  const TWindowRect visible{100, 100, 400, 300};
  EXPECT_EQ(KeepOnScreen(visible, monitors, 1920, 1080), visible);
  const TWindowRect onSecond{2000, -5, 400, 300};
  EXPECT_EQ(KeepOnScreen(onSecond, monitors, 1920, 1080), onSecond);
  const TWindowRect partlyLeft{-200, 100, 400, 300};  // right half still on the first monitor
  EXPECT_EQ(KeepOnScreen(partlyLeft, monitors, 1920, 1080), partlyLeft);
  // A quarter on the screen is too little, though an edge is inside.
  EXPECT_EQ(KeepOnScreen({-300, 100, 400, 300}, monitors, 1920, 1080), (TWindowRect{760, 390, 400, 300}));
  // Saved at 1x, opened at scale 2: a 1366x768 screen is 683x384, and the main window
  // saved at 400,250 would show a quarter of itself.
  const std::vector<TWindowRect> scaled = {{0, 0, 683, 364}};
  EXPECT_EQ(KeepOnScreen({400, 250, 560, 300}, scaled, 683, 384), (TWindowRect{61, 42, 560, 300}));
  EXPECT_EQ(KeepOnScreen({5000, 100, 400, 300}, monitors, 1920, 1080), (TWindowRect{760, 390, 400, 300}));
  EXPECT_EQ(KeepOnScreen({100, 2000, 4000, 3000}, monitors, 1920, 1080), (TWindowRect{0, 0, 1920, 1080}));
  EXPECT_EQ(KeepOnScreen({100, 1035, 400, 300}, monitors, 1920, 1080), (TWindowRect{760, 390, 400, 300}));
}

}  // namespace
}  // namespace kzm
