#include "ui/daily/DailyWindow.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

#include "PassbookFixture.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "settlement/AccountingMonth.h"
#include "ui/NamedChild.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/daily/DailyCells.h"
#include "ui/daily/DailyGrid.h"
#include "ui/daily/MemoWindow.h"
#include "ui/shell/MainWindow.h"
#include "views/DailyRows.h"

namespace kzm::ui {
namespace {

TDayNumber Mar(int day) { return EncodeDate(2024, 3, day); }

class DailyWindowTest : public test::TPassbookFixture {
 protected:
  // A daily window on day, shown and active, as its opener leaves it.
  static QPointer<TFmDaily> Open(TDayNumber day) {
    const std::vector<TFmDaily*> before = DailyWindows();
    EXPECT_TRUE(OpenDailyWindow(day));
    QPointer<TFmDaily> window = Newest(before);
    Activate(window);
    return window;
  }
  static std::vector<TFmDaily*> DailyWindows() {
    std::vector<TFmDaily*> windows;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (auto* daily = qobject_cast<TFmDaily*>(w)) windows.push_back(daily);
    }
    return windows;
  }
  // The daily window that is not among before.
  static TFmDaily* Newest(const std::vector<TFmDaily*>& before) {
    for (TFmDaily* w : DailyWindows()) {
      if (std::find(before.begin(), before.end(), w) == before.end()) return w;
    }
    return nullptr;
  }
  static void Activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    Settle();
  }
  // Lets the deferred work (blank rows, editors, closing) run.
  static void Settle() {
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
  static void Type(const QString& text) { test::TypeText(text); }
  static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    test::PressKey(key, mods);
    Settle();
  }
  // The display names of the bands of a grid, in row order.
  static std::vector<std::string> Bands(const TDailyGrid& grid) {
    std::vector<std::string> names;
    for (int row = 1; row < grid.RowCount(); ++row) {
      if (grid.Cells(0, row) != QStringLiteral("1")) names.push_back(KeyName(FromCell(grid.Cells(1, row))));
    }
    return names;
  }
};

// Tab and Shift+Tab in a cell being typed in go to the grid, which writes the cell back and
// hands the focus to the next or the previous part of the window, out of the grid; on every tab.
TEST_F(DailyWindowTest, TabInACellBeingTypedInLeavesTheGridWithTheCellWritten) {
  const struct {
    int tabs;  // Ctrl+Tab presses from 支出
    const char* start;  // the line's start in the month file
  } kinds[] = {{0, "20240305,支出,食費,資産,現金,0,"}, {1, "20240305,収入,給与,資産,現金,0,"},
               {2, "20240305,資産,現金,資産,現金,0,"}};
  int typed = 0;
  for (const auto& kind : kinds) {
    for (const bool back : {false, true}) {
      SCOPED_TRACE(testing::Message() << kind.start << (back ? " Shift+Tab" : " Tab"));
      QPointer<TFmDaily> window = Open(Mar(5));
      for (int i = 0; i < kind.tabs; ++i) Key(Qt::Key_Tab, Qt::ControlModifier);
      QWidget* grid = QApplication::focusWidget();
      while (grid && !qobject_cast<TDailyGrid*>(grid)) grid = grid->parentWidget();
      ASSERT_NE(grid, nullptr);
      const QString name = QStringLiteral("品") + QString::number(++typed);
      Type(name);
      Key(back ? Qt::Key_Backtab : Qt::Key_Tab, back ? Qt::ShiftModifier : Qt::NoModifier);
      QWidget* focus = QApplication::focusWidget();
      EXPECT_TRUE(focus && focus != grid && !grid->isAncestorOf(focus));
      Key(Qt::Key_Right, Qt::ControlModifier);
      const std::string line = std::string(kind.start) + name.toStdString() + ",\r\n";
      EXPECT_NE(MonthText("202403.kzm").find(line), std::string::npos) << MonthText("202403.kzm");
    }
  }
}

TEST_F(DailyWindowTest, APaymentTypedWithAnExpressionIsSavedWhenSteppingOn) {
  QPointer<TFmDaily> window = Open(Mar(5));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("2024/3/5(火) "));
  Type(QStringLiteral("米"));
  Key(Qt::Key_Return);
  Type(QStringLiteral("298*3"));
  Key(Qt::Key_Return);
  EXPECT_TRUE(window->Modified());
  Key(Qt::Key_Right, Qt::ControlModifier);

  EXPECT_EQ(window->Date(), Mar(6));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("2024/3/6(水) "));
  EXPECT_FALSE(window->Modified());
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,894,米,\r\n");
  THeadList settled;
  ASSERT_TRUE(LoadMonthPeriod(202403, settled));
  EXPECT_EQ(settled.Items(settled.IndexOfKey(MakeKey("現金", kKindAsset))).total, -894);
  ASSERT_EQ(m_windows.notices.size(), 1u);
  EXPECT_EQ(m_windows.notices[0].message, 1224);
  EXPECT_EQ(m_windows.notices[0].first, Mar(5));
  EXPECT_EQ(m_windows.notices[0].second, 0);

  Key(Qt::Key_Left, Qt::ControlModifier);
  const TDailyGrid& grid = *window->Grid(kKindPayment);
  EXPECT_EQ(grid.Cells(1, 2), QStringLiteral("米"));
  EXPECT_EQ(grid.Cells(2, 2), QStringLiteral("894"));
}

// After a day step the keys go to the grid of the tab on show, on every tab: the hidden
// payment grid must not take them and save them as a payment.
TEST_F(DailyWindowTest, TypingAfterADayStepGoesIntoTheTabOnShow) {
  struct Case {
    int tabs;  // Ctrl+Tab presses from 支出
    int kind;
    const char* line;
  };
  const Case cases[] = {
      {1, kKindReceipt, "20240306,収入,給与,資産,現金,3000,臨時,\r\n"},
      {2, kKindAsset, "20240306,資産,現金,資産,銀行,3000,臨時,\r\n"},
      {0, kKindPayment, "20240306,支出,食費,資産,現金,3000,臨時,\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    QPointer<TFmDaily> window = Open(Mar(5));
    for (int i = 0; i < c.tabs; ++i) Key(Qt::Key_Tab, Qt::ControlModifier);
    Key(Qt::Key_Right, Qt::ControlModifier);
    ASSERT_EQ(window->Date(), Mar(6));
    QWidget* focus = QApplication::focusWidget();
    ASSERT_NE(focus, nullptr);
    EXPECT_TRUE(focus == window->Grid(c.kind) || window->Grid(c.kind)->isAncestorOf(focus));
    Type(QStringLiteral("臨時"));
    Key(Qt::Key_Return);
    Type(QStringLiteral("3000"));
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    Key(Qt::Key_Right, Qt::ControlModifier);
    EXPECT_EQ(MonthText("202403.kzm"), c.line);
    window->close();
    Settle();
    std::filesystem::remove(Daily() + "/202403.kzm");
    CurrentMonthData().SetFolder(Daily());
  }
}

// The 定期 button proposes the line under the cursor as a template; saving it keeps it in
// the passbook's list of recurring entries.
TEST_F(DailyWindowTest, TheRecurringButtonMakesATemplateOfTheChosenLine) {
  AddEntry(Mar(5), "食費", kKindPayment, "米", 894);
  AddEntry(Mar(5), "食費", kKindPayment, "パン", 250);
  QPointer<TFmDaily> window = Open(Mar(5));
  TDailyGrid& grid = *window->Grid(kKindPayment);
  int breadRow = -1;
  for (int row = 1; row < grid.RowCount(); ++row) {
    if (grid.Cells(kzm::kColItem, row) == QStringLiteral("パン")) breadRow = row;
  }
  ASSERT_GT(breadRow, 0);
  QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.CellRect(kzm::kColItem, breadRow).center());
  Settle();
  ASSERT_EQ(grid.Row(), breadRow);

  // The editor, then the list, come up as modal windows one inside the other.
  QStringList seen;
  QString proposedItem;
  QString proposedAmount;
  int listed = -1;
  bool modeless = false;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr) {
      // A list left modeless would let the daily window close under it: note it and close it.
      for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("FmRecurring") && w->isVisible()) {
          modeless = true;
          qobject_cast<QDialog*>(w)->done(QDialog::Rejected);
        }
      }
      return;
    }
    if (!dialog->isVisible() || seen.contains(dialog->windowTitle())) return;
    seen << dialog->windowTitle();
    if (dialog->objectName() == QStringLiteral("FmRecurringEdit")) {
      proposedItem = test::Child<QLineEdit>(dialog, "EditItem")->text();
      proposedAmount = test::Child<QLineEdit>(dialog, "EditAmount")->text();
      dialog->accept();
    } else {
      listed = test::Child<QTableWidget>(dialog, "TemplateTable")->rowCount();
      dialog->done(QDialog::Rejected);
    }
  });
  poll.start(10);
  // The round button clicks once it has shown the press, a moment after the release.
  QTest::mouseClick(test::Child<QWidget>(window, "BtRepeat"), Qt::LeftButton);
  EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2 && QApplication::activeModalWidget() == nullptr; }));
  poll.stop();

  EXPECT_FALSE(modeless);
  EXPECT_EQ(seen, QStringList({QStringLiteral("定期的な記入の追加"), QStringLiteral("定期的な記入")}));
  EXPECT_EQ(proposedItem, QStringLiteral("パン"));
  EXPECT_EQ(proposedAmount, QStringLiteral("250"));
  EXPECT_EQ(listed, 1);
  const std::string stored = DecodeCp932(test::ReadBytes(CurrentProfile().Folder() + "/Recurring.csv"));
  EXPECT_NE(stored.find(",250,"), std::string::npos) << stored;
}

// A band's subtotal and every amount show whole: the amount column widens to fit them.
TEST_F(DailyWindowTest, TheAmountColumnWidensUntilEveryAmountFits) {
  AddEntry(Mar(5), "食費", kKindPayment, "業務用冷蔵庫", 98'765'432);
  AddEntry(Mar(5), "食費", kKindPayment, "米", 1'234'567);
  QPointer<TFmDaily> window = Open(Mar(5));
  const TDailyGrid& grid = *window->Grid(kKindPayment);
  const QFontMetrics metrics(grid.font());
  bool sawSubtotal = false;
  for (int row = 1; row < grid.RowCount(); ++row) {
    const QString amount = grid.Cells(kzm::kColAmount, row);
    sawSubtotal = sawSubtotal || amount == QStringLiteral("99,999,999");
    EXPECT_LE(metrics.horizontalAdvance(amount) + 4, grid.ColWidths(kzm::kColAmount)) << amount.toStdString();
  }
  EXPECT_TRUE(sawSubtotal);
}

TEST_F(DailyWindowTest, SteppingFromAnUnchangedDayWritesNothing) {
  AddEntry(Mar(5), "食費", kKindPayment, "パン", 200);
  ASSERT_TRUE(CurrentMonthData().Save());
  const std::string before = MonthText("202403.kzm");
  std::filesystem::remove_all(CurrentProfile().Folder() + "/Monthly");
  QPointer<TFmDaily> window = Open(Mar(5));
  Key(Qt::Key_Right, Qt::ControlModifier);
  Key(Qt::Key_Left, Qt::ControlModifier);
  Key(Qt::Key_Left, Qt::ControlModifier);
  EXPECT_EQ(window->Date(), Mar(4));
  EXPECT_EQ(MonthText("202403.kzm"), before);
  EXPECT_FALSE(FileExists(SettlementFilePath(202403)));
  EXPECT_TRUE(m_windows.notices.empty());
}

TEST_F(DailyWindowTest, AnEmptiedMemoRemovesTheMemoEntry) {
  AddMemo(Mar(5), "晴れ\r\nのち雨");
  AddEntry(Mar(5), "食費", kKindPayment, "パン", 200);
  ASSERT_TRUE(CurrentMonthData().Save());
  QPointer<TFmDaily> window = Open(Mar(5));
  EXPECT_EQ(window->MemoBox()->toPlainText(), QStringLiteral("晴れ\nのち雨"));
  QTest::mouseClick(window->MemoBox()->viewport(), Qt::LeftButton);
  Settle();
  ASSERT_EQ(QApplication::focusWidget(), window->MemoBox());
  // Tab leaves the memo without writing a tab character into it.
  Key(Qt::Key_Tab);
  EXPECT_NE(QApplication::focusWidget(), window->MemoBox());
  EXPECT_FALSE(window->MemoBox()->toPlainText().contains(QLatin1Char('\t')));
  QTest::mouseClick(window->MemoBox()->viewport(), Qt::LeftButton);
  Settle();
  Key(Qt::Key_A, Qt::ControlModifier);
  Key(Qt::Key_Delete);
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,200,パン,\r\n");
}

TEST_F(DailyWindowTest, ADeletedCategoryShowsItsBandAfterItsKind) {
  AddEntry(Mar(5), "趣味", kKindPayment, "本", 800, "財布");
  QPointer<TFmDaily> window = Open(Mar(5));
  EXPECT_EQ(Bands(*window->Grid(kKindPayment)),
            (std::vector<std::string>{"食費", "服飾", "交際", "教養", "娯楽", "交通", "住居･光熱", "雑費", "趣味"}));
  EXPECT_EQ(Bands(*window->Grid(kKindAsset)), (std::vector<std::string>{"現金", "銀行", "カード", "財布"}));
  // Stepping away and back keeps the entry where it was.
  window->SetModified();
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,趣味,資産,財布,800,本,\r\n");
}

TEST_F(DailyWindowTest, TheTitleNamesTheHoliday) {
  struct Case {
    TDayNumber day;
    const char* title;
  };
  for (const Case& c : {Case{EncodeDate(2024, 5, 3), "2024/5/3(金) 憲法記念日"}, Case{Mar(5), "2024/3/5(火) "},
                        Case{EncodeDate(2024, 1, 1), "2024/1/1(月) 元日"}}) {
    SCOPED_TRACE(c.title);
    QPointer<TFmDaily> window = Open(c.day);
    EXPECT_EQ(window->windowTitle().toStdString(), c.title);
    window->close();
    Settle();
  }
}

TEST_F(DailyWindowTest, TwoWindowsNeverShowOneDay) {
  QPointer<TFmDaily> march6 = Open(Mar(6));
  QPointer<TFmDaily> march5 = Open(Mar(5));
  EXPECT_FALSE(OpenDailyWindow(Mar(5)));
  EXPECT_EQ(m_windows.messages, std::vector<std::string>{"同じ日の入力ウィンドウが開いています"});

  // Stepping onto the other window's day closes this one after the message.
  Activate(march5);
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(m_windows.messages.size(), 2u);
  EXPECT_TRUE(march5.isNull());
  EXPECT_FALSE(march6.isNull());

  // A memo window over the day keeps daily windows off it, and the other way round.
  EXPECT_FALSE(OpenMonthMemo(Mar(1), Mar(10)));
  EXPECT_EQ(m_windows.messages.back(), "重なる日付の入力ウィンドウを閉じてください");
  march6->close();
  Settle();
  EXPECT_TRUE(OpenMonthMemo(Mar(1), Mar(10)));
  EXPECT_FALSE(OpenDailyWindow(Mar(10)));
  EXPECT_EQ(m_windows.messages.back(), "日付の重なる月めもウィンドウが開いています");
}

TEST_F(DailyWindowTest, AFailedSaveKeepsTheTypedDayUntilALaterSaveWritesIt) {
  QPointer<TFmDaily> window = Open(Mar(5));
  Type(QStringLiteral("米"));
  Key(Qt::Key_Return);
  Type(QStringLiteral("500"));
  Key(Qt::Key_Return);
  // The Daily folder vanishes and a file takes its name.
  std::filesystem::remove_all(Daily());
  test::WriteBytes(Daily(), "in the way");

  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_FALSE(m_windows.messages.empty());
  EXPECT_EQ(window->Date(), Mar(5));
  EXPECT_TRUE(window->Modified());
  EXPECT_EQ(window->Grid(kKindPayment)->Cells(2, 2), QStringLiteral("500"));

  std::filesystem::remove(Daily());
  EnsureFolder(Daily());
  Key(Qt::Key_Right, Qt::ControlModifier);
  EXPECT_EQ(window->Date(), Mar(6));
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,500,米,\r\n");
}

// A save that fails everywhere (the folder gone, a full disk) is told once, not by each
// file it met nor again when the window goes.
TEST_F(DailyWindowTest, ClosingOnAFailingDiskTellsOnce) {
  QPointer<TFmDaily> window = Open(Mar(5));
  Type(QStringLiteral("米"));
  Key(Qt::Key_Return);
  Type(QStringLiteral("500"));
  Key(Qt::Key_Return);
  std::filesystem::remove_all(Daily());
  test::WriteBytes(Daily(), "in the way");
  std::filesystem::remove_all(CurrentProfile().Folder() + "/Monthly");
  test::WriteBytes(CurrentProfile().Folder() + "/Monthly", "in the way");
  window->close();
  Settle();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(m_windows.messages.size(), 1u);
  std::filesystem::remove(Daily());
  std::filesystem::remove(CurrentProfile().Folder() + "/Monthly");
}

TEST_F(DailyWindowTest, ClosingTheDataWindowsSavesEachDailyWindow) {
  QPointer<TFmDaily> window = Open(Mar(5));
  Type(QStringLiteral("米"));
  Key(Qt::Key_Return);
  Type(QStringLiteral("300"));  // still in the editor: closing writes it back
  TQtWindowSystem qtWindows;
  EXPECT_TRUE(qtWindows.CloseDataWindows());
  Settle();
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,300,米,\r\n");
}

TEST_F(DailyWindowTest, MainWindowOpensTodayAndClosesEveryDataWindowSavingFirst) {
  SetTodayForTest(Mar(5));
  TQtWindowSystem qtWindows;
  SetWindowSystem(&qtWindows);
  {
    TFmKzmMain main;
    main.show();
    Activate(&main);
    const std::vector<TFmDaily*> before = DailyWindows();
    QTest::keyClick(QApplication::activeWindow(), Qt::Key_D, Qt::ControlModifier);
    Settle();
    QPointer<TFmDaily> window = Newest(before);
    ASSERT_FALSE(window.isNull());
    EXPECT_EQ(window->Date(), Mar(5));
    Activate(window);
    Type(QStringLiteral("米"));
    Key(Qt::Key_Return);
    Type(QStringLiteral("120"));
    Key(Qt::Key_Return);

    Activate(&main);
    QTest::keyClick(QApplication::activeWindow(), Qt::Key_W, Qt::ControlModifier);
    Settle();
    EXPECT_TRUE(window.isNull());
    EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,120,米,\r\n");
  }
  SetWindowSystem(&m_windows);
  SetTodayForTest(0);
}

}  // namespace
}  // namespace kzm::ui
