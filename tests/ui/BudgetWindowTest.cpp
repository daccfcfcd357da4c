// The budget window, the budget lines of the monthly view's detail panel and the year report
// window, on a real passbook, with keys sent to the widget that has the focus.

#include "ui/budget/BudgetWindow.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

#include <cstdlib>

#include "budget/Budgets.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "printing/PrintPreviewWindow.h"
#include "ui/ModalDialog.h"
#include "ui/NamedChild.h"
#include "ui/PassbookFixture.h"
#include "ui/analysis/YearReportWindow.h"
#include "ui/monthly/MonthDetailPanel.h"
#include "ui/monthly/MonthWindow.h"
#include "ui/monthly/MonthlyGrid.h"
#include "ui/shell/MainWindow.h"

namespace kzm::ui {
namespace {

using test::Child;

class BudgetWindowTest : public test::TPassbookFixture {
 protected:
  static int RowOf(const QTableWidget& table, const QString& name) {
    for (int r = 0; r < table.rowCount(); ++r) {
      if (table.item(r, 0) && table.item(r, 0)->text() == name) return r;
    }
    ADD_FAILURE() << name.toStdString();
    return 0;
  }
  std::string BudgetFile() const { return DecodeCp932(test::ReadBytes(CurrentProfile().Folder() + "/Budget.csv")); }

  // Types into the budget cell of the row named name and presses Enter.
  static void TypeBudget(TFmBudget& form, const QString& name, const QString& text) {
    QTableWidget& table = form.Table();
    table.setFocus();
    table.setCurrentCell(RowOf(table, name), TFmBudget::kColBudget);
    // The first key opens the cell's editor, which then has the focus.
    for (QChar c : text) QTest::keyClicks(QApplication::focusWidget(), QString(c));
    test::PressKey(Qt::Key_Return);
    // The editor hands its text over in a queued call, and the window stores it in another.
    QApplication::processEvents();
    QApplication::processEvents();
  }
};

TEST_F(BudgetWindowTest, ABudgetTypedInPlaceHoldsForTheMonthsAfter) {
  AddEntry(EncodeDate(2024, 4, 10), "食費", kKindPayment, "", 41'500);
  AddEntry(EncodeDate(2024, 5, 2), "食費", kKindPayment, "", 1'000);
  auto* form = new TFmBudget;
  form->ShowMonth(202404);
  form->show();
  form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(form));
  EXPECT_EQ(form->windowTitle(), "予算 2024年4月");
  EXPECT_TRUE(form->TotalsText().startsWith("この月の予算はまだありません"));

  TypeBudget(*form, "食費", "30,000+10000");
  EXPECT_EQ(BudgetFile(), "202404,食費,支出,40000\r\n");
  QTableWidget& table = form->Table();
  const int food = RowOf(table, "食費");
  EXPECT_EQ(table.item(food, TFmBudget::kColBudget)->text(), "40,000");
  EXPECT_EQ(table.item(food, TFmBudget::kColActual)->text(), "41,500");
  EXPECT_EQ(table.item(food, TFmBudget::kColLeft)->text(), "-1,500");
  EXPECT_TRUE(table.item(food, TFmBudget::kColBar)->data(Qt::UserRole + 1).toBool());  // the red bar
  EXPECT_TRUE(form->TotalsText().startsWith("支出（予算のある項目） 予算 40,000  実績 41,500  残り -1,500"));
  // A screen reader hears the sign and the overrun in words, not in red.
  QAccessibleInterface* grid = QAccessible::queryAccessibleInterface(&table);
  ASSERT_NE(grid, nullptr);
  const auto spoken = [&](int col) { return grid->tableInterface()->cellAt(food, col)->text(QAccessible::Name); };
  EXPECT_EQ(spoken(TFmBudget::kColLeft), "マイナス 1,500円");
  EXPECT_EQ(spoken(TFmBudget::kColBar), "超過");
  EXPECT_TRUE(Child<QLabel>(form, "LabelTotals")->accessibleName().endsWith("残り マイナス 1,500円"));
  EXPECT_EQ(QApplication::focusWidget(), &table);

  QTest::mouseClick(Child<QPushButton>(form, "ButtonNext"), Qt::LeftButton);
  EXPECT_EQ(form->Month().key, 202405);
  EXPECT_EQ(table.item(RowOf(table, "食費"), TFmBudget::kColBudget)->text(), "40,000");
  EXPECT_EQ(table.item(RowOf(table, "食費"), TFmBudget::kColLeft)->text(), "39,000");

  // Changed from May on; April keeps its own.
  TypeBudget(*form, "食費", "35000");
  QTest::mouseClick(Child<QPushButton>(form, "ButtonBefore"), Qt::LeftButton);
  EXPECT_EQ(table.item(RowOf(table, "食費"), TFmBudget::kColBudget)->text(), "40,000");
  EXPECT_EQ(BudgetFile(), "202404,食費,支出,40000\r\n202405,食費,支出,35000\r\n");

  // What cannot be read is refused and changes nothing.
  TypeBudget(*form, "食費", "abc");
  ASSERT_FALSE(m_windows.messages.empty());
  EXPECT_EQ(m_windows.messages.back(), "予算の金額が読めません: abc");
  EXPECT_EQ(BudgetFile(), "202404,食費,支出,40000\r\n202405,食費,支出,35000\r\n");
  EXPECT_EQ(table.item(RowOf(table, "食費"), TFmBudget::kColBudget)->text(), "40,000");
}

TEST_F(BudgetWindowTest, TwoWindowsKeepEachOthersChanges) {
  auto* april = new TFmBudget;
  april->ShowMonth(202404);
  april->show();
  auto* june = new TFmBudget;
  june->ShowMonth(202406);
  june->show();
  june->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(june));
  TypeBudget(*june, "交通", "8000");
  april->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(april));
  TypeBudget(*april, "食費", "40000");
  EXPECT_EQ(BudgetFile(), "202406,交通,支出,8000\r\n202404,食費,支出,40000\r\n");
}

TEST_F(BudgetWindowTest, FillButtonsAndAnUnreadableFile) {
  for (int m = 1; m <= 12; ++m) AddEntry(EncodeDate(2023, m, 5), "交通", kKindPayment, "", 100 * m);
  auto* form = new TFmBudget;
  form->ShowMonth(202401);
  form->show();
  QTest::mouseClick(Child<QPushButton>(form, "ButtonLastMonth"), Qt::LeftButton);
  EXPECT_EQ(form->Table().item(RowOf(form->Table(), "交通"), TFmBudget::kColBudget)->text(), "1,200");
  QTest::mouseClick(Child<QPushButton>(form, "ButtonAverage"), Qt::LeftButton);
  EXPECT_EQ(form->Table().item(RowOf(form->Table(), "交通"), TFmBudget::kColBudget)->text(), "650");
  EXPECT_EQ(BudgetFile(), "202401,交通,支出,650\r\n");

  const std::string path = CurrentProfile().Folder() + "/Budget.csv";
  std::remove(path.c_str());
  std::filesystem::create_directory(path);
  m_windows.messages.clear();
  form->ShowMonth(202401);
  ASSERT_EQ(m_windows.messages.size(), 1u);
  EXPECT_NE(m_windows.messages[0].find("予算のファイル"), std::string::npos);
  EXPECT_FALSE(Child<QPushButton>(form, "ButtonAverage")->isEnabled());
  EXPECT_FALSE(form->Table().item(0, TFmBudget::kColBudget)->flags() & Qt::ItemIsEditable);
}

TEST_F(BudgetWindowTest, TheMonthViewsDetailPanelShowsBudgetAndWhatIsLeft) {
  AddEntry(EncodeDate(2024, 3, 2), "食費", kKindPayment, "", 1'200);
  AddEntry(EncodeDate(2024, 3, 9), "食費", kKindPayment, "", 800);
  TBudgets budgets;
  budgets.Set(MakeKey("食費", kKindPayment), 202401, 5'000);
  std::string error;
  ASSERT_TRUE(budgets.Save(CurrentProfile().Folder(), error)) << error;
  auto* view = new TFmMonth;
  view->ShowMonth(202403);
  view->show();
  view->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(view));
  int row = 1;
  while (row < view->Table().RowCount() && view->Table().NameText(row) != "食費") ++row;
  TMonthlyGrid& grid = view->GridDate();
  const QRect cell = grid.CellRect(1, row);  // 3/2
  ASSERT_FALSE(cell.isEmpty());
  QCursor::setPos(grid.mapToGlobal(cell.center()));
  QTest::mouseMove(&grid, cell.center());
  QTest::qWait(800);
  TMonthDetailPanel* panel = view->DetailPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(panel->isVisible());
  const auto& lines = panel->Detail().lines;
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[1].amount, "1,200");
  EXPECT_EQ(lines[2].item, "予算");
  EXPECT_EQ(lines[2].amount, "5,000");
  EXPECT_EQ(lines[3].item, "残り");
  EXPECT_EQ(lines[3].amount, "3,000");  // after the whole month, not only this day
  delete view;
}

TEST_F(BudgetWindowTest, YearReportTableChartCsvAndPrint) {
  CurrentProfile().SetClosingDay(25);
  AddEntry(EncodeDate(2023, 12, 26), "食費", kKindPayment, "", 900);  // 2024's January
  AddEntry(EncodeDate(2024, 4, 1), "食費", kKindPayment, "", 3'000);
  AddEntry(EncodeDate(2023, 4, 1), "食費", kKindPayment, "", 2'000);
  AddEntry(EncodeDate(2024, 4, 20), "給与", kKindReceipt, "", 200'000);
  auto* form = new TFmYearReport;
  form->ShowYear(2024);
  form->show();
  EXPECT_EQ(form->windowTitle(), "年間の集計 2024年");
  QTableWidget& table = form->Table();
  const int food = RowOf(table, "食費");
  EXPECT_EQ(table.horizontalHeaderItem(1)->text(), "1月");
  EXPECT_EQ(table.item(food, 1)->text(), "900");
  EXPECT_EQ(table.item(food, 4)->text(), "3,000");
  EXPECT_EQ(table.item(food, 13)->text(), "3,900");
  EXPECT_EQ(table.item(food, 14)->text(), "325");
  EXPECT_EQ(table.item(RowOf(table, "差額"), 4)->text(), "197,000");
  EXPECT_EQ(table.item(RowOf(table, "差額"), 1)->data(Qt::AccessibleTextRole).toString(), "マイナス 900円");

  QComboBox* combo = Child<QComboBox>(form, "ComboCategory");
  combo->setFocus();
  EXPECT_EQ(form->Chart().Current(), form->Report().spending);
  combo->setCurrentIndex(combo->findText("食費"));
  EXPECT_EQ(form->Chart().Current()[3], 3'000);
  EXPECT_EQ(form->Chart().Previous()[3], 2'000);

  const std::string csv = m_data.File("year.csv");
  ASSERT_TRUE(form->ExportCsv(QString::fromStdString(csv)));
  EXPECT_EQ(test::ReadBytes(csv), YearReportCsv(form->Report()));

  int pages = 0;
  test::OnNextDialog([&pages](QDialog* dialog) {
    if (auto* preview = qobject_cast<TFormPrintPreView*>(dialog)) pages = preview->PageCount();
  });
  QTest::mouseClick(Child<QPushButton>(form, "ButtonPrint"), Qt::LeftButton);
  EXPECT_EQ(pages, 1);

  QTest::mouseClick(Child<QPushButton>(form, "ButtonBefore"), Qt::LeftButton);
  EXPECT_EQ(form->Report().year, 2023);
}

TEST_F(BudgetWindowTest, TheMainMenuOpensBothOnToday) {
  CurrentProfile().SetClosingDay(25);
  SetTodayForTest(EncodeDate(2024, 4, 28));  // in May's accounting month
  TFmKzmMain main;
  main.findChild<QAction*>(QStringLiteral("MenuVbudget"))->trigger();
  main.findChild<QAction*>(QStringLiteral("MenuVyear"))->trigger();
  SetTodayForTest(0);
  TFmBudget* budget = nullptr;
  TFmYearReport* year = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* b = qobject_cast<TFmBudget*>(w)) budget = b;
    if (auto* y = qobject_cast<TFmYearReport*>(w)) year = y;
  }
  ASSERT_NE(budget, nullptr);
  EXPECT_EQ(budget->Month().key, 202405);
  ASSERT_NE(year, nullptr);
  EXPECT_EQ(year->Report().year, 2024);
}

// Windows without a place of their own open over the window they were opened from, never at
// the screen's corner; one larger than the screen keeps its title bar on it.
TEST_F(BudgetWindowTest, NewWindowsOpenCentredOnTheirOpener) {
  TFmKzmMain main;
  main.show();
  const QRect area = main.screen()->availableGeometry();
  main.move(area.center() - main.rect().center() + QPoint(40, 30));
  QApplication::setActiveWindow(&main);
  ASSERT_EQ(QApplication::activeWindow(), &main);
  const QPoint centre = main.frameGeometry().center();
  for (const char* menu : {"MenuVbudget", "MenuVyear", "MenuVforecast", "MenuVcard"}) {
    SCOPED_TRACE(menu);
    const QWidgetList before = QApplication::topLevelWidgets();
    main.findChild<QAction*>(QString::fromLatin1(menu))->trigger();
    QWidget* opened = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->isVisible() && !before.contains(w)) opened = w;
    }
    ASSERT_NE(opened, nullptr);
    const QRect frame = opened->frameGeometry();
    EXPECT_TRUE(area.contains(frame.topLeft())) << frame.x() << "," << frame.y();
    if (frame.width() <= area.width()) {
      EXPECT_LE(std::abs(frame.center().x() - centre.x()), 3);
    }
    if (frame.height() <= area.height()) {
      EXPECT_LE(std::abs(frame.center().y() - centre.y()), 3);
    }
    opened->close();
    QApplication::setActiveWindow(&main);
  }
}

}  // namespace
}  // namespace kzm::ui
