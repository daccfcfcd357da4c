#include "settlement/SettlementCache.h"

#include <sys/stat.h>

#include <ctime>
#include <string_view>

#include "foundation/Errors.h"

namespace kzm {

namespace {

constexpr long long kNano = 1000000000;

long long NowNanos() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  return now.tv_sec * kNano + now.tv_nsec;
}

bool StampOf(const std::string& path, TFileStamp& stamp) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = st.st_size;
  stamp.modified = st.st_mtim.tv_sec * kNano + st.st_mtim.tv_nsec;
  stamp.changed = st.st_ctim.tv_sec * kNano + st.st_ctim.tv_nsec;
  return true;
}

}  // namespace

TSettlementCache::TSettlementCache() : TSettlementCache(StampOf, NowNanos) {}

TSettlementCache::TSettlementCache(TStamper stamper, TClock clock)
    : m_stamper(std::move(stamper)), m_clock(std::move(clock)) {}

void TSettlementCache::Hold(const std::string& path, const THeadList& list) {
  auto held = std::make_unique<THeadList>();
  held->SetFirst(list.First());
  held->SetLast(list.Last());
  for (int i = 0; i < list.Count(); ++i) {
    const THeadData& from = list.Items(i);
    THeadData& item = held->Items(held->AddKey(from.key));
    item.balance = from.balance;
    item.total = from.total;
    item.visible = from.visible;
  }
  m_held[path] = std::move(held);
}

TSettlementRead TSettlementCache::Read(const std::string& path, THeadList& list, std::string* newDamage) {
  list.Clear();
  if (const auto held = m_held.find(path); held != m_held.end()) {
    list.Assign(*held->second);
    return TSettlementRead::srRead;
  }
  TFileStamp stamp;
  if (!m_stamper(path, stamp)) {
    m_files.erase(path);
    return TSettlementRead::srNone;
  }
  std::unique_ptr<TFile>& file = m_files[path];
  if (!file || file->recent || file->stamp != stamp) {
    const bool wasDamaged = file && file->damaged && file->stamp == stamp;
    // Stamped before reading: a change while reading makes the next call read it again.
    auto fresh = std::make_unique<TFile>();
    fresh->stamp = stamp;
    // File times tick coarsely: a file changed just now may change again without its times
    // moving, so it is read again until it has been left alone for a while.
    fresh->recent = stamp.changed > m_clock() - 2 * kNano;
    try {
      fresh->list.LoadFromFile(path);
    } catch (const EkzmError& error) {
      fresh->list.Clear();
      fresh->damaged = true;
      // The reason alone: the caller names the file.
      const std::string_view what = error.what();
      if (newDamage && !wasDamaged) *newDamage = std::string(what.substr(0, what.find_first_of("\r\n")));
    }
    file = std::move(fresh);
  }
  if (file->damaged) return TSettlementRead::srDamaged;
  list.Assign(file->list);
  return TSettlementRead::srRead;
}

TSettlementCache& SettlementCache() {
  static TSettlementCache instance;
  return instance;
}

}  // namespace kzm
