#include "ui/daily/MemoWindow.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <gtest/gtest.h>

#include "PassbookFixture.h"
#include "foundation/Dates.h"
#include "ui/common/Openers.h"
#include "ui/common/QtWindowSystem.h"

namespace kzm::ui {
namespace {

TDayNumber Mar(int day) { return EncodeDate(2024, 3, day); }

// The weight of the first character of a line of the document.
int WeightOfLine(QTextDocument* document, int line) {
  QTextCursor cursor(document->findBlockByNumber(line));
  cursor.movePosition(QTextCursor::NextCharacter);
  return cursor.charFormat().fontWeight();
}

class MemoWindowTest : public test::TPassbookFixture {
 protected:
  // A memo window on 1 to 10 March, shown and active, its editor focused.
  TFmMemo* Open() {
    auto* window = new TFmMemo();
    window->SetPeriod(Mar(1), Mar(10));
    window->LoadMemos();
    window->show();
    QApplication::setActiveWindow(window);
    window->MemoEdit()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(QApplication::focusWidget(), window->MemoEdit());
    return window;
  }
  static void Type(const QString& text) { test::TypeText(text); }
  static void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) { test::PressKey(key, mods); }
  // Closes as the user does; true when the window is gone.
  static bool Close(QPointer<TFmMemo> window) {
    window->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return window.isNull();
  }
  void Seed() {
    AddMemo(Mar(3), "消す");
    AddMemo(Mar(5), "一行目\r\n二行目");
    AddEntry(Mar(5), "食費", kKindPayment, "米", 500);
    ASSERT_TRUE(CurrentMonthData().Save());
  }
};

TEST_F(MemoWindowTest, LoadsBoldDateLinesAndTheTitleAndClosesUnchangedWithoutAsking) {
  Seed();
  QPointer<TFmMemo> window = Open();
  EXPECT_EQ(window->windowTitle(), QStringLiteral("月めも 24/03/01～24/03/10"));
  EXPECT_EQ(window->MemoEdit()->toPlainText(),
            QStringLiteral("2024/03/03\n消す\n\n2024/03/05\n一行目\n二行目\n\n"));
  QTextDocument* document = window->MemoEdit()->document();
  EXPECT_EQ(WeightOfLine(document, 0), QFont::Bold);
  EXPECT_EQ(WeightOfLine(document, 1), QFont::Normal);
  EXPECT_EQ(WeightOfLine(document, 3), QFont::Bold);
  EXPECT_EQ(WeightOfLine(document, 4), QFont::Normal);
  EXPECT_FALSE(window->Modified());
  EXPECT_TRUE(Close(window));
  EXPECT_TRUE(m_windows.messages.empty());
}

TEST_F(MemoWindowTest, DeletingADateLineRemovesThatMemoAndTypedDatesAddMemos) {
  Seed();
  QPointer<TFmMemo> window = Open();
  // Select the first memo's three lines and delete them.
  Key(Qt::Key_Home, Qt::ControlModifier);
  for (int i = 0; i < 3; ++i) Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_Delete);
  // An eight-digit line is a date line too.
  Key(Qt::Key_End, Qt::ControlModifier);
  Type(QStringLiteral("20240307"));
  Key(Qt::Key_Return);
  Type(QStringLiteral("追加"));
  m_windows.answers = {true};

  EXPECT_TRUE(Close(window));
  EXPECT_EQ(m_windows.messages, std::vector<std::string>{"変更した内容を保存しますか？"});
  EXPECT_EQ(MonthText("202403.kzm"),
            "20240305,支出,食費,資産,現金,500,米,\r\n"
            "20240305,メモ,メモ,メモ,メモ,0,一行目\\n二行目,\r\n"
            "20240307,メモ,メモ,メモ,メモ,0,追加,\r\n");
  ASSERT_EQ(m_windows.notices.size(), 1u);
  EXPECT_EQ(m_windows.notices[0].first, Mar(1));
  EXPECT_EQ(m_windows.notices[0].second, Mar(10));
}

TEST_F(MemoWindowTest, NoLeavesTheDataUntouched) {
  Seed();
  const std::string before = MonthText("202403.kzm");
  QPointer<TFmMemo> window = Open();
  Key(Qt::Key_End, Qt::ControlModifier);
  Type(QStringLiteral("2024/03/08"));
  Key(Qt::Key_Return);
  Type(QStringLiteral("書いたけれど"));
  m_windows.answers = {false};
  EXPECT_TRUE(Close(window));
  EXPECT_EQ(MonthText("202403.kzm"), before);
  CurrentMonthData().SelectDay(Mar(8));
  EXPECT_EQ(CurrentMonthData().DayEntryCount(), 0);
  EXPECT_TRUE(m_windows.notices.empty());
}

TEST_F(MemoWindowTest, AnOutOfPeriodDateIsStoredOnlyOnTheSecondYes) {
  Seed();
  AddMemo(EncodeDate(2024, 4, 2), "四月の古いメモ");
  ASSERT_TRUE(CurrentMonthData().Save());
  QPointer<TFmMemo> window = Open();
  Key(Qt::Key_End, Qt::ControlModifier);
  Type(QStringLiteral("2024/04/02"));
  Key(Qt::Key_Return);
  Type(QStringLiteral("四月"));

  m_windows.answers = {true, false};
  EXPECT_FALSE(Close(window)) << "No to the second question keeps the window open";
  EXPECT_EQ(m_windows.messages.back(), "期間外の日付があります。保存しますか？");
  EXPECT_EQ(MonthText("202404.kzm"), "20240402,メモ,メモ,メモ,メモ,0,四月の古いメモ,\r\n");
  EXPECT_TRUE(window->Modified());

  m_windows.answers = {true, true};
  EXPECT_TRUE(Close(window));
  EXPECT_EQ(MonthText("202404.kzm"), "20240402,メモ,メモ,メモ,メモ,0,四月,\r\n");
}

TEST_F(MemoWindowTest, ClosedByTheProgramItAsksAndNeverStaysOpen) {
  Seed();
  QPointer<TFmMemo> window = Open();
  Key(Qt::Key_End, Qt::ControlModifier);
  Type(QStringLiteral("2024/04/02"));
  Key(Qt::Key_Return);
  Type(QStringLiteral("四月"));
  TQtWindowSystem qtWindows;  // closes the data windows as Ctrl+W and switching passbooks do

  m_windows.answers = {true, false};
  EXPECT_TRUE(qtWindows.CloseDataWindows());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(m_windows.messages.size(), 2u);
  EXPECT_EQ(MonthText("202404.kzm"), "");

  window = Open();
  Key(Qt::Key_Down);
  Type(QStringLiteral("x"));
  m_windows.answers = {true};
  EXPECT_TRUE(qtWindows.CloseDataWindows());
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
  EXPECT_EQ(MonthText("202403.kzm"),
            "20240303,メモ,メモ,メモ,メモ,0,x消す,\r\n"
            "20240305,支出,食費,資産,現金,500,米,\r\n"
            "20240305,メモ,メモ,メモ,メモ,0,一行目\\n二行目,\r\n");
}

TEST_F(MemoWindowTest, OpenerRefusesAnOverlappingPeriod) {
  ASSERT_TRUE(OpenMonthMemo(Mar(1), Mar(10)));
  EXPECT_FALSE(OpenMonthMemo(Mar(10), Mar(20)));
  EXPECT_EQ(m_windows.messages, std::vector<std::string>{"メモの期間が重なっています"});
  EXPECT_TRUE(OpenMonthMemo(Mar(11), Mar(20)));
}

}  // namespace
}  // namespace kzm::ui
