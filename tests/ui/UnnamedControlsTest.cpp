// Every control a person can reach with Tab has a name a screen reader can say.

#include <QAccessible>
#include <QApplication>

#include <gtest/gtest.h>

#include "PassbookFixture.h"
#include "foundation/Dates.h"
#include "ui/common/AccessibleControls.h"
#include "ui/common/Openers.h"
#include "ui/shell/MainWindow.h"

namespace kzm::ui {
namespace {

// The focusable objects below node that have no name, as "role class" lines.
void CollectUnnamed(QAccessibleInterface* node, QStringList& unnamed) {
  if (!node || !node->isValid()) return;
  if (node->state().focusable && !node->state().invisible && node->text(QAccessible::Name).trimmed().isEmpty()) {
    const QObject* object = node->object();
    unnamed << QStringLiteral("%1 %2 %3").arg(node->role()).arg(object ? object->metaObject()->className() : "?",
                                                               object ? object->objectName() : QString());
  }
  for (int i = 0; i < node->childCount(); ++i) CollectUnnamed(node->child(i), unnamed);
}

class UnnamedControls : public test::TPassbookFixture {};

TEST_F(UnnamedControls, EveryFocusableControlOfTheMainWindowsHasAName) {
  InstallAccessibleControls();
  TFmKzmMain main;
  main.show();
  ASSERT_TRUE(OpenDailyWindow(EncodeDate(2024, 3, 5)));
  ShowMonthOfDay(EncodeDate(2024, 3, 5));
  OpenSearch();
  QApplication::processEvents();
  QStringList checked;
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    checked << QString::fromLatin1(window->metaObject()->className());
    QStringList unnamed;
    CollectUnnamed(QAccessible::queryAccessibleInterface(window), unnamed);
    EXPECT_TRUE(unnamed.isEmpty()) << window->metaObject()->className() << ": " << unnamed.join(QStringLiteral(" | ")).toStdString();
  }
  checked.sort();
  EXPECT_EQ(checked.join(QLatin1Char(' ')).toStdString(), "kzm::ui::TFmDaily kzm::ui::TFmFind kzm::ui::TFmKzmMain kzm::ui::TFmMonth");
}

}  // namespace
}  // namespace kzm::ui
