#pragma once

// How a second copy of the program reaches the first one on the same data folder: the first
// copy listens on a local socket named from the folder's real path; the second connects and
// asks it to come forward. The socket lives in the abstract namespace, so it depends on no
// temporary folder and vanishes with its process.

#include <QLocalServer>
#include <QObject>
#include <QString>

#include <functional>
#include <string>

namespace kzm::ui {

class TInstanceChannel : public QObject {
  Q_OBJECT

 public:
  explicit TInstanceChannel(QObject* parent = nullptr);

  // The channel name of the copy working on the data folder named by key (its real path).
  [[nodiscard]] static QString NameFor(const std::string& key);
  // The channel name of the data folder in use (AppGlobal).
  [[nodiscard]] static QString DefaultName();

  // Starts listening; onForward runs on each request to come forward. Call only while
  // holding the single-instance lock: a socket left behind by a crashed copy is removed.
  bool Listen(const QString& name, std::function<void()> onForward);

  // Asks the copy listening on name to come forward; false when none answers within
  // timeoutMs (the running copy belongs to another user, or it is not listening yet).
  [[nodiscard]] static bool BringForward(const QString& name, int timeoutMs = 1500);

 private:
  QLocalServer m_server;
  std::function<void()> m_onForward;
};

// Brings window forward: restores it when minimised, raises it (and a modal dialog it has
// open) and makes it active.
void BringWindowForward(QWidget& window);

}  // namespace kzm::ui
