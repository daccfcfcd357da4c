// The move-in window driven by keys as a person does: an export read, an account and a
// category renamed in the mapping table, a row left out and back in, booked and undone; and
// the statement window sending such a file there.

#include "ui/statement/LedgerImportWindow.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>

#include "PassbookFixture.h"
#include "foundation/Codec.h"
#include "passbook/Profile.h"
#include "ui/ModalDialog.h"
#include "ui/NamedChild.h"
#include "ui/statement/StatementImportWindow.h"

namespace kzm::ui {
namespace {

using test::Child;

class LedgerImportWindowTest : public test::TPassbookFixture {
 protected:
  void SetUp() override {
    std::string bytes;
    ASSERT_TRUE(EncodeCp932("計算対象,日付,内容,金額（円）,保有金融機関,大項目,中項目,メモ,振替,ID\r\n"
                            "1,2018/01/09,サンプル商店,-1500,サンプル銀行,食費,食料品,,0,w1\r\n"
                            "1,2018/01/25,サンプル商事,250000,サンプル銀行,収入,給与,,0,w2\r\n"
                            "0,2018/01/27,ATM,-20000,サンプル銀行,,,,1,w3\r\n"
                            "0,2018/01/27,ATM,20000,お財布,,,,1,w4\r\n",
                            bytes));
    test::WriteBytes(ExportPath(), bytes);
  }

  [[nodiscard]] std::string ExportPath() const { return m_data.File("export.csv"); }

  template <class TWindow>
  TWindow* Open(TWindow* window) {
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(window));
    return window;
  }

  // Opens the focused cell's editor, replaces its text and commits it.
  static void Rename(const char* name) {
    test::PressKey(Qt::Key_F2);
      test::PressKey(Qt::Key_A, Qt::ControlModifier);
    test::TypeText(QString::fromUtf8(name));
    test::PressKey(Qt::Key_Return);
    // The editor hands its text over a moment later, and the rows follow after that.
    QTest::qWait(50);
  }
};

TEST_F(LedgerImportWindowTest, MappedByKeysBookedAndUndone) {
  auto* window = Open(new TFmLedgerImport(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder()));
  auto counts = [&] { return Child<QLabel>(window, "LabelCounts")->text(); };
  Child<QLineEdit>(window, "EditFile")->setFocus();
  test::TypeText(QString::fromStdString(ExportPath()));
  test::PressKey(Qt::Key_Return);
  EXPECT_EQ(counts(), QStringLiteral("3行・取り込む 3・取り込み済み 0・取り込まない 0"));

  // The mapping table has the focus on the first account: the bank becomes ours, then the
  // salary (fourth line) our 給与.
  auto* mapping = Child<QTableWidget>(window, "TableMapping");
  ASSERT_EQ(QApplication::focusWidget(), mapping);
  ASSERT_EQ(mapping->item(0, 1)->text(), QStringLiteral("サンプル銀行"));
  Rename("銀行");
  ASSERT_EQ(QApplication::focusWidget(), mapping);
  test::PressKey(Qt::Key_Down);
  test::PressKey(Qt::Key_Down);
  test::PressKey(Qt::Key_Down);
  ASSERT_EQ(mapping->item(mapping->currentRow(), 1)->text(), QStringLiteral("収入／給与"));
  Rename("給与");
  auto* rows = Child<QTableWidget>(window, "TableRows");
  EXPECT_EQ(rows->item(0, 5)->text(), QStringLiteral("銀行"));
  EXPECT_EQ(rows->item(1, 4)->text(), QStringLiteral("給与"));
  EXPECT_EQ(Child<QLabel>(window, "LabelAdded")->text(), QStringLiteral("取り込むと通帳に加わる項目: お財布（資産）"));

  test::PressKey(Qt::Key_G, Qt::AltModifier);
  ASSERT_EQ(QApplication::focusWidget(), rows);
  test::PressKey(Qt::Key_Space);
  EXPECT_TRUE(counts().contains(QStringLiteral("取り込む 2"))) << counts().toStdString();
  test::PressKey(Qt::Key_Space);
  EXPECT_TRUE(counts().contains(QStringLiteral("取り込む 3"))) << counts().toStdString();

  // A button's mnemonic clicks it after a moment, as it shows the press.
  test::PressKey(Qt::Key_I, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return m_windows.Said("3件を取り込みました"); }));
  const std::string january = MonthText("201801.kzm");
  EXPECT_NE(january.find("20180109,支出,食費,資産,銀行,1500,サンプル商店,食料品"), std::string::npos) << january;
  EXPECT_NE(january.find("20180125,収入,給与,資産,銀行,250000,サンプル商事,給与"), std::string::npos) << january;
  EXPECT_NE(january.find("20180127,資産,お財布,資産,銀行,20000,ATM,"), std::string::npos) << january;
  EXPECT_GE(CurrentProfile().Categories().IndexOfKey(MakeKey("お財布", kKindAsset)), 0);
  EXPECT_EQ(counts(), QStringLiteral("3行・取り込む 0・取り込み済み 3・取り込まない 0"));

  m_windows.answers.push_back(true);
  test::PressKey(Qt::Key_U, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([this] { return m_windows.Said("3件の取り込みを取り消しました"); }));
  EXPECT_EQ(MonthText("201801.kzm"), "");
  EXPECT_EQ(counts(), QStringLiteral("3行・取り込む 3・取り込み済み 0・取り込まない 0"));
}

// A name the passbook's files cannot hold is refused, and the line keeps what it was.
TEST_F(LedgerImportWindowTest, ANameTheFilesCannotHoldIsRefused) {
  auto* window = Open(new TFmLedgerImport(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder(),
                                          QString::fromStdString(ExportPath())));
  auto* mapping = Child<QTableWidget>(window, "TableMapping");
  ASSERT_EQ(QApplication::focusWidget(), mapping);
  Rename("銀行🏦");
  EXPECT_TRUE(m_windows.Said("「🏦」は通帳に保存できない文字"));
  EXPECT_EQ(mapping->item(0, 3)->text(), QStringLiteral("サンプル銀行"));
  EXPECT_EQ(Child<QTableWidget>(window, "TableRows")->item(0, 5)->text(), QStringLiteral("サンプル銀行"));
}

TEST_F(LedgerImportWindowTest, TheStatementWindowOffersTheMoveInForAnExport) {
  auto* window =
      Open(new TFmStatementImport(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder()));
  Child<QLineEdit>(window, "EditFile")->setFocus();
  test::TypeText(QString::fromStdString(ExportPath()));
  test::PressKey(Qt::Key_Return);  // answered no: the window stays as it was
  EXPECT_TRUE(m_windows.Said("ほかの家計簿サービスから書き出した記録です"));
  EXPECT_EQ(MonthText("201801.kzm"), "");

  // Answered yes: the move-in window opens with the file read.
  m_windows.answers.push_back(true);
  bool opened = false;
  test::OnNextDialog([&opened](QDialog* dialog) {
    opened = dialog->objectName() == QStringLiteral("FmLedgerImport") &&
             Child<QLabel>(dialog, "LabelFormat")->text().contains(QStringLiteral("計算対象"));
  });
  test::PressKey(Qt::Key_Return);
  EXPECT_TRUE(opened);
}

}  // namespace
}  // namespace kzm::ui
