#include "foundation/DiskWrites.h"

namespace kzm {

void TDiskWrites::Note(TDiskStep step, const std::string& path) {
  if (m_watcher) m_watcher(step, path);
  ++m_counts[static_cast<int>(step)];
}

int64_t TDiskWrites::Syncs() const {
  return Count(TDiskStep::dsSyncFile) + Count(TDiskStep::dsSyncFolder) + Count(TDiskStep::dsSyncDisk);
}

TDiskWrites& DiskWrites() {
  static TDiskWrites instance;
  return instance;
}

}  // namespace kzm
