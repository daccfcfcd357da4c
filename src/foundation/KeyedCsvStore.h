#pragma once

// A small CSV file of our own whose lines are records, each named by a key, among lines this
// program does not understand (written by a later version, or changed by hand): budgets, card
// settings, recurring entries. CP932 lines ended by CR LF, as every file of a passbook.
//
// One rule for a key written twice: the first line counts; the others are reported once (a
// message through WindowSystem().NotifyOnce naming the file and the lines) and are left out
// of the file at the next save. A removed key is gone: nothing of it is kept to come back at
// the next load. Lines not understood are kept as their bytes and written back unchanged
// after the records.

#include <cstddef>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace kzm {

class TKeyedCsvStore {
 public:
  struct TRecord {
    std::string key;
    std::vector<std::string> fields;
  };
  // The key of a line's fields (UTF-8); empty for a line the caller does not understand.
  using TKeyOf = std::function<std::string(const std::vector<std::string>& fields)>;

  // what names the file's kind in messages ("予算のファイル"), limit its largest size.
  TKeyedCsvStore(std::string what, size_t limit) : m_what(std::move(what)), m_limit(limit) {}

  // Reads the file at path, replacing what the store held; a missing file holds nothing. False,
  // with error naming the file, when it is there but cannot be read: the store is then empty
  // and Save refuses, so the file is never written over.
  bool Load(const std::string& path, const TKeyOf& keyOf, std::string& error);
  // Writes the records in their order, then the kept lines, atomically, to path. False with
  // error when that fails, a field holds a character CP932 cannot hold, or the last Load failed.
  [[nodiscard]] bool Save(const std::string& path, std::string& error) const;

  // The records in the file's order, keys set later at the end.
  [[nodiscard]] const std::vector<TRecord>& Records() const { return m_records; }
  // The fields of the key; null when there is no such record.
  [[nodiscard]] const std::vector<std::string>* Get(std::string_view key) const;
  // Replaces the key's record where it stands, or adds it at the end.
  void Set(const std::string& key, std::vector<std::string> fields);
  void Remove(std::string_view key);
  // Every record gone; the kept lines stay. For a caller that writes its records in an order
  // of its own.
  void ClearRecords();

  // The lines (UTF-8) the last Load left out as a key's second or later line.
  [[nodiscard]] const std::vector<std::string>& DroppedLines() const { return m_dropped; }
  // The lines not understood, as their bytes.
  [[nodiscard]] const std::vector<std::string>& KeptLines() const { return m_kept; }

 private:
  std::string m_what;
  size_t m_limit;
  bool m_unreadable = false;
  std::vector<TRecord> m_records;
  std::map<std::string, size_t, std::less<>> m_index;  // key → position in m_records
  std::vector<std::string> m_kept;
  std::vector<std::string> m_dropped;
};

}  // namespace kzm
