#include "ui/shell/GuardedApplication.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <stdexcept>

#include "common/RecordingWindowSystem.h"
#include "foundation/Errors.h"

namespace kzm::ui {
namespace {

// A handler that fails as a reader of a damaged file fails.
class TFailingObject : public QObject {
 protected:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EkzmError("終了タグがありません\r\n/tmp/x/Monthly/202605.mif");
    return QObject::event(e);
  }
};

TEST(GuardedApplication, AnEscapedExceptionIsToldAndTheProgramGoesOn) {
  auto* app = dynamic_cast<TGuardedApplication*>(QCoreApplication::instance());
  ASSERT_NE(app, nullptr);
  test::TRecordingWindowSystem windows;
  const int before = app->Stopped();
  TFailingObject failing;
  for (int i = 0; i < 2; ++i) QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(app->Stopped(), before + 2);
  ASSERT_EQ(windows.messages.size(), 1u);  // two failures in one go make one message
  EXPECT_NE(windows.messages[0].find("/tmp/x/Monthly/202605.mif"), std::string::npos);

  QCoreApplication::postEvent(&failing, new QEvent(QEvent::User));
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
  EXPECT_EQ(windows.messages.size(), 2u);
}

}  // namespace
}  // namespace kzm::ui
