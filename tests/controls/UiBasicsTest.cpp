#include "controls/UiBasics.h"

#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace kzm::ui {
namespace {

// The windows show and take back the same days the core stores: a date picked in a window
// must be the day the month files hold, across month, year and leap-day boundaries.
TEST(UiBasics, DaysAndDatesAgreeWithTheCore) {
  const struct {
    int year, month, day;
  } cases[] = {{1899, 12, 30}, {1900, 3, 1}, {2000, 2, 29}, {2024, 12, 31}, {2025, 1, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.year) + "-" + std::to_string(c.month) + "-" + std::to_string(c.day));
    const TDayNumber day = EncodeDate(c.year, c.month, c.day);
    EXPECT_EQ(ToQDate(day), QDate(c.year, c.month, c.day));
    EXPECT_EQ(ToDay(QDate(c.year, c.month, c.day)), day);
  }
  EXPECT_EQ(ToDay(QDate()), 0);
}

TEST(UiBasics, ColoursKeepTheirChannels) {
  const TColor red = MakeColor(0xFF, 0x10, 0x01);
  EXPECT_EQ(ToQColor(red), QColor(0xFF, 0x10, 0x01));
  EXPECT_EQ(FromQColor(QColor(0xFF, 0x10, 0x01)), red);
  // The alpha byte some routines keep never makes a window colour see-through.
  EXPECT_EQ(ToQColor(MakeColor(1, 2, 3, 0x80)).alpha(), 255);
}

// Enter in a dialog presses only its default button, never the one that happens to have focus.
TEST(UiBasics, EnterPressesTheDefaultButtonNotTheFocusedOne) {
  QDialog dialog;
  QPushButton* reset = NewButton("元に戻す", "ButtonReset", &dialog);
  QPushButton* ok = NewButton("OK", "ButtonOK", &dialog);
  ok->setDefault(true);
  int resets = 0;
  QObject::connect(reset, &QPushButton::clicked, [&resets] { ++resets; });
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  dialog.show();
  QApplication::setActiveWindow(&dialog);
  reset->setFocus();
  ASSERT_EQ(QApplication::focusWidget(), reset);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(resets, 0);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace kzm::ui
