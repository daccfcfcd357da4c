#include "controls/DateField.h"

#include "controls/CheckedDatePicker.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace kzm::ui {
namespace {

// A window of three fields, the date between two text boxes, as in the month setup.
class DateFieldTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto* layout = new QVBoxLayout(&m_window);
    m_before = new QLineEdit(&m_window);
    m_field = new TDateField(&m_window);
    m_after = new QLineEdit(&m_window);
    for (QWidget* w : {static_cast<QWidget*>(m_before), static_cast<QWidget*>(m_field), static_cast<QWidget*>(m_after)})
      layout->addWidget(w);
    m_field->setDate(QDate(2024, 8, 26));
    m_window.show();
    QApplication::setActiveWindow(&m_window);
    m_before->setFocus();
  }

  static void Key(int key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* focused = QApplication::focusWidget();
    ASSERT_NE(focused, nullptr);
    QTest::keyClick(focused, static_cast<Qt::Key>(key), modifiers);
  }
  static void Type(const char* digits) {
    for (const char* c = digits; *c; ++c) Key(Qt::Key_0 + (*c - '0'));
  }
  static bool HasFocus(QWidget* w) {
    QWidget* focused = QApplication::focusWidget();
    return focused == w || (focused && w->isAncestorOf(focused));
  }

  // Clicks the date's text where the character at index is, on whatever widget is there.
  void ClickAtCharacter(int index) {
    auto* text = m_field->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    const int y = text->height() / 2;
    int x = 0;
    while (x < text->width() && text->cursorPositionAt(QPoint(x, y)) <= index) ++x;
    const QPoint inWindow = text->mapTo(&m_window, QPoint(x - 2, y));
    QWidget* target = m_window.childAt(inWindow);
    ASSERT_NE(target, nullptr);
    QTest::mouseClick(target, Qt::LeftButton, {}, target->mapFrom(&m_window, inWindow));
  }

  QWidget m_window;
  QLineEdit* m_before = nullptr;
  TDateField* m_field = nullptr;
  QLineEdit* m_after = nullptr;
};

TEST_F(DateFieldTest, TabLeavesTheFieldAndChangesNothing) {
  Key(Qt::Key_Tab);
  ASSERT_TRUE(HasFocus(m_field));
  // Tab Tab Down once changed the day without the person seeing it.
  Key(Qt::Key_Tab);
  EXPECT_TRUE(HasFocus(m_after));
  Key(Qt::Key_Down);
  EXPECT_EQ(m_field->date(), QDate(2024, 8, 26));
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(HasFocus(m_field));
  Key(Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_TRUE(HasFocus(m_before));
  EXPECT_EQ(m_field->date(), QDate(2024, 8, 26));
}

TEST_F(DateFieldTest, ClickedPartTakesTypingAndArrows) {
  struct Case {
    const char* what;
    int character;  // in "2024/08/26"
    const char* typed;
    int arrow;
    QDate expected;
  };
  const Case cases[] = {
      {"year replaced", 1, "2025", 0, QDate(2025, 8, 26)},
      {"month replaced", 6, "03", 0, QDate(2024, 3, 26)},
      {"day replaced", 9, "05", 0, QDate(2024, 8, 5)},
      {"up on the year", 2, "", Qt::Key_Up, QDate(2025, 8, 26)},
      {"down on the month", 5, "", Qt::Key_Down, QDate(2024, 7, 26)},
      {"up on the day", 8, "", Qt::Key_Up, QDate(2024, 8, 27)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m_field->setDate(QDate(2024, 8, 26));
    m_before->setFocus();
    ClickAtCharacter(c.character);
    ASSERT_TRUE(HasFocus(m_field));
    Type(c.typed);
    if (c.arrow != 0) Key(c.arrow);
    Key(Qt::Key_Tab);  // leaving the field completes what was typed
    EXPECT_EQ(m_field->date(), c.expected);
  }
}

TEST(CheckedDatePicker, UntickedDateIsGreyed) {
  TCheckedDatePicker picker;
  EXPECT_FALSE(picker.DateEdit()->isEnabled());
  picker.SetChecked(true);
  EXPECT_TRUE(picker.DateEdit()->isEnabled());
  picker.SetChecked(false);
  EXPECT_FALSE(picker.DateEdit()->isEnabled());
}

}  // namespace
}  // namespace kzm::ui
