#include "passbook/SettlementCache.h"

#include <sys/stat.h>

#include <ctime>

namespace kzm {

namespace {

constexpr long long kNano = 1000000000;

long long NowNanos() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec * kNano + now.tv_nsec;
}

}  // namespace

bool TSettlementCache::StampOf(const std::string& path, TStamp& stamp) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.modified = st.st_mtim.tv_sec * kNano + st.st_mtim.tv_nsec;
  stamp.changed = st.st_ctim.tv_sec * kNano + st.st_ctim.tv_nsec;
  return true;
}

bool TSettlementCache::Read(const std::string& path, THeadList& list) {
  list.Clear();
  TStamp stamp;
  if (!StampOf(path, stamp)) {
    m_files.erase(path);
    return false;
  }
  std::unique_ptr<TFile>& file = m_files[path];
  if (!file || file->recent || file->stamp != stamp) {
    // Stamped before reading: a change while reading makes the next call read it again.
    auto fresh = std::make_unique<TFile>();
    fresh->stamp = stamp;
    // File times tick coarsely: a file changed just now may change again without its times
    // moving, so it is read again until it has been left alone for a while.
    fresh->recent = stamp.changed > NowNanos() - 2 * kNano;
    try {
      fresh->list.LoadFromFile(path);
    } catch (...) {
      m_files.erase(path);
      throw;
    }
    file = std::move(fresh);
  }
  list.Assign(file->list);
  return true;
}

TSettlementCache& SettlementCache() {
  static TSettlementCache instance;
  return instance;
}

}  // namespace kzm
