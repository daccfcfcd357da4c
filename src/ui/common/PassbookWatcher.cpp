#include "ui/common/PassbookWatcher.h"

#include <QApplication>
#include <QDir>
#include <QStringList>

#include <chrono>
#include <set>
#include <string>
#include <vector>

#include "foundation/WindowSystem.h"
#include "passbook/MonthData.h"
#include "passbook/MonthStamps.h"
#include "passbook/Presence.h"
#include "passbook/Profile.h"
#include "passbook/SyncIgnore.h"
#include "settlement/CarryRun.h"
#include "sync/SyncMerge.h"

namespace kzm::ui {

namespace {

int64_t SecondsNow() {
  return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
}

bool AnyConflictCopyIn(const QString& folder) {
  const QStringList names = QDir(folder).entryList(QDir::Files | QDir::Hidden);
  for (const QString& name : names) {
    if (IsConflictCopyName(name)) return true;
  }
  return false;
}

}  // namespace

bool IsConflictCopyName(const QString& name) {
  return name.contains(QStringLiteral(".sync-conflict-")) || name.contains(QStringLiteral("conflicted copy"));
}

TPassbookWatcher::TPassbookWatcher(QObject* parent) : QObject(parent) {
  m_settle.setSingleShot(true);
  m_settle.setInterval(kSettleMs);
  connect(&m_settle, &QTimer::timeout, this, &TPassbookWatcher::Follow);
  m_minute.setInterval(kPresenceMs);
  connect(&m_minute, &QTimer::timeout, this, [this] {
    Follow();
    RefreshPresence();
  });
  connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, &TPassbookWatcher::Changed);
}

TPassbookWatcher::~TPassbookWatcher() { Leave(); }

void TPassbookWatcher::Leave() {
  if (m_folder.empty()) return;
  RemovePresence(m_folder);
  const QStringList watched = m_watcher.directories();
  if (!watched.isEmpty()) m_watcher.removePaths(watched);
  m_folder.clear();
}

void TPassbookWatcher::WatchOpenPassbook() {
  Leave();
  m_settle.stop();
  if (!CurrentProfile().Writable() || CurrentProfile().Folder().empty()) {
    m_minute.stop();
    m_presenceText.clear();
    emit PresenceChanged(m_presenceText);
    return;
  }
  m_folder = CurrentProfile().Folder();
  const QString folder = QString::fromStdString(m_folder);
  QDir(folder).mkpath(QStringLiteral("Daily"));
  // The data folder may be kept in sync between PCs: the engine must leave each PC's own files.
  std::string why;
  if (!KeepSyncIgnore(m_folder.substr(0, m_folder.rfind('/')), why)) WindowSystem().Notify(why);
  m_watcher.addPaths({folder, folder + QStringLiteral("/Daily")});
  m_minute.start();
  RefreshPresence();
}

void TPassbookWatcher::Changed() { m_settle.start(); }

void TPassbookWatcher::ConflictCopiesSeen() {
  // Runs before the month files are read again, so that what it merges is followed at once.
  // What the windows hold goes down first: the merge works on the files.
  WindowSystem().BroadcastToForms(kNoticeStoreEdits, 0, 0);
  if (!CurrentMonthData().Save()) return;
  const TSyncMerge merge = MergeConflictCopies(m_folder);
  if (merge.files.empty() && merge.ok) return;
  if (CurrentMonthData().Year() != 0) CurrentMonthData().DiscardMonthChanges();
  std::string report = MergeReport(merge);
  if (!report.empty() && report.back() == '\n') report.pop_back();
  WindowSystem().Notify((merge.ok ? "ほかのPCとの同期で生まれた写しを統合しました。\n" : "") + report + merge.message);
}

void TPassbookWatcher::Follow() {
  if (m_folder.empty() || m_folder != CurrentProfile().Folder() || !CurrentProfile().Writable()) return;
  // A dialog may be in the middle of a change over the month data: follow once it is closed.
  if (QApplication::activeModalWidget()) {
    m_settle.start();
    return;
  }
  const QString folder = QString::fromStdString(m_folder);
  if (AnyConflictCopyIn(folder) || AnyConflictCopyIn(folder + QStringLiteral("/Daily"))) ConflictCopiesSeen();
  // The engine may have replaced Daily itself (a folder made anew): watch it again.
  if (!m_watcher.directories().contains(folder + QStringLiteral("/Daily"))) {
    m_watcher.addPath(folder + QStringLiteral("/Daily"));
  }
  TkzmDataUnit& data = CurrentMonthData();
  const int loaded = data.Year() * 100 + data.Month();
  if (data.Year() != 0 && !data.Modified() && MonthFileChangedElsewhere(m_folder, loaded)) data.DiscardMonthChanges();
  if (MonthFilesChangedElsewhere(m_folder).empty()) return;
  (void)CarryMonthsChangedElsewhere();
  WindowSystem().BroadcastToForms(kNoticeDataChanged, 0, 0);
}

void TPassbookWatcher::RefreshPresence() {
  if (m_folder.empty()) return;
  const int64_t now = SecondsNow();
  std::string error;
  (void)WritePresence(m_folder, now, error);  // a presence that cannot be written only goes unseen
  const std::vector<std::string> others = OtherPcsPresent(m_folder, now);
  QString text;
  if (!others.empty()) {
    QStringList names;
    for (const std::string& name : others) names << QString::fromStdString(name);
    text = QStringLiteral("ほかのPC（%1）でも開いています").arg(names.join(QStringLiteral("、")));
  }
  if (text == m_presenceText) return;
  m_presenceText = text;
  emit PresenceChanged(m_presenceText);
}

}  // namespace kzm::ui
