#pragma once

// What each phone has sent, kept in PhoneEntries.csv beside the paired phones: the answer to a
// repeated id (a phone that lost the first answer sends again and must not book twice), the
// phone's list of recent entries, and what 取り消し may remove.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "foundation/KeyedCsvStore.h"
#include "phone/PhoneEntry.h"

namespace kzm {

struct TSentEntry {
  std::string phoneId;
  TPhoneEntry entry;
  int64_t received = 0;
};

class TSentEntries {
 public:
  explicit TSentEntries(std::string folder);
  bool Load(std::string& error);
  [[nodiscard]] std::optional<TSentEntry> Find(const std::string& phoneId, const std::string& clientId) const;
  // What the phone sent since the time given, oldest first.
  [[nodiscard]] std::vector<TSentEntry> SentSince(const std::string& phoneId, int64_t since) const;
  bool Add(const TSentEntry& sent, std::string& error);
  bool Remove(const std::string& phoneId, const std::string& clientId, std::string& error);
  // Forgets what came before the time given (kept a while, so that late repeats stay single).
  void ForgetBefore(int64_t time);

 private:
  [[nodiscard]] std::string Path() const { return m_folder + "/PhoneEntries.csv"; }
  std::string m_folder;
  TKeyedCsvStore m_store;
};

}  // namespace kzm
