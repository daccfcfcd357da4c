#include "ui/main/InstanceChannel.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QWidget>

#include <gtest/gtest.h>

namespace kzm::ui {
namespace {

TEST(InstanceChannel, ASecondCopyBringsTheFirstForward) {
  const QString name = QStringLiteral("tavimrok-test-%1").arg(QCoreApplication::applicationPid());
  QWidget first;
  first.show();
  first.showMinimized();
  QApplication::processEvents();
  ASSERT_TRUE(first.isMinimized());

  TInstanceChannel channel;
  int requests = 0;
  ASSERT_TRUE(channel.Listen(name, [&] {
    ++requests;
    BringWindowForward(first);
  }));
  EXPECT_TRUE(TInstanceChannel::BringForward(name));
  const QDeadlineTimer deadline(3000);
  while (requests == 0 && !deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(requests, 1);
  EXPECT_FALSE(first.isMinimized());
  EXPECT_TRUE(first.isVisible());

  // Nobody listening (the running copy is another user's): no answer.
  EXPECT_FALSE(TInstanceChannel::BringForward(name + QStringLiteral("-none"), 200));
}

TEST(InstanceChannel, ASocketLeftByACrashedCopyIsTakenOver) {
  const QString name = QStringLiteral("tavimrok-test-stale-%1").arg(QCoreApplication::applicationPid());
  // A crashed copy leaves its socket file behind.
  QFile stale(QDir::tempPath() + QLatin1Char('/') + name);
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.close();
  TInstanceChannel channel;
  EXPECT_TRUE(channel.Listen(name, [] {}));
  EXPECT_TRUE(TInstanceChannel::BringForward(name));
}

}  // namespace
}  // namespace kzm::ui
