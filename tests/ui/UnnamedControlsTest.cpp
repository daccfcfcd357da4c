// Every control a person can reach with Tab has a name a screen reader can say.

#include <QAccessible>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QRadioButton>
#include <QSet>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

#include "PassbookFixture.h"
#include "controls/RoundButton.h"
#include "foundation/Dates.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"
#include "ui/ModalDialog.h"
#include "ui/TabWalk.h"
#include "ui/common/AccessibleControls.h"
#include "ui/common/Openers.h"
#include "ui/recurring/RecurringCheckDialog.h"
#include "ui/recurring/RecurringEditDialog.h"
#include "ui/shell/AboutWindow.h"
#include "ui/shell/HelpWindow.h"
#include "ui/shell/MainWindow.h"
#include "ui/statement/LedgerImportWindow.h"

namespace kzm::ui {
namespace {

// The focusable objects below node that have no name, as "role class name" lines. A table's
// cells are left out: a blank cell reads as blank, and the table itself must have a name.
void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed) {
  if (!node || !node->isValid() || node->role() == QAccessible::Cell) return;
  if (node->state().focusable && !node->state().invisible && node->text(QAccessible::Name).trimmed().isEmpty()) {
    const QObject* object = node->object();
    unnamed << QStringLiteral("%1 %2 %3").arg(node->role()).arg(object ? object->metaObject()->className() : "?",
                                                               object ? object->objectName() : QString());
  }
  for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), unnamed);
}

// The unnamed controls of window with every page of its tab widgets shown in turn.
QString UnnamedIn(QWidget* window) {
  QStringList unnamed;
  const auto walk = [&] {
    QApplication::processEvents();
    CollectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed);
  };
  walk();
  for (QTabWidget* tabs : window->findChildren<QTabWidget*>()) {
    for (int page = 0; page < tabs->count(); ++page) {
      tabs->setCurrentIndex(page);
      walk();
    }
  }
  unnamed.removeDuplicates();
  return unnamed.isEmpty() ? QString() : QString::fromLatin1(window->metaObject()->className()) + ": " + unnamed.join(" | ");
}

// Brings window forward for the keys; false when it never got there.
bool ActivateWindow(QWidget* window) {
  if (!QTest::qWaitForWindowExposed(window)) return false;
  window->activateWindow();
  QApplication::setActiveWindow(window);
  return QTest::qWaitForWindowActive(window);
}

// The controls of window that take the focus from a click but that Tab never reaches, pressed into the
// widget that has the focus, as a keyboard user presses it.
QString UnreachedByTab(QWidget* window) {
  const QString name = QString::fromLatin1(window->metaObject()->className());
  if (!ActivateWindow(window)) return name + QStringLiteral(" never became active");
  QSet<QWidget*> reached;
  for (int i = 0; i < 400 && QApplication::focusWidget(); ++i) {
    reached.insert(QApplication::focusWidget());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  // Tab stops at the chosen one of a group of radio buttons; the arrows choose among them.
  const auto reachedAs = [&reached](QWidget* w) {
    return reached.contains(w) || (qobject_cast<QRadioButton*>(w) && std::any_of(reached.begin(), reached.end(), [w](QWidget* r) {
                                     return qobject_cast<QRadioButton*>(r) && r->parentWidget() == w->parentWidget();
                                   }));
  };
  QStringList unreached;
  for (QWidget* w : window->findChildren<QWidget*>()) {
    if (qobject_cast<QLabel*>(w)) continue;  // selectable text, no control
    if (w->isVisible() && w->isEnabled() && w->focusPolicy() != Qt::NoFocus && !w->focusProxy() && !reachedAs(w)) {
      unreached << QStringLiteral("%1 %2").arg(w->metaObject()->className(), w->objectName());
    }
  }
  return unreached.isEmpty() ? QString() : name + ": " + unreached.join(" | ");
}

// Where Tab takes the focus in window against where the controls stand on the screen: empty
// when one full round of Tab visits the controls line by line, each line from the left. Only
// for windows of one column: beside a tall list, a column of buttons reads top to bottom.
QString TabOrderOffScreenOrder(QWidget* window) {
  const QString name = QString::fromLatin1(window->metaObject()->className());
  if (!ActivateWindow(window)) return name + " never became active";
  std::vector<QWidget*> order;
  for (int i = 0; i < 200 && QApplication::focusWidget(); ++i) {
    QWidget* control = QApplication::focusWidget();
    while (control && control->objectName().isEmpty()) control = control->parentWidget();
    if (!order.empty() && control == order.front()) break;
    if (std::find(order.begin(), order.end(), control) == order.end()) order.push_back(control);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  if (order.empty()) return name + " has no focus";
  QStringList tab;
  for (QWidget* w : order) tab << w->objectName();
  std::vector<QString> screen = test::ScreenOrder(window, order);
  std::rotate(screen.begin(), std::find(screen.begin(), screen.end(), tab.front()), screen.end());
  const QStringList onScreen(screen.begin(), screen.end());
  return tab == onScreen ? QString() : name + ": tab " + tab.join(' ') + "  screen " + onScreen.join(' ');
}

// The unnamed controls of every visible window; their class names go to shown.
QStringList UnnamedInVisibleWindows(QStringList& shown) {
  QStringList found;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    shown << QString::fromLatin1(window->metaObject()->className());
    if (QString text = UnnamedIn(window); !text.isEmpty()) found << text;
  }
  shown.sort();
  return found;
}

class UnnamedControls : public test::TPassbookFixture {
 protected:
  void SetUp() override { InstallAccessibleControls(); }

  // Runs open, which shows a modal dialog, and looks at that dialog.
  void CheckModal(const std::function<void()>& open) {
    bool seen = false;
    test::OnNextDialog([&](QDialog* dialog) {
      seen = true;
      if (QString text = UnnamedIn(dialog); !text.isEmpty()) m_unnamed << text;
      if (QString text = UnreachedByTab(dialog); !text.isEmpty()) m_unnamed << text;
    });
    open();
    EXPECT_TRUE(seen);
  }

  QStringList m_shown;
  QStringList m_unnamed;
};

TEST_F(UnnamedControls, EveryFocusableControlOfTheMainWindowsHasAName) {
  TFmKzmMain main;
  main.show();
  ASSERT_TRUE(OpenDailyWindow(EncodeDate(2024, 3, 5)));
  ShowMonthOfDay(EncodeDate(2024, 3, 5));
  OpenSearch();
  QStringList shown;
  const QStringList unnamed = UnnamedInVisibleWindows(shown);
  EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral("\n")).toStdString();
  EXPECT_EQ(shown.join(QLatin1Char(' ')).toStdString(), "kzm::ui::TFmDaily kzm::ui::TFmFind kzm::ui::TFmKzmMain kzm::ui::TFmMonth");
}

// The other windows and dialogs: every control is named and reached with Tab.
TEST_F(UnnamedControls, EveryFocusableControlOfTheOtherWindowsHasANameAndIsReachedWithTab) {
  AddEntry(EncodeDate(2024, 3, 5), "食費", kKindPayment, "パン", 300);
  OpenBudgetWindow(202403);
  OpenCardBillWindow();
  OpenForecastWindow();
  OpenYearReport(2024);
  OpenSpendingChart(202403);
  ASSERT_TRUE(OpenMonthMemo(EncodeDate(2024, 3, 1), EncodeDate(2024, 3, 31)));
  OpenColorSetUp();
  TFmHelp help(test::SourceDir() + "/resources/help/tavimrok_s.html");
  help.show();
  QStringList unnamed = UnnamedInVisibleWindows(m_shown);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    if (QString text = UnreachedByTab(window); !text.isEmpty()) unnamed << text;
  }
  EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral("\n")).toStdString();
  EXPECT_EQ(m_shown.size(), 8) << m_shown.join(QLatin1Char(' ')).toStdString();
  QApplication::closeAllWindows();
  m_shown.clear();

  CheckModal([] { OpenOptions(0); });
  CheckModal([] { OpenBackups(); });
  CheckModal([] { OpenPassbookInfo(0); });
  CheckModal([] { OpenPassbookInfo(1); });
  CheckModal([] { NewPassbook(); });
  TkzmProfile second;  // with two passbooks 通帳の選択 can delete one
  second.Load("");
  second.SetFolder(m_data.File("通帳2"));
  ASSERT_TRUE(second.Save());
  CheckModal([] { SelectPassbook(); });
  CheckModal([] { OpenRecurringWindow(nullptr); });
  CheckModal([] { OpenStatementImport(); });
  CheckModal([] { OpenReplace(); });
  CheckModal([] { EditCardSettings(CurrentProfile().Folder(), "現金", CurrentProfile().Categories(), nullptr); });
  CheckModal([] {
    TkzmEntry entry;
    entry.date = EncodeDate(2024, 3, 27);
    entry.categoryKey = MakeKey("食費", kKindPayment);
    entry.accountKey = MakeKey("現金", kKindAsset);
    TFmRecurringEdit(TemplateFromEntry(entry), CurrentProfile().Categories()).exec();
  });
  CheckModal([] { TFmLedgerImport(CurrentProfile().Categories(), CurrentMonthData(), CurrentProfile().Folder()).exec(); });
  CheckModal([] { TFmAbout().exec(); });
  CheckModal([] { TFmRecurringCheck({}).exec(); });
  CheckModal([] {
    ShowMonthOfDay(EncodeDate(2024, 3, 5));
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* setUp = window->findChild<TorvWinButton*>(QStringLiteral("ButtonSetUp")); setUp && window->isVisible()) {
        QTest::mouseClick(setUp, Qt::LeftButton);
      }
    }
  });
  EXPECT_TRUE(m_unnamed.isEmpty()) << m_unnamed.join(QStringLiteral("\n")).toStdString();
}

TEST_F(UnnamedControls, TabGoesAsTheWindowReads) {
  OpenBudgetWindow(202403);
  OpenYearReport(2024);
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (window->isVisible()) {
      EXPECT_EQ(TabOrderOffScreenOrder(window).toStdString(), "");
    }
  }
  test::OnNextDialog([](QDialog* dialog) { EXPECT_EQ(TabOrderOffScreenOrder(dialog).toStdString(), ""); });
  OpenStatementImport();
}

}  // namespace
}  // namespace kzm::ui
