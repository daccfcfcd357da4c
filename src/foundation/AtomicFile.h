#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "foundation/Files.h"

namespace kzm {

// The folders whose renames a run of writes still has to bring to the disk. A run that
// writes many files (a replace over every month, a day and its settlement) syncs each file as
// it goes, but each folder only once, at the end: SyncFolders, or at the latest when the
// batch goes out of scope, so nothing is reported done before its folders are synced. A
// crash before that leaves each file old or new, never cut, as with a sync per file.
class TFolderSyncBatch {
 public:
  TFolderSyncBatch() = default;
  ~TFolderSyncBatch() { SyncFolders(); }
  TFolderSyncBatch(const TFolderSyncBatch&) = delete;
  TFolderSyncBatch& operator=(const TFolderSyncBatch&) = delete;

  void Add(const std::string& folder) { m_folders.insert(folder); }
  // Syncs every folder added since the last call, each once.
  void SyncFolders();
  [[nodiscard]] size_t Pending() const { return m_folders.size(); }

 private:
  std::set<std::string> m_folders;
};

// Writes bytes to path atomically: a temporary file in the same folder is written, flushed
// and synced, then renamed over the target, and the folder is synced so that the rename is on
// disk too, so a crash or a full disk never leaves a half-written file. With a batch, the
// folder is left to the batch. Returns false on any failure (the old file is then untouched)
// and, when error is given, the path and what failed in a Japanese sentence.
[[nodiscard]] bool WriteFileAtomic(const std::string& path, std::string_view bytes,
                                   std::string* error = nullptr, TFolderSyncBatch* batch = nullptr);

// A file written piece by piece that takes the place of path only when committed, whole, as
// WriteFileAtomic writes it; not committed, it is dropped and the old file stays untouched.
// For output too large to hold in memory at once.
class TAtomicFileStream {
 public:
  explicit TAtomicFileStream(std::string path);
  ~TAtomicFileStream();
  TAtomicFileStream(const TAtomicFileStream&) = delete;
  TAtomicFileStream& operator=(const TAtomicFileStream&) = delete;

  // Makes the temporary file beside path. False, with error as WriteFileAtomic gives it, when
  // it cannot be made.
  [[nodiscard]] bool Open(std::string* error = nullptr);
  // Adds bytes. A failed write is remembered, and Commit then fails.
  void Append(std::string_view bytes);
  // Syncs the file and renames it over path (the folder synced, or left to batch). False, with
  // error, when any write failed or the file could not take path's place.
  [[nodiscard]] bool Commit(std::string* error = nullptr, TFolderSyncBatch* batch = nullptr);
  // Commit syncs neither the file nor its folder (see WriteFileUnsynced).
  void LeaveUnsynced() { m_synced = false; }

 private:
  void Drop();

  std::string m_path;
  std::string m_tempPath;
  int m_fd = -1;
  int m_failure = 0;  // errno of the first failed write
  bool m_synced = true;
};

// Writes bytes to path as WriteFileAtomic does, but syncs nothing: for the files of a batch
// that nothing refers to until the batch is ready. The batch then syncs the disk once
// (SyncDiskOf) before it puts down the record that makes the files count, instead of one
// sync per file.
[[nodiscard]] bool WriteFileUnsynced(const std::string& path, std::string_view bytes, std::string* error = nullptr);
// Brings everything written on the file system that holds folder to the disk (syncfs).
[[nodiscard]] bool SyncDiskOf(const std::string& folder, std::string* error = nullptr);

// Removes the temporary files WriteFileAtomic leaves in folder when its process ends in the
// middle of a write (a crash, a kill): "<name>.tmp<pid>-<n>" whose process is gone, or runs
// again under that number but started after the file was written. Files of living writers
// and every other file stay. Returns how many were removed.
int RemoveStaleTempFiles(const std::string& folder);

// Reads a whole file. False when it cannot be opened or read.
[[nodiscard]] bool ReadWholeFile(const std::string& path, std::string& bytes);

enum class TReadStatus : uint8_t {
  rsRead,      // bytes hold the file
  rsMissing,   // nothing at all is at path
  rsTooLarge,  // the file is larger than the limit; nothing was read
  rsFailed,    // something is there but could not be read (a folder, no permission, ...)
};

// The error a read gives for a named pipe, a device or a socket: reading one could wait for
// ever, so it is never read. A link refused (TLinkRule) gives ELOOP.
inline constexpr int kNotAPlainFile = ENXIO;

// Reads a whole file of at most limit bytes, checking the size before reading anything.
// Only a plain file is read: a folder fails with EISDIR, anything else with kNotAPlainFile,
// and never waits. bytes is empty unless the file was read; error receives the errno of
// rsFailed.
[[nodiscard]] TReadStatus ReadFileUpTo(const std::string& path, size_t limit, std::string& bytes,
                                       int* error = nullptr, TLinkRule links = TLinkRule::lrFollow);

}  // namespace kzm
