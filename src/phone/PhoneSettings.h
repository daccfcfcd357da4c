#pragma once

// Whether this PC serves phones for a passbook, and where: PhoneService.csv in this PC's own
// folder for the passbook (see PhoneStateFolder), so that a synced copy of the passbook never
// switches a service on at another PC.

#include <string>

namespace kzm {

struct TPhoneSettings {
  bool enabled = false;
  std::string address;  // empty: the first home-network address found
  int port = 8765;
};

[[nodiscard]] TPhoneSettings LoadPhoneSettings(const std::string& stateFolder);
bool SavePhoneSettings(const std::string& stateFolder, const TPhoneSettings& settings, std::string& error);

}  // namespace kzm
