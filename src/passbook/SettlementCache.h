#pragma once

// Settlement files as last read. Looking up the month of a day or a month's period reads up
// to seven of them per call, and the monthly view asks often; each file is parsed again only
// after it changed. A file counts as changed when its inode, size or change times differ
// (settlement files are replaced by renaming, so every write gives a new inode); a file
// changed in the last two seconds is always read again.

#include <map>
#include <memory>
#include <string>

#include "passbook/Categories.h"

namespace kzm {

class TSettlementCache {
 public:
  // The settlement file at path into list (its period and categories); false, list empty,
  // when there is no such file. Throws as THeadList::LoadFromFile.
  bool Read(const std::string& path, THeadList& list);
  // Drops every file read so far.
  void Forget() { m_files.clear(); }

 private:
  struct TStamp {
    unsigned long long device = 0, inode = 0;
    long long size = 0, modified = 0, changed = 0;  // times in nanoseconds
    bool operator==(const TStamp&) const = default;
  };
  struct TFile {
    TStamp stamp;
    bool recent = false;  // changed just before it was read
    THeadList list;
  };
  static bool StampOf(const std::string& path, TStamp& stamp);

  std::map<std::string, std::unique_ptr<TFile>> m_files;
};

// The program's one cache of settlement files.
[[nodiscard]] TSettlementCache& SettlementCache();

}  // namespace kzm
