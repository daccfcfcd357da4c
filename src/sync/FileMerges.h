#pragma once

// What each kind of passbook file merges by, and the words that tell the person what came of
// it. Bytes only: SyncMerge reads and writes the files.

#include <cstdint>
#include <string>
#include <vector>

namespace kzm {

enum class TFileKind : uint8_t {
  fkMonth,        // Daily/yyyymm.kzm: entry by entry
  fkSettlement,   // Monthly/…: built again from the entries, never merged
  fkSettings,     // nbkr.ini: key by key
  fkCategories,   // Headfile.dta: category by category
  fkKeyed,        // our own CSV files and the carry journal: record by record
  fkThisPc,       // what only this PC's version can hold (the passbook's id, the last import)
  fkUnknown,      // left to a person
};

// The kind of the passbook's file at relative ("Daily/202405.kzm").
[[nodiscard]] TFileKind KindOfFile(const std::string& relative);

struct TVersion {
  std::string bytes;
  int64_t changedAt = 0;  // nanoseconds; 0 when the file is not there
};

struct TVersions {
  TVersion ours;                 // the file the sync engine kept
  std::vector<TVersion> theirs;  // its conflict copies, oldest first
};

struct TFileResult {
  std::string bytes;
  std::string common;  // month files: the lines every version holds
  std::string kept;
  std::string needsPerson;
};

// Merges every copy into the file, one after the other. base: this PC's merge base of a month
// file, null for none.
[[nodiscard]] TFileResult MergeFile(TFileKind kind, const std::string& relative, const std::string* base,
                                    const TVersions& versions);

}  // namespace kzm
