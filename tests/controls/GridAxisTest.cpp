#include "controls/grid/GridAxis.h"
#include "controls/grid/GridScroll.h"

#include <gtest/gtest.h>

#include <climits>

namespace kzm::ui {
namespace {

TEST(GridAxis, MeasureFromTheTopAndScrolled) {
  TGridAxis rows(101, 1, 24);  // 1 fixed + 100 body rows, 25 pixels with the line
  struct Case {
    int first;
    int client;
    int lastFull;
    int fullBoundary;
    int gridBoundary;
  };
  const Case cases[] = {
      {1, 275, 10, 275, 275},   // ten body rows fit exactly
      {1, 280, 10, 275, 280},   // an eleventh shows in part
      {50, 275, 59, 275, 275},  // scrolled: counted from the first visible row
      {91, 300, 100, 275, 275}, // the last rows leave room below
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "first " << c.first << " client " << c.client);
    const TAxisMeasure m = MeasureAxis(rows, c.first, c.client, 1);
    EXPECT_EQ(m.FixedBoundary, 25);
    EXPECT_EQ(m.LastFullVisibleCell, c.lastFull);
    EXPECT_EQ(m.FullVisBoundary, c.fullBoundary);
    EXPECT_EQ(m.GridBoundary, c.gridBoundary);
  }
}

TEST(GridAxis, AxisWithoutScrollableCellsEndsAtItsLastFixedCell) {
  TGridAxis rows(2, 2, 24);
  const TAxisMeasure m = MeasureAxis(rows, 2, 500, 1);
  EXPECT_EQ(m.LastFullVisibleCell, 1);
  EXPECT_EQ(m.GridBoundary, 50);
  EXPECT_EQ(MaxFirstCell(rows, 500, 1), 2);
}

TEST(GridAxis, MaxFirstCellAndHitTesting) {
  TGridAxis rows(101, 1, 24);
  EXPECT_EQ(MaxFirstCell(rows, 275, 1), 91);
  EXPECT_EQ(MaxFirstCell(rows, 5000, 1), 1);
  rows.SetExtent(100, 400);  // a last row taller than the window still can stand first
  EXPECT_EQ(MaxFirstCell(rows, 275, 1), 100);

  TGridAxis cols(5, 1, 64);
  const TAxisMeasure m = MeasureAxis(cols, 3, 200, 1);  // shows 0 | 3 4
  struct Case {
    int pixel;
    int cell;
  };
  for (const Case& c : {Case{0, 0}, Case{64, 0}, Case{65, 3}, Case{129, 3}, Case{130, 4},
                        Case{195, -1}, Case{-1, -1}}) {
    SCOPED_TRACE(c.pixel);
    EXPECT_EQ(CellAtPixel(cols, m, c.pixel), c.cell);
  }
  EXPECT_EQ(CellStart(cols, m, 2), -1);  // scrolled away
  EXPECT_EQ(CellStart(cols, m, 4), 130);
}

TEST(GridAxis, MovingACellCarriesItsExtent) {
  TGridAxis cols(4, 0, 10);
  cols.SetExtent(0, 1);
  cols.SetExtent(3, 4);
  cols.MoveCell(0, 3);
  EXPECT_EQ(cols.Extent(3), 1);
  EXPECT_EQ(cols.Extent(2), 4);
  cols.MoveCell(3, 0);
  EXPECT_EQ(cols.Extent(0), 1);
  EXPECT_EQ(cols.Extent(3), 4);
}

TEST(GridAxis, TotalExtentDoesNotOverflow) {
  TGridAxis rows(5, 1, 24);
  EXPECT_GT(rows.TotalExtent(100'000'000, 1), int64_t{INT_MAX});
}

TEST(GridScroll, BarCountsWholeCells) {
  // 1 fixed + 100 body rows, 10 visible.
  TScrollBarSetup bar = ScrollBarSetup(101, 1, 1, 10, 91, {});
  EXPECT_TRUE(bar.Enabled);
  EXPECT_EQ(bar.Min, 0);
  EXPECT_EQ(bar.Max, 99);
  EXPECT_EQ(bar.Page, 10);
  EXPECT_EQ(bar.Position, 0);
  EXPECT_EQ(ScrollTarget(TScrollRequest::Bottom, 1, 1, 91, 10, 0), 91);
  EXPECT_EQ(ScrollBarSetup(101, 1, 91, 10, 91, bar).Position, 90);

  const TScrollBarSetup fits = ScrollBarSetup(5, 1, 1, 4, 1, bar);
  EXPECT_FALSE(fits.Enabled);
  EXPECT_EQ(fits.Max, 99);  // a disabled bar keeps its old range
}

TEST(GridScroll, RequestsStayInsideTheScrollableCells) {
  struct Case {
    TScrollRequest request;
    int first;
    int thumb;
    int expected;
  };
  const Case cases[] = {
      {TScrollRequest::LineUp, 1, 0, 1},         {TScrollRequest::LineDown, 1, 0, 2},
      {TScrollRequest::PageDown, 85, 0, 91},     {TScrollRequest::PageUp, 30, 0, 20},
      {TScrollRequest::PageUp, 5, 0, 1},         {TScrollRequest::ThumbPosition, 1, 40, 41},
      {TScrollRequest::ThumbTrack, 1, 500, 91},  {TScrollRequest::Top, 50, 0, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.request));
    EXPECT_EQ(ScrollTarget(c.request, c.first, 1, 91, 10, c.thumb), c.expected);
  }
}

}  // namespace
}  // namespace kzm::ui
