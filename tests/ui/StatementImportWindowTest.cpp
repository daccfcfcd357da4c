#include "ui/statement/StatementImportWindow.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include <filesystem>

#include "PassbookFixture.h"
#include "foundation/Codec.h"
#include "passbook/Profile.h"
#include "statement/TextRules.h"
#include "ui/NamedChild.h"
#include "ui/statement/StatementGrid.h"

namespace kzm::ui {
namespace {

using test::Child;

// Opens the list of a combo box, moves to the entry and presses Enter, as a person picks it.
void Choose(QComboBox* box, const char* text) {
  const int row = box->findText(QString::fromUtf8(text));
  ASSERT_GE(row, 0) << text;
  box->showPopup();
  QAbstractItemView* view = box->view();
  view->setCurrentIndex(view->model()->index(row, 0));
  QTest::keyClick(view, Qt::Key_Return);
  ASSERT_EQ(box->currentText(), QString::fromUtf8(text));
}

class StatementImportWindowTest : public test::TPassbookFixture {
 protected:
  void SetUp() override {
    std::string bytes;
    ASSERT_TRUE(EncodeCp932("日付,摘要,支払い金額,預かり金額,差引残高\r\n"
                            "2018/1/9,カード,\"1,500\",,0\r\n"
                            "2018/1/25,振込,,\"250,000\",0\r\n"
                            "2018/1/27,ATM,\"20,000\",,0\r\n"
                            "2018/1/28,ATM,壊れた,,0\r\n",
                            bytes));
    test::WriteBytes(m_data.File("meisai.csv"), bytes);
    window = new TFmStatementImport(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder());
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }

  [[nodiscard]] QString Counts() const { return Child<QLabel>(window, "LabelCounts")->text(); }

  TFmStatementImport* window = nullptr;
};

TEST_F(StatementImportWindowTest, PreviewTicksChoosesBooksAndUndoes) {
  Child<QLineEdit>(window, "EditFile")->setFocus();
  test::TypeText(QString::fromStdString(m_data.File("meisai.csv")));
  test::PressKey(Qt::Key_Return);
  EXPECT_EQ(Counts(), QStringLiteral("4行・取り込む 3・重複 0（確実 0／可能性 0）・読めない 1\n"
                                     "取り込まない行: 出金の金額を読めません 1"));
  Choose(Child<QComboBox>(window, "ComboAccount"), "銀行");

  // The grid has the focus on the first row: Space leaves it out, and back in again.
  ASSERT_EQ(QApplication::focusWidget(), Child<TStatementGrid>(window, "StatementGrid"));
  test::PressKey(Qt::Key_Space);
  EXPECT_TRUE(Counts().contains(QStringLiteral("取り込む 2")));
  test::PressKey(Qt::Key_Space);
  EXPECT_TRUE(Counts().contains(QStringLiteral("取り込む 3")));
  test::PressKey(Qt::Key_Down);
  test::PressKey(Qt::Key_Down);
  test::PressKey(Qt::Key_Down);
  test::PressKey(Qt::Key_Space);  // the unreadable row cannot be ticked
  EXPECT_TRUE(Counts().contains(QStringLiteral("取り込む 3")));
  test::PressKey(Qt::Key_Up);
  test::PressKey(Qt::Key_Up);
  test::PressKey(Qt::Key_Space);  // 振込 stays out

  // The ATM row goes to cash, and the rule is learned for the next statements.
  test::PressKey(Qt::Key_Down);
  QTest::mouseClick(Child<QCheckBox>(window, "CheckLearn"), Qt::LeftButton);
  Choose(Child<QComboBox>(window, "ComboCategory"), "現金（資産）");
  TTextRules rules;
  std::string error;
  ASSERT_TRUE(rules.Load(CurrentProfile().Folder(), error)) << error;
  ASSERT_EQ(rules.Rules().size(), 1u);
  EXPECT_EQ(rules.Rules()[0].text, "ATM");
  Child<QComboBox>(window, "ComboCategory")->setFocus();
  test::PressKey(Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), Child<TStatementGrid>(window, "StatementGrid"));

  QTest::mouseClick(Child<QPushButton>(window, "ButtonImport"), Qt::LeftButton);
  EXPECT_TRUE(m_windows.Said("2件を取り込みました"));
  EXPECT_TRUE(m_windows.Informed("2件を取り込みました"));
  const std::string january = MonthText("201801.kzm");
  EXPECT_NE(january.find("20180109,支出,未分類,資産,銀行,1500,カード,"), std::string::npos) << january;
  EXPECT_NE(january.find("20180127,資産,現金,資産,銀行,20000,ATM,"), std::string::npos) << january;
  EXPECT_EQ(january.find("振込"), std::string::npos) << january;
  EXPECT_TRUE(Counts().contains(QStringLiteral("確実 2")));

  m_windows.answers.push_back(true);
  QTest::mouseClick(Child<QPushButton>(window, "ButtonUndo"), Qt::LeftButton);
  EXPECT_TRUE(m_windows.Said("2件の取り込みを取り消しました"));
  EXPECT_EQ(MonthText("201801.kzm"), "");
}

// The offer to remember works in either order: ticked after the category was chosen, it
// learns that choice.
TEST_F(StatementImportWindowTest, TickedAfterTheChoiceTheRuleIsLearnedAllTheSame) {
  Child<QLineEdit>(window, "EditFile")->setFocus();
  test::TypeText(QString::fromStdString(m_data.File("meisai.csv")));
  test::PressKey(Qt::Key_Return);
  Choose(Child<QComboBox>(window, "ComboAccount"), "銀行");
  Child<TStatementGrid>(window, "StatementGrid")->setFocus();
  test::PressKey(Qt::Key_Down);
  test::PressKey(Qt::Key_Down);  // the ATM row
  Choose(Child<QComboBox>(window, "ComboCategory"), "現金（資産）");
  QTest::mouseClick(Child<QCheckBox>(window, "CheckLearn"), Qt::LeftButton);
  TTextRules rules;
  std::string error;
  ASSERT_TRUE(rules.Load(CurrentProfile().Folder(), error)) << error;
  ASSERT_EQ(rules.Rules().size(), 1u);
  EXPECT_EQ(rules.Rules()[0].text, "ATM");
  EXPECT_EQ(rules.Rules()[0].categoryKey, MakeKey("現金", kKindAsset));
}

TEST_F(StatementImportWindowTest, EnterOpensTheCategoriesAndTheDayWindowIsAdjustable) {
  AddEntry(EncodeDate(2018, 1, 13), "食費", kKindPayment, "昼食", 1500, "銀行");
  ASSERT_TRUE(CurrentMonthData().Save());
  Child<QLineEdit>(window, "EditFile")->setFocus();
  test::TypeText(QString::fromStdString(m_data.File("meisai.csv")));
  test::PressKey(Qt::Key_Return);
  Choose(Child<QComboBox>(window, "ComboAccount"), "銀行");
  EXPECT_TRUE(Counts().contains(QStringLiteral("取り込む 3"))) << Counts().toStdString();
  // The hand-typed lunch is four days after the card row: a duplicate only with a wider window.
  auto* days = Child<QSpinBox>(window, "SpinDays");
  days->setFocus();
  test::PressKey(Qt::Key_Up);
  EXPECT_EQ(days->value(), 4);
  EXPECT_TRUE(Counts().contains(QStringLiteral("可能性 1"))) << Counts().toStdString();

  Child<TStatementGrid>(window, "StatementGrid")->setFocus();
  test::PressKey(Qt::Key_Return);
  auto* category = Child<QComboBox>(window, "ComboCategory");
  EXPECT_TRUE(category->view()->isVisible());
  EXPECT_EQ(QApplication::focusWidget(), category->view());
  category->hidePopup();
}

TEST_F(StatementImportWindowTest, AFileThatIsNoStatementIsRefused) {
  test::WriteBytes(m_data.File("picture.png"), std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
  Child<QLineEdit>(window, "EditFile")->setFocus();
  test::TypeText(QString::fromStdString(m_data.File("picture.png")));
  test::PressKey(Qt::Key_Return);
  EXPECT_TRUE(m_windows.Said("文字のファイルではありません"));
  EXPECT_TRUE(Counts().startsWith(QStringLiteral("0行")));
  EXPECT_FALSE(Child<QPushButton>(window, "ButtonImport")->isEnabled());
  // The empty list's blank row shows no selection.
  auto* grid = Child<TStatementGrid>(window, "StatementGrid");
  const QImage shot = grid->grab().toImage();
  const QRect cell = grid->CellRect(2, 1);
  EXPECT_NE(shot.pixelColor(cell.center()), grid->palette().color(QPalette::Highlight));
}

// An import that stopped at a month it could not write is said in the window, also when the
// window is opened again, until it is undone.
TEST_F(StatementImportWindowTest, AnImportThatStoppedIsSaidUntilUndone) {
  auto* lastImport = Child<QLabel>(window, "LabelLastImport");
  EXPECT_TRUE(lastImport->isHidden());
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("日付,摘要,支払い金額,預かり金額,差引残高\r\n"
                          "2018/1/9,一月,100,,0\r\n2018/2/9,二月,200,,0\r\n",
                          bytes));
  test::WriteBytes(m_data.File("two.csv"), bytes);
  // A folder where February's file belongs: that month cannot be written.
  std::filesystem::create_directories(CurrentProfile().Folder() + "/Daily/201802.kzm");
  Child<QLineEdit>(window, "EditFile")->setFocus();
  test::TypeText(QString::fromStdString(m_data.File("two.csv")));
  test::PressKey(Qt::Key_Return);
  Choose(Child<QComboBox>(window, "ComboAccount"), "銀行");
  QTest::mouseClick(Child<QPushButton>(window, "ButtonImport"), Qt::LeftButton);
  EXPECT_TRUE(m_windows.Said("1件を取り込みました"));
  EXPECT_FALSE(lastImport->isHidden());
  EXPECT_TRUE(lastImport->text().contains(QStringLiteral("途中で止まった"))) << lastImport->text().toStdString();
  {
    TFmStatementImport again(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder());
    EXPECT_FALSE(Child<QLabel>(&again, "LabelLastImport")->isHidden());
  }
  m_windows.answers.push_back(true);
  QTest::mouseClick(Child<QPushButton>(window, "ButtonUndo"), Qt::LeftButton);
  EXPECT_TRUE(m_windows.Said("1件の取り込みを取り消しました"));
  EXPECT_TRUE(lastImport->isHidden());
}

}  // namespace
}  // namespace kzm::ui
