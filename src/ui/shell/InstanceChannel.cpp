#include "ui/shell/InstanceChannel.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

#include <algorithm>

#include "foundation/AppGlobal.h"

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

QString TInstanceChannel::NameFor(const std::string& key) {
  // A hash keeps the name short whatever the path, well inside the socket name limit.
  const QByteArray hash = QCryptographicHash::hash(QByteArray::fromStdString(key), QCryptographicHash::Sha256);
  return QStringLiteral("tavimrok-") + QString::fromLatin1(hash.toHex().left(32));
}

QString TInstanceChannel::DefaultName() { return NameFor(AppGlobal().InstanceKey()); }

bool TInstanceChannel::Listen(const QString& name, std::function<void()> onForward) {
  m_onForward = std::move(onForward);
  m_server.setSocketOptions(QLocalServer::AbstractNamespaceOption);
  if (m_server.listen(name)) return true;
  QLocalServer::removeServer(name);
  return m_server.listen(name);
}

bool TInstanceChannel::BringForward(const QString& name, int timeoutMs) {
  // The first copy takes the lock a moment before it listens: try again for a while.
  const QDeadlineTimer deadline(timeoutMs);
  while (true) {
    QLocalSocket socket;
    socket.setSocketOptions(QLocalSocket::AbstractNamespaceOption);
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
