#include "ui/shell/InstanceChannel.h"

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

// Copies on two data folders each have their own channel; two spellings of one folder share it.
TEST(InstanceChannel, TheChannelBelongsToTheDataFolder) {
  EXPECT_EQ(TInstanceChannel::NameFor("/data/one"), TInstanceChannel::NameFor("/data/one"));
  EXPECT_NE(TInstanceChannel::NameFor("/data/one"), TInstanceChannel::NameFor("/data/two"));
  const QString first = TInstanceChannel::NameFor("/data/one-" + std::to_string(QCoreApplication::applicationPid()));
  const QString second = TInstanceChannel::NameFor("/data/two-" + std::to_string(QCoreApplication::applicationPid()));
  TInstanceChannel one;
  int requests = 0;
  ASSERT_TRUE(one.Listen(first, [&] { ++requests; }));
  EXPECT_FALSE(TInstanceChannel::BringForward(second, 200));
  // Another temporary folder changes nothing: the socket is in no folder.
  const QByteArray tmp = qEnvironmentVariableIsSet("TMPDIR") ? qgetenv("TMPDIR") : QByteArray();
  qputenv("TMPDIR", "/nonexistent-tmp");
  EXPECT_TRUE(TInstanceChannel::BringForward(first));
  if (tmp.isNull()) qunsetenv("TMPDIR");
  else qputenv("TMPDIR", tmp);
  const QDeadlineTimer deadline(3000);
  while (requests == 0 && !deadline.hasExpired()) QApplication::processEvents(QEventLoop::AllEvents, 50);
  EXPECT_EQ(requests, 1);
}

}  // namespace
}  // namespace kzm::ui
