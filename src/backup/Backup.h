#pragma once

// Backups of one passbook: the whole passbook folder as one zip file, taken by itself at the
// first opening of a day and before changes to many entries, or by hand; kept by the rules of
// BackupKeep.h; and restored whole or one month's file at a time.
//
// A backup folder holds the backups of one passbook as "yyyymmdd-hhmmss-<why>.zip" (local
// time; <why> is open, replace, import, recurring, restore or manual, with "-2", "-3" … when
// two are taken in one second). The zip's comment is UTF-8 text, one "key<TAB>value" a line:
// "reason" (the reason as the user reads it) and, for each file that could not be read when
// the backup was taken, "unreadable" with its path in the passbook folder. The member
// BackupManifest.csv names the passbook and every member (BackupOwner.h).
//
// A restore unpacks and checks every member into a stage beside the passbook before anything
// of the passbook changes, then moves the files in under the record of RestoreJournal.h.
//
// TBackupStore works on files only, never on the program's open passbook or windows, so it
// may run on a thread of its own.

#include <cstdint>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "passbook/RestoreJournal.h"

namespace kzm {

enum class TBackupReason : uint8_t { brOpen, brReplace, brImport, brRecurring, brRestore, brManual };

struct TBackupInfo {
  std::string path;
  std::time_t time = 0;
  TBackupReason reason = TBackupReason::brManual;
  std::string reasonText;  // the reason given, else the reason's text
  int64_t size = 0;        // bytes of the zip file
};

struct TBackupOutcome {
  bool ok = false;
  std::string path;                     // the backup written
  int files = 0;                        // files it holds
  std::vector<std::string> unreadable;  // files of the passbook left out, relative paths
  std::string message;                  // in Japanese, for the user: what went wrong or was left out
};

struct TRestoreOutcome {
  bool ok = false;
  bool otherPassbook = false;  // refused as another passbook's backup; may be asked for anyway
  std::string before;          // the backup of the state before, when one was taken
  std::string message;         // in Japanese, for the user: why not
};

using TBackupClock = std::function<std::time_t()>;

class TBackupStore {
 public:
  // The store of the passbook at passbookFolder, keeping its backups in backupFolder (which
  // must not lie inside a passbook folder; see CheckBackupFolder). clock gives the time, the
  // system's when empty.
  TBackupStore(std::string passbookFolder, std::string backupFolder, TBackupClock clock = {});

  [[nodiscard]] const std::string& PassbookFolder() const { return m_passbookFolder; }
  [[nodiscard]] const std::string& BackupFolder() const { return m_backupFolder; }

  // Writes a backup of every file of the passbook folder, atomically, then removes the
  // backups the keep rules let go (never the new one). A file that cannot be read is left out
  // and named in the outcome; the others are still saved. reasonText replaces the reason's
  // text (a reason given by hand). Fails when nothing could be read or written.
  TBackupOutcome Take(TBackupReason reason, const std::string& reasonText = {});
  // The backups, newest first. Files of other names in the folder are left out.
  [[nodiscard]] std::vector<TBackupInfo> List() const;
  // Whether a backup for opening was taken today (by the clock).
  [[nodiscard]] bool OpenedToday() const;
  // Removes the backups the keep rules let go, except keep. Returns how many were removed.
  int Prune(const std::string& keep = {});

  // Puts the passbook back as the backup at backupPath holds it: every member is checked
  // (its name, size and CRC, against the manifest when the backup has one) and unpacked into
  // the stage, the current state is backed up ("復元の前"), then every file of the backup takes
  // its place and every other file of the passbook is removed (files that could not be read
  // when the backup was taken stay, and so do the passbook's id and its records). file (a
  // path relative to the passbook, "Daily/202403.kzm") puts back that file alone, and notes
  // its month for the carry of balances. A backup without nbkr.ini is no passbook's and is
  // refused; another passbook's backup only with allowOtherPassbook. Whatever refuses or
  // fails before the files move changes nothing in the passbook. Needs the writer lock.
  TRestoreOutcome Restore(const std::string& backupPath, const std::string& file = {}, bool allowOtherPassbook = false);
  // The newest backup holding a copy of file (relative path) that can be read; empty for none.
  [[nodiscard]] std::string NewestReadableCopy(const std::string& file) const;

 private:
  [[nodiscard]] std::time_t Now() const;
  TBackupOutcome TakeKeeping(TBackupReason reason, const std::string& reasonText, const std::string& keep);
  [[nodiscard]] std::string NewBackupPath(TBackupReason reason, std::time_t now) const;

  std::string m_passbookFolder;
  std::string m_backupFolder;
  TBackupClock m_clock;
};

// Empty when folder may hold backups of passbook folders; otherwise why not (in Japanese):
// it lies inside a passbook folder, or is one.
[[nodiscard]] std::string CheckBackupFolder(const std::string& folder);

}  // namespace kzm
