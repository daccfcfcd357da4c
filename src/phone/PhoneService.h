#pragma once

// The phone service's answers, apart from the network: a request in, a status and a JSON body
// out. Pairing, keys, the limits every request meets, and the entries API live here; the HTTP
// server only carries bytes, so all of this is tested without sockets.

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>

#include "phone/Pairing.h"
#include "phone/PairedPhones.h"
#include "phone/SentEntries.h"

namespace kzm {

class THeadList;

struct TPhoneRequest {
  std::string method;         // "GET", "POST", "DELETE"
  std::string path;           // "/api/entries", without the query
  std::string authorization;  // the Authorization header
  std::string body;
  std::string address;        // the client's address
  int64_t now = 0;            // seconds
};

struct TPhoneResponse {
  int status = 200;
  std::string body;  // JSON, UTF-8
};

// How the service reaches the open passbook.
struct TPhoneBook {
  std::function<THeadList()> categories;
  // Books the entry as a typed one (the day saved, balances carried, windows told).
  std::function<bool(const TPhoneEntry&, std::string& error)> add;
  // Whether the passbook holds the entry as it was booked.
  std::function<bool(const TPhoneEntry&)> holds;
  // Removes the entry when the passbook still holds it unchanged; false otherwise.
  std::function<bool(const TPhoneEntry&)> remove;
};

class TPhoneService {
 public:
  static constexpr size_t kBodyLimit = 64 * 1024;
  static constexpr int kRequestsPerMinute = 60;
  static constexpr int64_t kRecentSeconds = 30 * 24 * 3600;
  static constexpr int64_t kKeepSentSeconds = 365 * 24 * 3600;

  // stateFolder: this PC's own folder for the passbook (never a synced one).
  TPhoneService(const std::string& stateFolder, TPhoneBook book);
  bool Load(std::string& error);

  TPhoneResponse Handle(const TPhoneRequest& request);

  TPairing& Pairing() { return m_pairing; }
  TPairedPhones& Phones() { return m_phones; }
  // What a phone paired or sent, for the window's list and the CLI's lines.
  std::function<void(const std::string& line)> onEvent;

 private:
  bool OverLimit(const std::string& address, int64_t now);
  TPhoneResponse Pair(const TPhoneRequest& request);
  TPhoneResponse Categories() const;
  TPhoneResponse AddEntry(const TPairedPhone& phone, const TPhoneRequest& request);
  TPhoneResponse Recent(const TPairedPhone& phone, int64_t now) const;
  TPhoneResponse DeleteEntry(const TPairedPhone& phone, const std::string& clientId);

  TPhoneBook m_book;
  TPairing m_pairing;
  TPairedPhones m_phones;
  TSentEntries m_sent;
  std::map<std::string, std::deque<int64_t>> m_requests;  // address → times in the last minute
};

// Whether the JSON text nests deeper than limit (arrays and objects), ignoring brackets in
// strings: such text is refused before it is parsed.
[[nodiscard]] bool NestsDeeperThan(std::string_view text, int limit);

}  // namespace kzm
