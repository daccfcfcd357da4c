#include "ui/monthly/MonthWindow.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

#include "common/TempFolder.h"
#include "common/TestPaths.h"
#include "controls/NoticeEvent.h"
#include "controls/RoundButton.h"
#include "foundation/AppGlobal.h"
#include "foundation/ColorScheme.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "foundation/WindowSystem.h"
#include "graphics/GraphicSource.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"
#include "recurring/RecurringStore.h"
#include "ui/ModalDialog.h"
#include "ui/NamedChild.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/monthly/MonthDetailPanel.h"
#include "ui/monthly/MonthSetUpWindow.h"
#include "ui/monthly/MonthlyGrid.h"
#include "ui/shell/MainWindow.h"

namespace kzm::ui {
namespace {

// The program's window system, with messages recorded instead of shown.
class TTestWindows final : public TQtWindowSystem {
 public:
  void Notify(const std::string& text) override { messages.push_back(text); }
  void Inform(const std::string& text) override { messages.push_back(text); }
  std::vector<std::string> messages;
};

using test::Child;

std::vector<TFmMonth*> OpenMonthViews() {
  std::vector<TFmMonth*> views;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* view = qobject_cast<TFmMonth*>(w); view && view->isVisible()) views.push_back(view);
  }
  return views;
}

class MonthWindowTest : public ::testing::Test {
 protected:
  MonthWindowTest() {
    AppGlobal().UseDataFolder(m_data.Path());
    SetWindowSystem(&m_windows);
    m_images.AddArchive(test::BinDir() + "/zevazuvu.arc");
    SetImageSource(&m_images);
  }
  ~MonthWindowTest() override {
    for (TFmMonth* view : OpenMonthViews()) delete view;
    CurrentMonthData().SetFolder("");
    CurrentProfile().Load("");
    SetTodayForTest(0);
    SetImageSource(nullptr);
    SetWindowSystem(nullptr);
  }

  // Opens a passbook closing on closingDay with today set to the day given.
  void OpenPassbook(int closingDay, TDayNumber today) {
    TkzmProfile& profile = CurrentProfile();
    profile.Load("");
    profile.SetClosingDay(closingDay);
    profile.SetFolder(m_data.File("通帳1"));
    ASSERT_TRUE(profile.Save());
    profile.OpenPassbook(profile.Folder());
    SetTodayForTest(today);
  }

  static void Book(TDayNumber day, const char* category, int kind, const char* account, int32_t amount) {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey(category, kind), MakeKey(account, kKindAsset), "", "", amount);
  }

  static int RowNamed(const TFmMonth& view, const char* name) {
    for (int row = 1; row < view.Table().RowCount(); ++row) {
      if (view.Table().NameText(row) == name) return row;
    }
    ADD_FAILURE() << name;
    return 1;
  }

  // A month view, shown and active.
  static TFmMonth* NewView() {
    auto* view = new TFmMonth;
    view->show();
    view->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(view));
    return view;
  }

  test::TTempFolder m_data;
  TTestWindows m_windows;
  TGraphicSource m_images;
};

TEST_F(MonthWindowTest, PeriodAcrossTheYearShowsEveryDayWithItsHeading) {
  OpenPassbook(24, EncodeDate(2024, 1, 10));
  TFmMonth* view = NewView();
  EXPECT_EQ(view->GridDate().ColCount(), 31);
  EXPECT_EQ(view->Table().DayText(0, 0), "25(月)");
  EXPECT_EQ(Child<QLabel>(view, "LabelYear")->text(), QStringLiteral("2024"));
  EXPECT_EQ(Child<QLabel>(view, "LabelMonth")->text(), QStringLiteral("1"));
  EXPECT_EQ(Child<QLabel>(view, "LabelPeriod")->text(), QStringLiteral("12/25-1/24"));
  EXPECT_EQ(view->windowTitle(), QStringLiteral("月間表示 2024年1月"));

  // The window shows whole rows and days, at least 15 rows and never more days than the period.
  const int h = view->GridDate().DefaultRowHeight();
  view->resize(10, 10);
  EXPECT_GE(view->height(), 15 * h + 2);
  view->resize(5000, 5000);
  EXPECT_EQ(view->GridDate().width(), 31 * view->GridDate().DefaultColWidth());
  EXPECT_EQ(view->GridDate().VisibleRowCount(), view->Table().RowCount() - 1);
}

TEST_F(MonthWindowTest, StepsMonthsByButtonsAndKeys) {
  OpenPassbook(31, EncodeDate(2024, 1, 10));
  TFmMonth* view = NewView();
  Child<QPushButton>(view, "ButtonBefore")->click();
  EXPECT_EQ(view->Table().Key(), 202312);
  // A mnemonic clicks its button a moment later, as a pressed button shows itself pressed.
  for (int i = 0; i < 2; ++i) {
    QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : view, Qt::Key_N, Qt::AltModifier);
    QTest::qWait(200);
  }
  EXPECT_EQ(view->Table().Key(), 202402);
  EXPECT_EQ(Child<QLabel>(view, "LabelPeriod")->text(), QStringLiteral("2/1-2/29"));
}

TEST_F(MonthWindowTest, DateInTheNextAccountingMonthOpensThatMonth) {
  OpenPassbook(25, EncodeDate(2024, 3, 10));
  TFmMonth* march = NewView();
  ASSERT_EQ(march->Table().Key(), 202403);
  const TDayNumber day = EncodeDate(2024, 3, 28);  // calendar March, accounting April
  ShowMonthOfDay(day);
  const std::vector<TFmMonth*> views = OpenMonthViews();
  ASSERT_EQ(views.size(), 2u);
  TFmMonth* april = views[0] == march ? views[1] : views[0];
  EXPECT_EQ(april->Table().Key(), 202404);
  EXPECT_EQ(march->Table().Key(), 202403);

  // Asked again, the open view comes forward instead of a new one, the day its last column.
  const TDayNumber later = EncodeDate(2024, 4, 20);
  ShowMonthOfDay(later);
  EXPECT_EQ(OpenMonthViews().size(), 2u);
  const TMonthlyGrid& grid = april->GridDate();
  EXPECT_EQ(grid.LeftCol() + grid.VisibleColCount() - 1, later - april->Table().First());
}

TEST_F(MonthWindowTest, DataChangedNoticeRebuildsOnlyForItsPeriod) {
  OpenPassbook(31, EncodeDate(2024, 3, 10));
  TFmMonth* view = NewView();
  const int food = RowNamed(*view, "食費");
  Book(EncodeDate(2024, 3, 5), "食費", kKindPayment, "現金", 894);
  auto notice = [view](int first) {
    TNoticeEvent event(kNoticeDataChanged, first, 0);
    QApplication::sendEvent(view, &event);
  };
  notice(EncodeDate(2024, 4, 5));
  EXPECT_EQ(view->Table().DayText(food, 4), "");
  notice(EncodeDate(2024, 3, 5));
  EXPECT_EQ(view->Table().DayText(food, 4), "894");
  Book(EncodeDate(2024, 3, 6), "食費", kKindPayment, "現金", 6);
  notice(0);
  EXPECT_EQ(view->Table().TotalText(food), "900");
}

TEST_F(MonthWindowTest, RestingOnAnAmountOpensTheDetailPanel) {
  OpenPassbook(31, EncodeDate(2024, 3, 3));
  Book(EncodeDate(2024, 3, 2), "給与", kKindReceipt, "銀行", 250000);
  Book(EncodeDate(2024, 3, 2), "給与", kKindReceipt, "現金", 3000);
  TFmMonth* view = NewView();
  TMonthlyGrid& grid = view->GridDate();
  const int row = RowNamed(*view, "収入合計");
  const QRect cell = grid.CellRect(1, row);
  ASSERT_FALSE(cell.isEmpty());
  QCursor::setPos(grid.mapToGlobal(cell.center()));
  QTest::mouseMove(&grid, cell.center());
  QTest::qWait(800);
  TMonthDetailPanel* panel = view->DetailPanel();
  ASSERT_NE(panel, nullptr);
  ASSERT_TRUE(panel->isVisible());
  ASSERT_EQ(panel->Detail().lines.size(), 3u);
  EXPECT_EQ(panel->Detail().lines[0].item, "3/2 収入合計");
  EXPECT_EQ(panel->Detail().lines[1].amount, "250,000");
  EXPECT_EQ(panel->Detail().lines[2].amount, "3,000");
  // Just right of the cell, a little below its top.
  EXPECT_EQ(panel->pos(), grid.mapToGlobal(QPoint(cell.right() + 1 + 4, cell.top() + 4)));

  // A cell without entries shows none.
  const QRect empty = grid.CellRect(0, row);
  QCursor::setPos(grid.mapToGlobal(empty.center()));
  QTest::mouseMove(&grid, empty.center());
  QTest::qWait(300);
  EXPECT_FALSE(panel->isVisible());
}

// The darkest pixel of a cell: the core of the text's strokes.
QColor DarkestIn(const QImage& image, const QRect& cell) {
  QColor darkest = Qt::white;
  for (int y = cell.top(); y <= cell.bottom(); ++y) {
    for (int x = cell.left(); x <= cell.right(); ++x) {
      const QColor c = image.pixelColor(x, y);
      if (c.lightness() < darkest.lightness()) darkest = c;
    }
  }
  return darkest;
}

int Distance(const QColor& a, const QColor& b) {
  return std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue());
}

// A recurring entry still to come shows its amount faintly on its day, and an entered day
// shows its own amount in the usual colour.
TEST_F(MonthWindowTest, ARecurringEntryToComeShowsFaintly) {
  OpenPassbook(31, EncodeDate(2024, 3, 10));
  TkzmEntry rent;
  rent.date = EncodeDate(2024, 3, 20);
  rent.categoryKey = MakeKey("食費", kKindPayment);
  rent.accountKey = MakeKey("現金", kKindAsset);
  rent.itemText = "生協";
  rent.amount = 5000;
  TRecurringStore store;
  std::string error;
  ASSERT_TRUE(store.Load(CurrentProfile().Folder(), error)) << error;
  store.Add(TemplateFromEntry(rent));
  ASSERT_TRUE(store.Save(error)) << error;
  Book(EncodeDate(2024, 3, 18), "食費", kKindPayment, "現金", 7000);

  TFmMonth* view = NewView();
  const int row = RowNamed(*view, "食費");
  EXPECT_EQ(view->Table().ComingText(row, 19), "5,000");
  EXPECT_EQ(view->Table().ComingText(row, 17), "");
  TMonthlyGrid& grid = view->GridDate();
  grid.SetLeftCol(15);
  QApplication::processEvents();
  const QImage image = grid.grab().toImage();
  const auto scheme = [](const char* key) {
    const TColor c = ColorScheme().GetColor(key);
    return QColor(RedOf(c), GreenOf(c), BlueOf(c));
  };
  const QColor faint = scheme("月間表示\\文字\\薄色");
  const QColor usual = scheme("月間表示\\文字\\通常");
  ASSERT_GT(Distance(faint, usual), 60);
  const QColor coming = DarkestIn(image, grid.CellRect(19, row));
  const QColor entered = DarkestIn(image, grid.CellRect(17, row));
  EXPECT_LT(Distance(coming, faint), Distance(coming, usual)) << coming.name().toStdString();
  EXPECT_LT(Distance(entered, usual), Distance(entered, faint)) << entered.name().toStdString();
}

// A money amount is never cut: the columns widen to the month's widest amount, the wider
// setting is kept, and a header border dragged narrower springs back to fit it.
TEST_F(MonthWindowTest, EveryAmountFitsItsColumnAndADraggedBorderIsKept) {
  OpenPassbook(25, EncodeDate(2024, 3, 10));
  Book(EncodeDate(2024, 3, 2), "住居･光熱", kKindPayment, "銀行", 98'765'432);
  Book(EncodeDate(2024, 3, 3), "食費", kKindPayment, "現金", 1'234'567);
  TFmMonth* view = NewView();
  TMonthlyGrid& days = view->GridDate();
  TMonthlyGrid& totals = view->GridTotal();
  const QFontMetrics metrics(days.font());
  const auto fits = [&](const std::string& text, int width) {
    return metrics.horizontalAdvance(QString::fromStdString(text)) + 4 <= width;
  };
  const auto everyAmountFits = [&] {
    const TMonthTable& table = view->Table();
    for (int row = 1; row < table.RowCount(); ++row) {
      if (table.KindOfRow(row) == kKindMemo) continue;
      if (!fits(table.TotalText(row), totals.DefaultColWidth())) return false;
      for (int day = 0; day < table.DayCount(); ++day) {
        if (!fits(table.DayText(row, day), days.DefaultColWidth())) return false;
      }
    }
    return true;
  };
  EXPECT_TRUE(everyAmountFits());
  EXPECT_GT(CurrentProfile().MonthColumnWidth(), 100);

  // Drag the first header border right: the columns widen and the width is kept.
  const int before = days.DefaultColWidth();
  const QPoint border(before, days.DefaultRowHeight() / 2);
  QTest::mousePress(&days, Qt::LeftButton, {}, border);
  QTest::mouseMove(&days, border + QPoint(30, 0));
  QTest::mouseRelease(&days, Qt::LeftButton, {}, border + QPoint(30, 0));
  EXPECT_GE(days.DefaultColWidth(), before + 29);
  const int widened = CurrentProfile().MonthColumnWidth();
  TkzmProfile stored;
  stored.Load(CurrentProfile().Folder());
  EXPECT_EQ(stored.MonthColumnWidth(), widened);

  // Dragged far narrower, it comes back to the widest amount.
  const QPoint wide(days.DefaultColWidth(), days.DefaultRowHeight() / 2);
  QTest::mousePress(&days, Qt::LeftButton, {}, wide);
  QTest::mouseMove(&days, QPoint(20, wide.y()));
  QTest::mouseRelease(&days, Qt::LeftButton, {}, QPoint(20, wide.y()));
  EXPECT_TRUE(everyAmountFits());
  EXPECT_LT(days.DefaultColWidth(), before + 29);
}

// Maximised, the window is wider than its whole days: the totals take the rest, and no empty
// band opens between them and the scroll bar.
TEST_F(MonthWindowTest, AMaximisedViewLeavesNoBandRightOfTheTotals) {
  OpenPassbook(31, EncodeDate(2024, 3, 10));
  TFmMonth* view = NewView();
  view->showMaximized();
  QApplication::processEvents();
  ASSERT_TRUE(view->isMaximized());
  const QWidget* scrollBar = nullptr;
  for (QScrollBar* bar : view->findChildren<QScrollBar*>()) {
    if (bar->orientation() == Qt::Vertical) scrollBar = bar;
  }
  ASSERT_NE(scrollBar, nullptr);
  const QRect totals = view->GridTotal().geometry();
  EXPECT_LE(scrollBar->x() - (totals.x() + totals.width()), 3);
  EXPECT_EQ(view->GridTotal().DefaultColWidth(), totals.width());
}

// The help balloon stands between the month's texts and the round buttons: in a low window
// it is left out rather than painted over the period.
TEST_F(MonthWindowTest, TheHelpBalloonCoversNoText) {
  OpenPassbook(31, EncodeDate(2024, 3, 10));
  TFmMonth* view = NewView();
  bool shownOnce = false;
  bool hiddenOnce = false;
  for (const int height : {10, 290, 340, 400, 5000}) {
    SCOPED_TRACE(height);
    view->resize(view->width(), height);
    QApplication::processEvents();
    const QRect balloon = view->HelpBalloonRect();
    (balloon.isEmpty() ? hiddenOnce : shownOnce) = true;
    if (balloon.isEmpty()) continue;
    EXPECT_FALSE(balloon.intersects(Child<QLabel>(view, "LabelPeriod")->geometry()));
    EXPECT_FALSE(balloon.intersects(Child<QLabel>(view, "LabelMonth")->geometry()));
    for (const TorvWinButton* button : view->findChildren<TorvWinButton*>()) {
      EXPECT_FALSE(balloon.intersects(button->geometry())) << button->objectName().toStdString();
    }
  }
  EXPECT_TRUE(shownOnce);
  EXPECT_TRUE(hiddenOnce);
}

TEST_F(MonthWindowTest, CategoryNamesOpenTheItemsPage) {
  OpenPassbook(31, EncodeDate(2024, 3, 3));
  TFmMonth* view = NewView();
  bool sawItems = false;
  test::OnNextDialog([&sawItems](QDialog* dialog) {
    auto* pages = dialog->findChild<QTabWidget*>(QStringLiteral("PCinfo"));
    ASSERT_NE(pages, nullptr);
    sawItems = pages->currentWidget()->objectName() == QStringLiteral("TShead");
  });
  QTest::mouseClick(&view->GridIndex(), Qt::LeftButton, {}, view->GridIndex().CellRect(0, 3).center());
  EXPECT_TRUE(sawItems);
}

class MonthSetUpTest : public MonthWindowTest {
 protected:
  // Runs the period setup from the view's button; act drives the dialog.
  static void RunSetUp(TFmMonth* view, std::function<void(TFmMonthSetUp*)> act) {
    test::OnNextDialog([act = std::move(act)](QDialog* dialog) {
      auto* setUp = qobject_cast<TFmMonthSetUp*>(dialog);
      ASSERT_NE(setUp, nullptr);
      act(setUp);
    });
    QTest::mouseClick(Child<TorvWinButton>(view, "ButtonSetUp"), Qt::LeftButton);
  }
};

TEST_F(MonthSetUpTest, LimitsOf202401) {
  OpenPassbook(31, EncodeDate(2024, 1, 10));
  TFmMonth* view = NewView();
  std::vector<std::string> seen;
  RunSetUp(view, [&](TFmMonthSetUp* dialog) {
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("2024年1月の設定"));
    auto* first = Child<QDateEdit>(dialog, "DateTimePicker1");
    auto* last = Child<QDateEdit>(dialog, "DateTimePicker2");
    auto* ok = Child<QPushButton>(dialog, "ButtonOK");
    first->setDate(QDate(2023, 11, 30));
    ok->click();
    first->setDate(QDate(2023, 12, 1));
    last->setDate(QDate(2024, 3, 1));
    ok->click();
    last->setDate(QDate(2023, 11, 30));
    ok->click();
    seen = m_windows.messages;
    EXPECT_TRUE(dialog->isVisible());
    last->setDate(QDate(2024, 2, 29));
    ok->click();  // the whole of December and of February: a day in two months
    EXPECT_TRUE(dialog->isVisible());
    first->setDate(QDate(2023, 12, 2));
    last->setDate(QDate(2024, 2, 28));
    ok->click();
    EXPECT_FALSE(dialog->isVisible());
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"設定できる期間を超えています", "設定できる期間を超えています",
                                            "月の設定期間が無効です"}));
  EXPECT_EQ(m_windows.messages.at(3), "開始の日は前の月の開始の日より後にしてください");
  // The view heard of the change and shows the new period.
  EXPECT_EQ(Child<QLabel>(view, "LabelPeriod")->text(), QStringLiteral("12/2-2/28"));
}

TEST_F(MonthSetUpTest, EarlierLastDayMovesTheNextMonthsStart) {
  OpenPassbook(31, EncodeDate(2024, 2, 10));
  Book(EncodeDate(2024, 2, 10), "食費", kKindPayment, "現金", 100);
  TFmMonth* view = NewView();  // February, settled by its entry
  Child<QPushButton>(view, "ButtonBefore")->click();
  RunSetUp(view, [](TFmMonthSetUp* dialog) {
    Child<QDateEdit>(dialog, "DateTimePicker2")->setDate(QDate(2024, 1, 20));
    Child<QPushButton>(dialog, "ButtonOK")->click();
  });
  EXPECT_EQ(Child<QLabel>(view, "LabelPeriod")->text(), QStringLiteral("1/1-1/20"));
  Child<QPushButton>(view, "ButtonNext")->click();
  EXPECT_EQ(Child<QLabel>(view, "LabelPeriod")->text(), QStringLiteral("1/21-2/29"));
}

TEST_F(MonthSetUpTest, ResetRestoresAndReferWithoutEntriesGivesZero) {
  OpenPassbook(31, EncodeDate(2024, 2, 10));
  TFmMonth* view = NewView();
  RunSetUp(view, [](TFmMonthSetUp* dialog) {
    auto* list = Child<QListWidget>(dialog, "ListBox1");
    auto* edit = Child<QLineEdit>(dialog, "Edit1");
    auto* first = Child<QDateEdit>(dialog, "DateTimePicker1");
    ASSERT_EQ(list->count(), 3);
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
    edit->setText(QStringLiteral("1,000"));
    list->setCurrentRow(1);
    edit->setText(QStringLiteral("2000"));
    first->setDate(QDate(2024, 1, 25));
    EXPECT_EQ(dialog->Balances(), (std::vector<int64_t>{1000, 2000, 0}));

    Child<QPushButton>(dialog, "ButtonReset")->click();
    EXPECT_EQ(dialog->Balances(), (std::vector<int64_t>{0, 0, 0}));
    EXPECT_EQ(first->date(), QDate(2024, 2, 1));
    EXPECT_EQ(Child<QDateEdit>(dialog, "DateTimePicker2")->date(), QDate(2024, 2, 29));
    EXPECT_EQ(list->currentRow(), 0);

    edit->setText(QStringLiteral("123"));
    Child<QPushButton>(dialog, "ButtonRefer")->click();
    EXPECT_EQ(edit->text(), QStringLiteral("0"));
    // With January's entries: the cash that was left by the end of January.
    Book(EncodeDate(2024, 1, 15), "食費", kKindPayment, "現金", 300);
    Book(EncodeDate(2024, 1, 31), "給与", kKindReceipt, "現金", 5000);
    Child<QPushButton>(dialog, "ButtonRefer")->click();
    EXPECT_EQ(edit->text(), QStringLiteral("4700"));
    Child<QPushButton>(dialog, "ButtonCancel")->click();
  });
  EXPECT_FALSE(FileExists(SettlementFilePath(202402)));
}

TEST_F(MonthWindowTest, MenuAndStartUpOpenTheMonthOfToday) {
  OpenPassbook(31, EncodeDate(2024, 5, 20));
  CurrentProfile().SetOpenMonthAtStart(true);
  TFmKzmMain main;
  main.show();
  main.OpenStartupWindows();
  ASSERT_EQ(OpenMonthViews().size(), 1u);
  EXPECT_EQ(OpenMonthViews()[0]->Table().Key(), 202405);
  delete OpenMonthViews()[0];

  main.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&main));
  QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &main, Qt::Key_M,
                  Qt::ControlModifier);
  ASSERT_EQ(OpenMonthViews().size(), 1u);
  EXPECT_EQ(OpenMonthViews()[0]->Table().Key(), 202405);
}

}  // namespace
}  // namespace kzm::ui
