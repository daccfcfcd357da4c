#pragma once

// Keeps the open windows in step with a passbook that another PC changes through a synced
// folder. A file watcher on the passbook and its Daily folder notices a month file the sync
// engine puts in place; after a short pause (an engine writes several files in a row) the
// month data reads it again, the settlements of that month and the later ones are built
// again, and every window is told the data changed (a daily window holding unsaved changes of
// a day that changed underneath asks the person what to keep). Every minute it also writes
// this PC's presence file and reads the others', and looks once more in case the watcher
// missed something (a network folder without change notices).

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <string>

namespace kzm::ui {

class TPassbookWatcher : public QObject {
  Q_OBJECT

 public:
  // How long the watcher waits after the last change it saw before it follows.
  static constexpr int kSettleMs = 300;
  static constexpr int kPresenceMs = 60 * 1000;

  explicit TPassbookWatcher(QObject* parent = nullptr);
  // Takes this PC's presence file away.
  ~TPassbookWatcher() override;

  // Watches the passbook open now (CurrentProfile), after leaving the one watched before.
  void WatchOpenPassbook();
  // Reads again what changed on disk, builds what derives from it and tells the windows.
  // Also what the timers call; a test may call it at once.
  void Follow();
  // Writes this PC's presence and says who else is here (PresenceChanged).
  void RefreshPresence();
  // 「ほかのPC（名前）でも開いています」, or empty when no other PC was seen lately.
  [[nodiscard]] const QString& PresenceText() const { return m_presenceText; }

 signals:
  void PresenceChanged(const QString& text);

 private:
  // A conflict copy the sync engine left in the passbook was seen: where its merge is called.
  void ConflictCopiesSeen();
  void Changed();
  void Leave();

  std::string m_folder;
  QFileSystemWatcher m_watcher;
  QTimer m_settle;
  QTimer m_minute;
  QString m_presenceText;
};

// True for a name the sync engines give a conflict copy: Syncthing's ".sync-conflict-",
// Nextcloud's and Dropbox's "conflicted copy".
[[nodiscard]] bool IsConflictCopyName(const QString& name);

}  // namespace kzm::ui
