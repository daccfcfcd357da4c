#pragma once

// What a passbook keeps about its imports: the entries the last import added, so that it can
// be undone, and the bank ids of every row imported, so that a row seen before is known even
// when its entry's text has been edited since.
//
// Last import (StatementLastImport.pc-<id>.csv in the passbook folder, this PC's own, see
// PcOwnPath; another PC never undoes it): the added entries in the
// month files' line format, each line with a ninth field holding the row's bank id (empty
// when it had none) and a tenth holding how many entries like it its day held before it was
// added. A first line "incomplete" marks an import that has not run to its end: it is
// written before the first month changes and taken off once the import is through. Records
// without the tenth field or the mark (older ones) are of finished imports.
// A record that is cut short or garbled is reported and never used nor written over: a record
// written now begins with a seal line "entries,N,HASH" (the count of its entry lines and a
// 64-bit FNV-1a of their bytes in hexadecimal), which readers that know no seal pass over.
// Imported ids (StatementIds.csv): CP932 lines ended by CR LF, two CSV fields: the display
// name of the asset account and the bank's id. Lines of any other shape are kept and written
// back after the ids.

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "passbook/MonthEntry.h"

namespace kzm {

inline constexpr const char* kLastImportFileName = "StatementLastImport.csv";
inline constexpr const char* kImportedIdsFileName = "StatementIds.csv";

struct TImportedEntry {
  TkzmEntry entry;
  std::string sourceId;
  // Entries the same in every field its day held before it was added (earlier ones of the
  // same import included): undo takes one away only while the day holds more. -1: the record
  // does not say.
  int alikeBefore = -1;
};

struct TImportRecord {
  std::vector<TImportedEntry> entries;  // in date order
  bool complete = true;                 // false: the import stopped before its end
};

// The last import; a missing file gives none. False, naming the file in error, when it exists
// but cannot be read, or is cut short or garbled: record is then empty, and the file must be
// left as it is.
bool ReadLastImport(const std::string& passbookFolder, TImportRecord& record, std::string& error);
// Replaces the record, atomically; a complete record without entries removes it. False,
// naming the file in error.
[[nodiscard]] bool WriteLastImport(const std::string& passbookFolder, const TImportRecord& record, std::string& error);

class TImportedIds {
 public:
  // A missing file holds no ids. False, naming the file in error, when it cannot be read:
  // Save then refuses, so the file is never written over.
  bool Load(const std::string& passbookFolder, std::string& error);
  [[nodiscard]] bool Save(const std::string& passbookFolder, std::string& error) const;

  [[nodiscard]] bool Contains(const std::string& accountKey, const std::string& id) const;
  void Add(const std::string& accountKey, const std::string& id);
  void Remove(const std::string& accountKey, const std::string& id);

 private:
  std::set<std::pair<std::string, std::string>> m_ids;  // account display name, id
  std::vector<std::string> m_kept;                      // lines not understood, as their bytes
  bool m_unreadable = false;
};

}  // namespace kzm
