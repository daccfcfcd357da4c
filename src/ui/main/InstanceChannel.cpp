#include "ui/main/InstanceChannel.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <algorithm>

#include <unistd.h>

namespace kzm::ui {

namespace {
const QByteArray kForwardRequest = QByteArrayLiteral("forward\n");
}  // namespace

TInstanceChannel::TInstanceChannel(QObject* parent) : QObject(parent) {
  connect(&m_server, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = m_server.nextPendingConnection()) {
      connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
      auto handle = [this, socket] {
        if (!socket->canReadLine()) return;
        const QByteArray line = socket->readLine();
        socket->disconnectFromServer();
        if (line == kForwardRequest && m_onForward) m_onForward();
      };
      connect(socket, &QLocalSocket::readyRead, this, handle);
      handle();
    }
  });
}

QString TInstanceChannel::DefaultName() { return QStringLiteral("tavimrok-%1").arg(::getuid()); }

bool TInstanceChannel::Listen(const QString& name, std::function<void()> onForward) {
  m_onForward = std::move(onForward);
  m_server.setSocketOptions(QLocalServer::UserAccessOption);
  if (m_server.listen(name)) return true;
  QLocalServer::removeServer(name);
  return m_server.listen(name);
}

bool TInstanceChannel::BringForward(const QString& name, int timeoutMs) {
  // The first copy takes the lock a moment before it listens: try again for a while.
  const QDeadlineTimer deadline(timeoutMs);
  while (true) {
    QLocalSocket socket;
    socket.connectToServer(name);
    if (socket.waitForConnected(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 1)))) {
      socket.write(kForwardRequest);
      const bool sent = socket.waitForBytesWritten(static_cast<int>(std::max<qint64>(deadline.remainingTime(), 100)));
      socket.disconnectFromServer();
      return sent;
    }
    if (deadline.hasExpired()) return false;
    QThread::msleep(50);
  }
}

void BringWindowForward(QWidget& window) {
  if (window.isMinimized()) window.setWindowState(window.windowState() & ~Qt::WindowMinimized);
  window.show();
  window.raise();
  window.activateWindow();
  if (QWidget* modal = QApplication::activeModalWidget()) {
    modal->raise();
    modal->activateWindow();
  }
}

}  // namespace kzm::ui
