#include "GridTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace kzm::ui {
namespace {

using test::Click;
using test::PressKey;
using test::SendMouse;
using test::ShownGrid;

template <typename F>
std::string MessageOf(F&& action) {
  try {
    action();
  } catch (const EInvalidGridOperation& e) {
    return e.what();
  }
  return "(nothing raised)";
}

QImage Render(TorvGrid& grid) { return grid.viewport()->grab().toImage(); }

TEST(GridControl, RowCountNeverGivesUpFixedRows) {
  for (int value : {0, -3, 1}) {
    SCOPED_TRACE(value);
    auto grid = ShownGrid(400, 300);
    grid->SetRowCount(6);
    grid->SetFixedRows(2);
    grid->SetRow(4);
    grid->SetRowCount(value);
    EXPECT_EQ(grid->RowCount(), 2);
    EXPECT_EQ(grid->FixedRows(), 2);
    EXPECT_EQ(grid->Row(), 1);  // the last fixed row
    EXPECT_EQ(grid->VisibleRowCount(), 0);
    EXPECT_FALSE(grid->verticalScrollBar()->isEnabled());
  }
}

TEST(GridControl, ColCountKeepsOneSortFlagPerColumn) {
  auto grid = ShownGrid(400, 300);
  EXPECT_EQ(grid->SortFlagCount(), 5);
  grid->SetSortFlag(2, TGridSortFlag::gsfReverse);
  grid->SetSortFlag(4, TGridSortFlag::gsfForword);
  grid->SetColCount(3);
  EXPECT_EQ(grid->SortFlagCount(), 3);
  grid->SetColCount(6);
  EXPECT_EQ(grid->SortFlagCount(), 6);
  EXPECT_EQ(grid->SortFlag(2), TGridSortFlag::gsfReverse);
  for (int col = 3; col < 6; ++col) EXPECT_EQ(grid->SortFlag(col), TGridSortFlag::gsfNone);
  // Fixed columns give way to a smaller column count.
  grid->SetFixedCols(3);
  grid->SetColCount(2);
  EXPECT_EQ(grid->FixedCols(), 1);
}

TEST(GridControl, InvalidOperationsCarryTheirMessages) {
  auto grid = ShownGrid(400, 300);
  EXPECT_EQ(MessageOf([&] { grid->SetFixedRows(5); }), kFixedRowTooBig);
  EXPECT_EQ(MessageOf([&] { grid->SetFixedCols(5); }), kFixedColTooBig);
  EXPECT_EQ(MessageOf([&] { (void)grid->Cells(5, 0); }), kGridIndexOutOfRange);
  EXPECT_EQ(MessageOf([&] { grid->SetRow(9); }), kGridIndexOutOfRange);
  EXPECT_EQ(MessageOf([&] { grid->SetColWidths(-1, 10); }), kGridIndexOutOfRange);
  grid->SetFixedRows(0);
  grid->SetRowCount(1);
  EXPECT_EQ(MessageOf([&] { grid->DeleteRow(0); }), kTooManyDeleted);
  grid->SetColCount(1);
  EXPECT_EQ(MessageOf([&] { grid->DeleteColumn(0); }), kTooManyDeleted);
}

TEST(GridControl, FailedResizeRestoresTheOldGrid) {
  auto grid = ShownGrid(400, 300);
  grid->SetRowCount(20);
  grid->SetCells(1, 19, QStringLiteral("last"));
  grid->SetRow(19);
  EXPECT_EQ(MessageOf([&] { grid->SetRowCount(200'000'000); }), kGridTooLarge);
  EXPECT_EQ(grid->RowCount(), 20);
  EXPECT_EQ(grid->Row(), 19);
  EXPECT_EQ(grid->Cells(1, 19), QStringLiteral("last"));
}

TEST(GridControl, LineColoursOfFixedAndBodyCells) {
  auto grid = ShownGrid(400, 300);
  grid->SetFixedLineColor(Qt::red);
  grid->SetGridLineColor(Qt::blue);
  for (QColor fill : {QColor(Qt::white), QColor(0xC0, 0xC0, 0xC0)}) {
    SCOPED_TRACE(fill.name().toStdString());
    grid->SetColor(fill);
    const QImage image = Render(*grid);
    // Columns are 64 pixels plus a line, rows 24 plus a line.
    EXPECT_EQ(image.pixelColor(64, 10), QColor(Qt::red));   // between fixed cells of row 0
    EXPECT_EQ(image.pixelColor(100, 24), QColor(Qt::red));  // under the fixed row
    EXPECT_EQ(image.pixelColor(64, 30), QColor(Qt::red));   // right of the fixed column
    EXPECT_EQ(image.pixelColor(129, 30), QColor(Qt::blue)); // between body cells
    EXPECT_EQ(image.pixelColor(100, 49), QColor(Qt::blue));
    EXPECT_EQ(image.pixelColor(100, 35), fill);
  }
}

TEST(GridControl, SortMarkersOnlyInFixedCellsAndOnlyWithSort) {
  auto grid = ShownGrid(400, 300);
  for (int row = 0; row < 2; ++row) grid->SetCells(2, row, QStringLiteral("AB"));
  const QImage plain = Render(*grid);
  grid->SetSortFlag(2, TGridSortFlag::gsfReverse);
  EXPECT_EQ(Render(*grid), plain);  // flags alone draw nothing
  grid->SetSort(true);
  grid->InvalidateGrid();
  const QImage marked = Render(*grid);
  const QRect header = grid->CellRect(2, 0);
  const int textEnd = header.left() + 2 + grid->fontMetrics().horizontalAdvance(QStringLiteral("AB"));
  int changed = 0;
  for (int y = 0; y < plain.height(); ++y)
    for (int x = 0; x < plain.width(); ++x) {
      if (plain.pixel(x, y) == marked.pixel(x, y)) continue;
      ++changed;
      EXPECT_TRUE(header.contains(x, y) && x >= textEnd) << x << "," << y;
    }
  EXPECT_GT(changed, 0);
}

TEST(GridControl, FixedCurrentCellIsNeverFocusedOrSelected) {
  auto grid = ShownGrid(400, 300);
  std::vector<std::pair<TGridCoord, TGridDrawState>> drawn;
  grid->OnDrawCell = [&](TorvCustomDrawGrid&, QPainter&, int col, int row, const QRect&,
                         TGridDrawState state) { drawn.push_back({{col, row}, state}); };
  grid->SetRowCount(1);  // body empty: the current row is the fixed row
  ASSERT_TRUE(grid->hasFocus());
  ASSERT_EQ(grid->Row(), 0);
  (void)Render(*grid);
  bool seen = false;
  for (const auto& [cell, state] : drawn) {
    if (!(cell == TGridCoord{grid->Col(), grid->Row()})) continue;
    seen = true;
    EXPECT_TRUE(state.Contains(TGridDrawFlag::gdFixed));
    EXPECT_FALSE(state.Contains(TGridDrawFlag::gdFocused));
    EXPECT_FALSE(state.Contains(TGridDrawFlag::gdSelected));
  }
  EXPECT_TRUE(seen);
}

TEST(GridControl, ScrollBarInWholeRows) {
  auto grid = ShownGrid(400, 275);  // the fixed row and ten body rows
  grid->SetRowCount(101);
  EXPECT_EQ(grid->VisibleRowCount(), 10);
  const TScrollBarSetup& bar = grid->VertScrollSetup();
  EXPECT_TRUE(bar.Enabled);
  EXPECT_EQ(bar.Min, 0);
  EXPECT_EQ(bar.Max, 99);
  EXPECT_EQ(bar.Page, 10);
  EXPECT_EQ(grid->verticalScrollBar()->pageStep(), 10);

  grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(grid->TopRow(), 91);
  EXPECT_EQ(grid->verticalScrollBar()->value(), 90);
  grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderPageStepSub);
  EXPECT_EQ(grid->TopRow(), 81);
  EXPECT_EQ(grid->verticalScrollBar()->value(), 80);
}

TEST(GridControl, BarIsDisabledNotHiddenWhenEverythingFits) {
  auto grid = ShownGrid(400, 300);
  EXPECT_FALSE(grid->verticalScrollBar()->isEnabled());
  EXPECT_TRUE(grid->verticalScrollBar()->isVisible());
  EXPECT_FALSE(grid->horizontalScrollBar()->isEnabled());
  grid->SetRowCount(50);
  EXPECT_TRUE(grid->verticalScrollBar()->isEnabled());
}

TEST(GridControl, DraggingARowBelowTheLastRowTargetsTheLastRow) {
  auto grid = ShownGrid(400, 300);
  grid->SetOptions(grid->Options().With(TGridOption::goRowMoving));
  for (int row = 1; row < 5; ++row) grid->SetCells(1, row, QString::number(row));
  std::pair<int, int> moved{-1, -1};
  grid->OnRowMoved = [&](TorvCustomDrawGrid&, int from, int to) { moved = {from, to}; };
  QWidget& view = *grid->viewport();
  const QPoint start = grid->CellRect(0, 2).center();
  SendMouse(view, QEvent::MouseButtonPress, start);
  SendMouse(view, QEvent::MouseMove, QPoint(start.x(), 250));
  EXPECT_EQ(grid->GridState(), TGridState::gsRowMoving);
  SendMouse(view, QEvent::MouseButtonRelease, QPoint(start.x(), 250), Qt::NoButton);
  EXPECT_EQ(moved, std::make_pair(2, 4));
  EXPECT_EQ(grid->Rows(4)[1], QStringLiteral("2"));
  EXPECT_EQ(grid->Rows(2)[1], QStringLiteral("3"));
}

TEST(GridControl, SizingAColumnByItsLine) {
  auto grid = ShownGrid(400, 300);
  grid->SetOptions(grid->Options().With(TGridOption::goColSizing));
  QWidget& view = *grid->viewport();
  SendMouse(view, QEvent::MouseButtonPress, QPoint(129, 10));  // line after column 1
  SendMouse(view, QEvent::MouseMove, QPoint(159, 10));
  SendMouse(view, QEvent::MouseButtonRelease, QPoint(159, 10), Qt::NoButton);
  EXPECT_EQ(grid->ColWidths(1), 94);
  EXPECT_EQ(grid->ColWidths(2), 64);
}

TEST(GridControl, RefusedSelectionKeepsTheCurrentCell) {
  auto grid = ShownGrid(400, 300);
  grid->OnSelectCell = [](TorvCustomDrawGrid&, int, int row, bool& canSelect) {
    canSelect = row != 3;
  };
  grid->SetRow(2);
  PressKey(*grid, Qt::Key_Down);
  EXPECT_EQ(grid->Row(), 2);
  Click(*grid->viewport(), grid->CellRect(2, 3).center());
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(grid->Col(), 1);
  Click(*grid->viewport(), grid->CellRect(2, 4).center());
  EXPECT_EQ(grid->Row(), 4);
  EXPECT_EQ(grid->Col(), 2);
}

TEST(GridControl, KeyboardNavigationSkipsFixedCells) {
  auto grid = ShownGrid(400, 300);
  grid->SetFixedCols(2);
  grid->SetOptions(grid->Options().With(TGridOption::goTabs));
  struct Case {
    int key;
    Qt::KeyboardModifiers mods;
    TGridCoord from;
    TGridCoord to;
  };
  const Case cases[] = {
      {Qt::Key_Up, Qt::NoModifier, {2, 1}, {2, 1}},
      {Qt::Key_Left, Qt::NoModifier, {2, 1}, {2, 1}},
      {Qt::Key_Right, Qt::NoModifier, {2, 1}, {3, 1}},
      {Qt::Key_Home, Qt::NoModifier, {4, 3}, {2, 3}},
      {Qt::Key_End, Qt::NoModifier, {2, 3}, {4, 3}},
      {Qt::Key_Home, Qt::ControlModifier, {4, 3}, {2, 1}},
      {Qt::Key_End, Qt::ControlModifier, {2, 1}, {4, 4}},
      {Qt::Key_Tab, Qt::NoModifier, {4, 1}, {2, 2}},
      {Qt::Key_Backtab, Qt::ShiftModifier, {2, 2}, {4, 1}},
      {Qt::Key_PageDown, Qt::NoModifier, {2, 1}, {2, 4}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "key " << c.key << " from " << c.from.X << "," << c.from.Y);
    grid->SetCol(c.from.X);
    grid->SetRow(c.from.Y);
    PressKey(*grid, c.key, c.mods);
    EXPECT_EQ(grid->Col(), c.to.X);
    EXPECT_EQ(grid->Row(), c.to.Y);
  }
}

TEST(GridControl, ShiftArrowsExtendTheSelection) {
  auto grid = ShownGrid(400, 300);
  PressKey(*grid, Qt::Key_Down, Qt::ShiftModifier);
  PressKey(*grid, Qt::Key_Right, Qt::ShiftModifier);
  EXPECT_EQ(grid->Selection(), (TGridRect{1, 1, 2, 2}));
  PressKey(*grid, Qt::Key_Down);
  EXPECT_EQ(grid->Selection(), (TGridRect{2, 3, 2, 3}));
}

TEST(GridControl, InplaceEditorWritesBackThroughOnSetEditText) {
  auto grid = ShownGrid(400, 300);
  grid->SetOptions(grid->Options().With(TGridOption::goEditing));
  grid->SetCells(1, 1, QStringLiteral("old"));
  std::vector<QString> written;
  grid->OnSetEditText = [&](TorvCustomDrawGrid&, int col, int row, const QString& value) {
    EXPECT_EQ(col, 1);
    EXPECT_EQ(row, 1);
    written.push_back(value);
  };
  PressKey(*grid, Qt::Key_F2);
  ASSERT_TRUE(grid->EditorMode());
  TInplaceEdit& editor = *grid->InplaceEditor();
  EXPECT_EQ(editor.text(), QStringLiteral("old"));
  PressKey(editor, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
  PressKey(editor, Qt::Key_Escape);  // Esc drops what was typed
  EXPECT_TRUE(written.empty());
  EXPECT_FALSE(grid->EditorMode());
  EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("old"));

  PressKey(*grid, Qt::Key_N, Qt::NoModifier, QStringLiteral("n"));  // typing opens the editor
  PressKey(editor, Qt::Key_E, Qt::NoModifier, QStringLiteral("e"));
  PressKey(editor, Qt::Key_Return);
  EXPECT_EQ(written, std::vector<QString>{QStringLiteral("ne")});
  EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("ne"));

  PressKey(*grid, Qt::Key_F2);
  PressKey(editor, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"));
  PressKey(editor, Qt::Key_Down);  // leaving the cell keeps the text too
  EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("nez"));
  EXPECT_EQ(grid->Row(), 2);
}

// Keys go to whatever has the focus, as a person's keyboard sends them.
TEST(GridControl, EditorHandsTheKeyboardBackWhenItCloses) {
  auto grid = ShownGrid(400, 300);
  // With Tab kept inside the grid (as in the grid demo) nothing else would take the focus.
  grid->SetOptions(grid->Options().With(TGridOption::goEditing).With(TGridOption::goTabs));
  const auto focused = [] {
    QWidget* widget = QApplication::focusWidget();
    if (!widget) throw std::runtime_error("nothing has the focus");
    return widget;
  };
  PressKey(*focused(), Qt::Key_F2);
  ASSERT_EQ(focused(), grid->InplaceEditor());
  PressKey(*focused(), Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  PressKey(*focused(), Qt::Key_Return);
  EXPECT_EQ(grid->Cells(1, 1), QStringLiteral("a"));
  EXPECT_EQ(focused(), grid.get());

  PressKey(*focused(), Qt::Key_F2);  // opens again
  EXPECT_EQ(focused(), grid->InplaceEditor());
  PressKey(*focused(), Qt::Key_Escape);
  EXPECT_EQ(focused(), grid.get());
  PressKey(*focused(), Qt::Key_B, Qt::NoModifier, QStringLiteral("b"));  // so does typing
  EXPECT_EQ(focused(), grid->InplaceEditor());
  EXPECT_EQ(grid->InplaceEditor()->text(), QStringLiteral("b"));
  PressKey(*focused(), Qt::Key_Down);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_EQ(focused(), grid.get());
}

TEST(GridControl, EditorTextSitsWhereTheCellDrawsIt) {
  auto grid = ShownGrid(400, 300);
  grid->SetOptions(grid->Options().With(TGridOption::goEditing));
  grid->SetCells(1, 1, QStringLiteral("Wide"));
  const QRect cell = grid->CellRect(1, 1);
  // Ink of the first letter, inside the focus mark; the caret blinks after the last letter.
  const auto inkBox = [&](const QImage& image) {
    QRect box;
    for (int y = cell.top() + 1; y < cell.bottom(); ++y)
      for (int x = cell.left() + 1; x < cell.left() + 12; ++x)
        if (qGray(image.pixel(x, y)) < 128) box |= QRect(x, y, 1, 1);
    return box;
  };
  const QRect painted = inkBox(Render(*grid));
  PressKey(*grid, Qt::Key_F2);
  ASSERT_TRUE(grid->EditorMode());
  const QRect editing = inkBox(Render(*grid));
  ASSERT_FALSE(painted.isEmpty());
  EXPECT_EQ(editing.topLeft(), painted.topLeft());
}

TEST(GridControl, AlwaysShownEditorFollowsTheCurrentCell) {
  auto grid = ShownGrid(400, 300);
  grid->SetCells(1, 2, QStringLiteral("second"));
  grid->SetOptions(grid->Options().With(TGridOption::goEditing).With(TGridOption::goAlwaysShowEditor));
  ASSERT_NE(grid->InplaceEditor(), nullptr);
  TInplaceEdit& editor = *grid->InplaceEditor();
  EXPECT_FALSE(editor.isHidden());
  PressKey(editor, Qt::Key_Down);
  EXPECT_EQ(grid->Row(), 2);
  EXPECT_FALSE(editor.isHidden());
  EXPECT_EQ(editor.text(), QStringLiteral("second"));
  EXPECT_EQ(editor.geometry(), grid->CellRect(1, 2));
}

TEST(GridControl, MovedRowsAndColumnsCarryTheirCells) {
  auto grid = ShownGrid(400, 300);
  grid->SetRows(1, {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
  grid->SetRowHeights(1, 30);
  grid->MoveRow(1, 3);
  EXPECT_EQ(grid->Rows(3), (QStringList{"a", "b", "c", "", ""}));
  EXPECT_EQ(grid->RowHeights(3), 30);
  EXPECT_EQ(grid->RowHeights(1), 24);
  grid->MoveColumn(0, 4);
  EXPECT_EQ(grid->Rows(3), (QStringList{"b", "c", "", "", "a"}));
  grid->DeleteRow(3);
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->Rows(3), (QStringList{"", "", "", "", ""}));
}

TEST(GridControl, ScrollingOneRowPaintsOnlyTheNewRow) {
  auto grid = ShownGrid(400, 275);
  grid->SetRowCount(101);
  QApplication::processEvents();
  std::set<int> paintedRows;
  grid->OnDrawCell = [&](TorvCustomDrawGrid&, QPainter&, int, int row, const QRect&,
                         TGridDrawState) { paintedRows.insert(row); };
  QApplication::processEvents();
  paintedRows.clear();
  grid->SetTopRow(2);  // rows 2 to 11 now
  QApplication::processEvents();
  EXPECT_EQ(paintedRows, (std::set<int>{11}));
}

}  // namespace
}  // namespace kzm::ui
