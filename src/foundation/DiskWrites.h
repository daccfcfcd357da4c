#pragma once

// What the program asks of the disk when it makes writes durable: each file synced before
// it takes its name, each folder synced after a rename, each whole-disk sync of a batch. The
// counts tell a benchmark what a run cost; the watcher lets a test see the steps in order, or
// stop a run at one of them as a kill would.

#include <cstdint>
#include <functional>
#include <string>

namespace kzm {

enum class TDiskStep : uint8_t { dsSyncFile, dsRename, dsSyncFolder, dsSyncDisk };

class TDiskWrites {
 public:
  using TWatcher = std::function<void(TDiskStep step, const std::string& path)>;

  void Note(TDiskStep step, const std::string& path);
  [[nodiscard]] int64_t Count(TDiskStep step) const { return m_counts[static_cast<int>(step)]; }
  // All the syncs so far: files, folders and disks.
  [[nodiscard]] int64_t Syncs() const;
  // Called at every step before it is taken; empty for none.
  void Watch(TWatcher watcher) { m_watcher = std::move(watcher); }

 private:
  int64_t m_counts[4] = {};
  TWatcher m_watcher;
};

// The program's one record of disk writes.
[[nodiscard]] TDiskWrites& DiskWrites();

}  // namespace kzm
