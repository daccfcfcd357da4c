#pragma once

// The phones paired with this PC, kept in Phones.csv in a folder of this PC's own (never in a
// synced passbook folder): id, name, the SHA-256 of its key, when it was paired and last used.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/KeyedCsvStore.h"

namespace kzm {

struct TPairedPhone {
  std::string id;
  std::string name;
  std::string keyHash;
  int64_t paired = 0;
  int64_t lastUsed = 0;
};

class TPairedPhones {
 public:
  explicit TPairedPhones(std::string folder);

  // Reads the file; false with error when it is there but cannot be read (nothing is then
  // accepted, and nothing written over it).
  bool Load(std::string& error);
  [[nodiscard]] std::vector<TPairedPhone> List() const;
  // Pairs a new phone; its key, to hand to the phone once. Empty with error when the file
  // could not be written.
  std::string Add(const std::string& name, int64_t now, std::string& error);
  // The phone whose key this is; its last use becomes now (written at most once a minute).
  std::optional<TPairedPhone> Find(const std::string& key, int64_t now);
  bool Remove(const std::string& id, std::string& error);

 private:
  [[nodiscard]] std::string Path() const { return m_folder + "/Phones.csv"; }
  std::string m_folder;
  TKeyedCsvStore m_store;
};

}  // namespace kzm
