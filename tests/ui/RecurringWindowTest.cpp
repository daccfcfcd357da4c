#include "ui/recurring/RecurringWindow.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

#include "ModalDialog.h"
#include "PassbookFixture.h"
#include "recurring/RecurringEntering.h"
#include "ui/NamedChild.h"
#include "ui/TabWalk.h"
#include "ui/common/Openers.h"
#include "ui/recurring/RecurringCheckDialog.h"
#include "ui/recurring/RecurringEditDialog.h"

namespace kzm::ui {
namespace {

using test::Child;

class RecurringWindowTest : public test::TPassbookFixture {
 protected:
  RecurringWindowTest() { SetTodayForTest(EncodeDate(2027, 1, 31)); }
  ~RecurringWindowTest() override { SetTodayForTest(0); }

  static TRecurringTemplate Rent() {
    TkzmEntry entry;
    entry.date = EncodeDate(2027, 1, 27);
    entry.categoryKey = MakeKey("住居･光熱", kKindPayment);
    entry.accountKey = MakeKey("銀行", kKindAsset);
    entry.itemText = "家賃";
    entry.amount = 80000;
    return TemplateFromEntry(entry);
  }

  void StoreTemplates(std::vector<TRecurringTemplate> templates) {
    TRecurringStore store;
    std::string error;
    ASSERT_TRUE(store.Load(CurrentProfile().Folder(), error)) << error;
    for (TRecurringTemplate& t : templates) store.Add(std::move(t));
    ASSERT_TRUE(store.Save(error)) << error;
  }

  // Opens the cell's editor with F2 and types text over what it holds.
  static void TypeIntoCell(QTableWidget* table, int row, int column, const QString& text) {
    table->setFocus();
    table->setCurrentCell(row, column);
    test::PressKey(Qt::Key_F2);
    ASSERT_NE(QApplication::focusWidget(), table);
    test::PressKey(Qt::Key_A, Qt::ControlModifier);
    test::TypeText(text);
    test::PressKey(Qt::Key_Return);
    // The view takes the typed text in a queued call.
    QApplication::processEvents();
  }
};

TEST_F(RecurringWindowTest, TheCheckEntersTheTickedRowsWithTheConfirmedAmount) {
  TRecurringTemplate electricity = Rent();
  electricity.item = "電気代";
  electricity.amount = 7000;
  electricity.estimate = true;
  electricity.schedule.day = 10;
  electricity.schedule.first = EncodeDate(2027, 1, 1);
  electricity.schedule.shift = TBusinessShift::bsAfter;
  StoreTemplates({electricity, Rent()});

  bool shown = false;
  test::OnNextDialog([&](QDialog* dialog) {
    shown = true;
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("定期的な記入の確認"));
    auto* table = Child<QTableWidget>(dialog, "OccurrenceTable");
    ASSERT_EQ(table->rowCount(), 2);
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("2027/01/12"));  // 1/10 Sunday, 1/11 成人の日
    EXPECT_NE(table->item(0, 3)->background().color(), table->item(1, 3)->background().color());
    // Typed as in the daily grid: yen mark, commas and a sum.
    TypeIntoCell(table, 0, 3, QStringLiteral("¥7,000+450"));
    // The rent waits for later.
    table->setCurrentCell(1, 0);
    test::PressKey(Qt::Key_Space);
    EXPECT_EQ(table->item(1, 0)->checkState(), Qt::Unchecked);
    // A button's mnemonic clicks it after a moment, as it shows the press.
    test::PressKey(Qt::Key_E, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([dialog] { return !dialog->isVisible(); }));
  });
  EXPECT_TRUE(CheckRecurringEntries(nullptr));
  EXPECT_TRUE(shown);
  const std::string january = MonthText("202701.kzm");
  EXPECT_NE(january.find("20270112,支出,住居･光熱,資産,銀行,7450,電気代,"), std::string::npos) << january;
  EXPECT_EQ(january.find("家賃"), std::string::npos) << january;
  EXPECT_TRUE(m_windows.Said("1件を記入しました"));

  // The rent is asked again, and nothing else; あとで leaves it.
  test::OnNextDialog([&](QDialog* dialog) {
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
    EXPECT_EQ(Child<QTableWidget>(dialog, "OccurrenceTable")->rowCount(), 1);
    QTest::mouseClick(Child<QPushButton>(dialog, "ButtonLater"), Qt::LeftButton);
  });
  EXPECT_TRUE(CheckRecurringEntries(nullptr));
  EXPECT_EQ(MonthText("202701.kzm").find("家賃"), std::string::npos);
}

// A message up (a restore's 「復元しました」, say) is read first: the check asks afterwards.
TEST_F(RecurringWindowTest, TheCheckWaitsWhileAMessageIsUp) {
  StoreTemplates({Rent()});
  int checks = 0;
  const auto countAndClose = [&checks] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || modal->objectName() != QLatin1String("FmRecurringCheck")) return false;
    ++checks;
    static_cast<QDialog*>(modal)->reject();
    return true;
  };
  QTimer closer;  // a check shown where it must not be is counted and closed, never left hanging
  QObject::connect(&closer, &QTimer::timeout, &closer, [&] { countAndClose(); });
  closer.start(20);
  QMessageBox message(QMessageBox::Information, QString(), QStringLiteral("復元しました。"));
  bool answered = true;
  QTimer::singleShot(0, &message, [&] {
    answered = CheckRecurringEntries(nullptr);
    message.accept();
  });
  message.exec();
  EXPECT_FALSE(answered);
  EXPECT_EQ(checks, 0);
  EXPECT_TRUE(CheckRecurringEntries(nullptr));
  EXPECT_EQ(checks, 1);
}

TEST_F(RecurringWindowTest, TheEditorMakesATemplateFromAnEntryAndShowsItsNextDates) {
  TFmRecurring window(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder());
  window.show();
  bool edited = false;
  test::OnNextDialog([&](QDialog* editor) {
    edited = true;
    ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
    EXPECT_EQ(Child<QLineEdit>(editor, "EditItem")->text(), QStringLiteral("家賃"));
    EXPECT_EQ(Child<QComboBox>(editor, "ComboDay")->currentText(), QStringLiteral("27日"));
    // A mistyped amount is refused and the editor stays.
    test::PressKey(Qt::Key_M, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), Child<QLineEdit>(editor, "EditAmount"));
    test::PressKey(Qt::Key_A, Qt::ControlModifier);
    test::TypeText(QStringLiteral("8万"));
    test::PressKey(Qt::Key_Return);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(m_windows.Said("金額「8万」が読めません。"));
    test::PressKey(Qt::Key_A, Qt::ControlModifier);
    test::TypeText(QStringLiteral("82,000"));
    test::PressKey(Qt::Key_H, Qt::AltModifier);
    ASSERT_EQ(QApplication::focusWidget(), Child<QComboBox>(editor, "ComboShift"));
    test::PressKey(Qt::Key_Down);  // 前の営業日
    test::PressKey(Qt::Key_Return);
    EXPECT_FALSE(editor->isVisible());
  });
  window.AddFromEntry(Rent());
  ASSERT_TRUE(edited);
  ASSERT_EQ(window.Store().Templates().size(), 1u);
  const TRecurringTemplate& stored = window.Store().Templates()[0];
  EXPECT_EQ(stored.amount, 82000);
  EXPECT_EQ(stored.schedule.shift, TBusinessShift::bsBefore);
  EXPECT_EQ(stored.schedule.day, 27);

  ASSERT_EQ(window.Table()->rowCount(), 1);
  EXPECT_EQ(window.Table()->item(0, 5)->text(), QStringLiteral("2027/01/27 (水)"));
  QListWidget* next = window.NextList();
  ASSERT_EQ(next->count(), 12);
  EXPECT_EQ(next->item(0)->text(), QStringLiteral("2027/02/26 (金)  ← 2/27 土曜日"));

  // What the window stored is what the passbook holds.
  TRecurringStore reread;
  std::string error;
  ASSERT_TRUE(reread.Load(CurrentProfile().Folder(), error)) << error;
  ASSERT_EQ(reread.Templates().size(), 1u);
  EXPECT_EQ(reread.Templates()[0].amount, 82000);

  m_windows.answers.push_back(true);
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  window.Table()->setFocus();
  test::PressKey(Qt::Key_D, Qt::AltModifier);
  EXPECT_TRUE(QTest::qWaitFor([&window] { return window.Table()->rowCount() == 0; }));
  ASSERT_TRUE(reread.Load(CurrentProfile().Folder(), error)) << error;
  EXPECT_TRUE(reread.Templates().empty());
}

// Tab goes through the editor as it reads: the amount row, then the number, its unit and the
// day of くり返し, on down; Alt+R lands on the number and Tab goes on to the unit.
TEST_F(RecurringWindowTest, TabInTheEditorFollowsTheScreen) {
  TFmRecurringEdit editor(Rent(), CurrentProfile().Categories());
  editor.show();
  QApplication::setActiveWindow(&editor);
  ASSERT_TRUE(QTest::qWaitForWindowActive(&editor));
  std::vector<QWidget*> controls;
  for (const char* name : {"ComboEnd", "DateFirst", "ComboShift", "ComboDay", "ComboRepeat", "SpinInterval",
                           "CheckEstimate", "EditAmount"}) {
    controls.push_back(Child<QWidget>(&editor, name));
  }
  test::PressKey(Qt::Key_M, Qt::AltModifier);
  EXPECT_EQ(test::WalkTab(7), test::ScreenOrder(&editor, controls));
  test::PressKey(Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(test::WalkTab(1), (std::vector<QString>{"SpinInterval", "ComboRepeat"}));
}

// The editor reads an amount as the daily grid does.
TEST_F(RecurringWindowTest, TheEditorTakesAmountsTypedAsInTheDailyGrid) {
  TFmRecurring window(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder());
  window.show();
  for (const QString& typed : {QStringLiteral("1000+200"), QStringLiteral("¥1,000")}) {
    test::OnNextDialog([&](QDialog* editor) {
      ASSERT_TRUE(QTest::qWaitForWindowActive(editor));
      test::PressKey(Qt::Key_M, Qt::AltModifier);
      ASSERT_EQ(QApplication::focusWidget(), Child<QLineEdit>(editor, "EditAmount"));
      test::PressKey(Qt::Key_A, Qt::ControlModifier);
      test::TypeText(typed);
      test::PressKey(Qt::Key_Return);
      EXPECT_FALSE(editor->isVisible());
    });
    window.AddFromEntry(Rent());
  }
  EXPECT_TRUE(m_windows.messages.empty());
  ASSERT_EQ(window.Store().Templates().size(), 2u);
  EXPECT_EQ(window.Store().Templates()[0].amount, 1200);
  EXPECT_EQ(window.Store().Templates()[1].amount, 1000);
}

}  // namespace
}  // namespace kzm::ui
