#include "phone/PhoneSettings.h"

#include <cstdlib>

#include "foundation/KeyedCsvStore.h"

namespace kzm {

namespace {

constexpr size_t kFileLimit = 64 * 1024;

std::string PathIn(const std::string& stateFolder) { return stateFolder + "/PhoneService.csv"; }

std::string KeyOf(const std::vector<std::string>& fields) { return fields.size() >= 2 ? fields[0] : std::string(); }

}  // namespace

TPhoneSettings LoadPhoneSettings(const std::string& stateFolder) {
  TPhoneSettings settings;
  TKeyedCsvStore store("スマホから記入の設定", kFileLimit);
  std::string error;
  if (stateFolder.empty() || !store.Load(PathIn(stateFolder), KeyOf, error)) return settings;
  if (const auto* on = store.Get("enabled")) settings.enabled = (*on)[1] == "1";
  if (const auto* address = store.Get("address")) settings.address = (*address)[1];
  if (const auto* port = store.Get("port")) {
    const int value = std::atoi((*port)[1].c_str());
    if (value > 0 && value < 65536) settings.port = value;
  }
  return settings;
}

bool SavePhoneSettings(const std::string& stateFolder, const TPhoneSettings& settings, std::string& error) {
  TKeyedCsvStore store("スマホから記入の設定", kFileLimit);
  store.Set("enabled", {"enabled", settings.enabled ? "1" : "0"});
  store.Set("address", {"address", settings.address});
  store.Set("port", {"port", std::to_string(settings.port)});
  return store.Save(PathIn(stateFolder), error);
}

}  // namespace kzm
