// A screen reader finds the grids as tables whose cells say what they show, follows the cursor
// the keys move, and hears which cell an editor is open on.

#include <QAccessible>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

#include "PassbookFixture.h"
#include "foundation/Dates.h"
#include "ui/common/AccessibleControls.h"
#include "ui/common/Openers.h"
#include "ui/daily/DailyGrid.h"
#include "ui/daily/DailyWindow.h"
#include "ui/monthly/MonthWindow.h"
#include "ui/monthly/MonthlyGrid.h"
#include "views/DailyRows.h"

namespace kzm::ui {
namespace {

TDayNumber Mar(int day) { return EncodeDate(2024, 3, day); }

void Settle() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

template <typename T>
T* Shown() {
  for (QWidget* w : QApplication::allWidgets())
    if (auto* found = qobject_cast<T*>(w); found && found->isVisible()) return found;
  return nullptr;
}

QStringList ChildNames(QAccessibleInterface* table) {
  QStringList names;
  for (int i = 0; i < table->childCount(); ++i) names << table->child(i)->text(QAccessible::Name);
  return names;
}

class SpokenGrids : public test::TPassbookFixture {
 protected:
  SpokenGrids() {
    InstallAccessibleControls();
    AddEntry(Mar(5), "食費", kKindPayment, "パン", 3480);
    AddEntry(Mar(5), "食費", kKindPayment, "返品", -1461);
    EXPECT_TRUE(CurrentMonthData().Save());
  }
};

TEST_F(SpokenGrids, TheDailyGridIsATableWhoseCursorAndEditorAreHeard) {
  ASSERT_TRUE(OpenDailyWindow(Mar(5)));
  Settle();
  auto* grid = Shown<TDailyGrid>();
  ASSERT_NE(grid, nullptr);
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
  ASSERT_EQ(table->role(), QAccessible::Table);
  ASSERT_NE(table->tableInterface(), nullptr);
  EXPECT_EQ(table->tableInterface()->columnCount(), 4);
  const QStringList names = ChildNames(table);
  EXPECT_TRUE(names.contains(QStringLiteral("食費 小計 2,019円"))) << names.join('|').toStdString();
  EXPECT_TRUE(names.contains(QStringLiteral("3,480円")));
  EXPECT_TRUE(names.contains(QStringLiteral("マイナス 1,461円")));
  // A body cell knows its column's header.
  QAccessibleInterface* bread = table->child(names.indexOf(QStringLiteral("パン")));
  ASSERT_NE(bread, nullptr);
  ASSERT_EQ(bread->tableCellInterface()->columnHeaderCells().size(), 1);
  EXPECT_EQ(bread->tableCellInterface()->columnHeaderCells()[0]->text(QAccessible::Name).toStdString(), "項目");
  // A reader exploring by pointer finds the same cell where it lies.
  EXPECT_EQ(table->childAt(bread->rect().center().x(), bread->rect().center().y()), bread);

  // The day opens in the editor on the blank row of 食費; the keys move it from cell to cell
  // and it says where it is.
  const auto focusName = [] { return QApplication::focusWidget()->accessibleName().toStdString(); };
  EXPECT_EQ(focusName(), "食費 の 項目");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
  Settle();
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  Settle();
  EXPECT_EQ(focusName(), "食費 の 金額");
  EXPECT_EQ(table->focusChild()->text(QAccessible::Name).toStdString(), "食費 の 金額");
}

TEST_F(SpokenGrids, AMonthDayCellSaysItsCategoryAndDate) {
  ShowMonthOfDay(Mar(5));
  Settle();
  auto* month = Shown<TFmMonth>();
  ASSERT_NE(month, nullptr);
  QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&month->GridDate());
  ASSERT_EQ(table->role(), QAccessible::Table);
  const QStringList names = ChildNames(table);
  EXPECT_TRUE(names.contains(QStringLiteral("食費 3月5日(火) 2,019円"))) << names.join('|').toStdString();

  // Without a mouse: Tab reaches the days, the arrows move over them and Enter opens the day.
  QApplication::setActiveWindow(month);
  for (int i = 0; i < 20 && QApplication::focusWidget() != &month->GridDate(); ++i)
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : month, Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), &month->GridDate());
  const auto focusedName = [table] { return table->focusChild()->text(QAccessible::Name).toStdString(); };
  for (int i = 0; i < 30 && focusedName().rfind("食費 ", 0) != 0; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
  for (int i = 0; i < 4; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
  EXPECT_EQ(focusedName(), "食費 3月5日(火) 2,019円");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  Settle();
  EXPECT_NE(Shown<TFmDaily>(), nullptr);
}

}  // namespace
}  // namespace kzm::ui
