// The program's own controls as a screen reader meets them.

#include <QAccessible>
#include <QWidget>

#include <gtest/gtest.h>

#include "controls/ImageControl.h"
#include "controls/LinkLabel.h"
#include "controls/RoundButton.h"
#include "ui/common/AccessibleControls.h"

namespace kzm::ui {
namespace {

TEST(AccessibleControls, ARoundButtonIsAPushButtonNamedByItsCaption) {
  InstallAccessibleControls();
  QWidget window;
  auto* button = new TorvWinButton(&window);
  button->SetCaption(QStringLiteral("今月の\\予算(&B)"));
  button->SetHint(QStringLiteral("この月の予算と実績"));
  auto* picture = new TorvImage(&window);
  picture->setToolTip(QStringLiteral("もるぽたち"));
  window.show();
  int clicks = 0;
  QObject::connect(button, &TorvWinButton::OnClick, [&clicks] { ++clicks; });

  QAccessibleInterface* spoken = QAccessible::queryAccessibleInterface(button);
  ASSERT_NE(spoken, nullptr);
  EXPECT_EQ(spoken->role(), QAccessible::Button);
  EXPECT_EQ(spoken->text(QAccessible::Name), QStringLiteral("今月の 予算(B)"));
  EXPECT_EQ(spoken->text(QAccessible::Description), QStringLiteral("この月の予算と実績"));
  EXPECT_TRUE(spoken->state().focusable);
  spoken->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 1);
  button->setEnabled(false);
  EXPECT_TRUE(spoken->state().disabled);
  spoken->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
  EXPECT_EQ(clicks, 1);

  QAccessibleInterface* image = QAccessible::queryAccessibleInterface(picture);
  EXPECT_EQ(image->role(), QAccessible::Graphic);
  EXPECT_EQ(image->text(QAccessible::Name), QStringLiteral("もるぽたち"));

  // Each of them says when it cannot be used, and again when it can.
  auto* link = new TLinkLabel(&window);
  link->setText(QStringLiteral("フォルダを開く"));
  EXPECT_EQ(QAccessible::queryAccessibleInterface(link)->role(), QAccessible::Link);
  for (QWidget* control : std::initializer_list<QWidget*>{button, picture, link}) {
    SCOPED_TRACE(control->metaObject()->className());
    QAccessibleInterface* spokenControl = QAccessible::queryAccessibleInterface(control);
    control->setEnabled(false);
    EXPECT_TRUE(spokenControl->state().disabled);
    control->setEnabled(true);
    EXPECT_FALSE(spokenControl->state().disabled);
  }
}

}  // namespace
}  // namespace kzm::ui
