// A person's evening: today's entries typed in the daily window, then the month looked at.
#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>

#include <gtest/gtest.h>

#include "PassbookFixture.h"
#include "foundation/Dates.h"
#include "ui/common/QtWindowSystem.h"
#include "ui/daily/DailyWindow.h"
#include "ui/monthly/MonthWindow.h"
#include "ui/monthly/MonthlyGrid.h"
#include "ui/shell/MainWindow.h"

namespace kzm::ui {
namespace {

template <typename T>
T* OnlyWindow() {
  T* found = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets()) {
    if (auto* window = qobject_cast<T*>(w); window && window->isVisible()) {
      EXPECT_EQ(found, nullptr) << "more than one";
      found = window;
    }
  }
  return found;
}

class MonthEndToEnd : public test::TPassbookFixture {
 protected:
  static void Settle() {
    for (int i = 0; i < 3; ++i) {
      QApplication::processEvents();
      QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
  }
  static void Activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    Settle();
  }
  static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    test::PressKey(key, mods);
    Settle();
  }
};

TEST_F(MonthEndToEnd, TypedDayShowsInTheMonthTableAndOnDisk) {
  const TDayNumber today = EncodeDate(2024, 3, 5);
  SetTodayForTest(today);
  TQtWindowSystem qtWindows;
  SetWindowSystem(&qtWindows);
  {
    TFmKzmMain main;
    main.show();
    Activate(&main);
    QTest::keyClick(QApplication::activeWindow(), Qt::Key_D, Qt::ControlModifier);
    Settle();
    QPointer<TFmDaily> daily = OnlyWindow<TFmDaily>();
    ASSERT_FALSE(daily.isNull());
    Activate(daily);
    // Item, amount, then Enter past the account (the first asset is taken) and the note.
    test::TypeText(QStringLiteral("米"));
    Key(Qt::Key_Return);
    test::TypeText(QStringLiteral("298*3"));
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    test::TypeText(QStringLiteral("牛乳"));
    Key(Qt::Key_Return);
    test::TypeText(QStringLiteral("210"));
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    Key(Qt::Key_Return);
    QTest::mouseClick(daily->MemoBox()->viewport(), Qt::LeftButton);
    Settle();
    test::TypeText(QStringLiteral("買い出し"));
    Key(Qt::Key_Right, Qt::ControlModifier);
    ASSERT_EQ(daily->Date(), today + 1);

    Activate(&main);
    QTest::keyClick(QApplication::activeWindow(), Qt::Key_M, Qt::ControlModifier);
    Settle();
    TFmMonth* month = OnlyWindow<TFmMonth>();
    ASSERT_NE(month, nullptr);
    const TMonthTable& table = month->Table();
    EXPECT_EQ(table.Key(), 202403);
    auto cellOf = [&table](const char* name) {
      for (int row = 1; row < table.RowCount(); ++row) {
        if (table.NameText(row) == name) return table.DayText(row, 4);
      }
      ADD_FAILURE() << name;
      return std::string();
    };
    EXPECT_EQ(cellOf("食費"), "1,104");
    EXPECT_EQ(cellOf("支出合計"), "1,104");
    EXPECT_EQ(cellOf("現金残高"), "-1,104");
    EXPECT_EQ(cellOf("メモ"), "買い出し");
    // The day is in view.
    const TMonthlyGrid& grid = month->GridDate();
    EXPECT_LE(grid.LeftCol(), 4);
    EXPECT_GT(grid.LeftCol() + grid.VisibleColCount(), 4);

    EXPECT_EQ(MonthText("202403.kzm"),
              "20240305,支出,食費,資産,現金,894,米,\r\n"
              "20240305,支出,食費,資産,現金,210,牛乳,\r\n"
              "20240305,メモ,メモ,メモ,メモ,0,買い出し,\r\n");
  }
  SetWindowSystem(&m_windows);
  SetTodayForTest(0);
}

}  // namespace
}  // namespace kzm::ui
