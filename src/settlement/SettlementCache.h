#pragma once

// Settlement files as last read. Looking up the month of a day or a month's period reads up
// to seven of them per call, and the monthly view asks often; each file is parsed again only
// after it changed. A file counts as changed when its inode, size or change times differ
// (settlement files are replaced by renaming, so every write gives a new inode); a file
// changed in the last two seconds is always read again. A file that cannot be read or parsed
// is remembered as damaged in the same way, so it is reported once, not at every look-up.

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "passbook/Categories.h"

namespace kzm {

// What identifies one version of a file on disk; times in nanoseconds.
struct TFileStamp {
  unsigned long long device = 0, inode = 0;
  long long size = 0, modified = 0, changed = 0;
  bool operator==(const TFileStamp&) const = default;
};

enum class TSettlementRead { srNone, srRead, srDamaged };

class TSettlementCache {
 public:
  // The stamp of the file at path; false when there is no such file (or a folder is there).
  using TStamper = std::function<bool(const std::string& path, TFileStamp& stamp)>;
  // The time now in nanoseconds.
  using TClock = std::function<long long()>;

  // The real file system and clock.
  TSettlementCache();
  TSettlementCache(TStamper stamper, TClock clock);

  // The settlement file at path into list (its period and categories). srNone (list empty)
  // when there is no such file; srDamaged (list empty) when it cannot be read or parsed:
  // newDamage then receives the reason the first time this version of the file is met, and
  // stays empty after that.
  TSettlementRead Read(const std::string& path, THeadList& list, std::string* newDamage = nullptr);
  // Drops every file read so far.
  void Forget() { m_files.clear(); }

  // Settlement files held in memory instead of written: those of a carry run until it ends
  // (see CarryRun.h), and every one a process that only reads the passbook would write. Read
  // gives a held file before the disk. list is kept as its file would hold it.
  void Hold(const std::string& path, const THeadList& list);
  [[nodiscard]] const std::map<std::string, std::unique_ptr<THeadList>>& Held() const { return m_held; }
  void DropHeld() { m_held.clear(); }
  // Whether writes are held now: a carry run is on (runs nest; see CarryRun.h).
  [[nodiscard]] bool Holding() const { return m_runs > 0; }
  void BeginRun() { ++m_runs; }
  // True when the run that ends was the outermost.
  bool EndRun() { return --m_runs == 0; }

 private:
  struct TFile {
    TFileStamp stamp;
    bool recent = false;  // changed just before it was read
    bool damaged = false;
    THeadList list;
  };

  TStamper m_stamper;
  TClock m_clock;
  std::map<std::string, std::unique_ptr<TFile>> m_files;
  std::map<std::string, std::unique_ptr<THeadList>> m_held;
  int m_runs = 0;
};

// The program's one cache of settlement files.
[[nodiscard]] TSettlementCache& SettlementCache();

}  // namespace kzm
