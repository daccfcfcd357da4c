// Whatever a phone (or anyone on the home network) sends, the service answers with a status it
// knows and a body that is JSON, and books only entries it accepted with 201. The first byte
// picks the request; the rest is its body.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <nlohmann/json.hpp>

#include "passbook/Categories.h"
#include "phone/PhoneService.h"

namespace {

struct TFuzzedPhone {
  TFuzzedPhone() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzmfuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) std::abort();
    categories.LoadDefaultCategories();
    service = std::make_unique<kzm::TPhoneService>(
        pattern, kzm::TPhoneBook{[this] { return categories; },
                                 [this](const kzm::TPhoneEntry&, std::string&) { return ++booked, true; },
                                 [](const kzm::TPhoneEntry&) { return true; }, [](const kzm::TPhoneEntry&) { return true; }});
    const std::string code = service->Pairing().Open(0);
    const kzm::TPhoneResponse paired = service->Handle({"POST", "/api/pair", "", "{\"code\":\"" + code + "\"}", "a", 0});
    key = nlohmann::json::parse(paired.body)["key"];
    folder = pattern;
  }
  ~TFuzzedPhone() {
    service.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
  }
  std::string folder;
  kzm::THeadList categories;
  std::unique_ptr<kzm::TPhoneService> service;
  std::string key;
  int booked = 0;
  int64_t now = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TFuzzedPhone phone;
  if (size == 0) return 0;
  static const char* const kRoutes[][2] = {{"POST", "/api/entries"}, {"POST", "/api/pair"}, {"GET", "/api/categories"},
                                           {"GET", "/api/entries/recent"}, {"DELETE", "/api/entries/x"}, {"PUT", "/api/entries"}};
  const auto& route = kRoutes[data[0] % 6];
  const std::string body(reinterpret_cast<const char*>(data + 1), size - 1);
  phone.now += 2;  // the rate limit stays out of the way
  const int before = phone.booked;
  const kzm::TPhoneResponse answer = phone.service->Handle({route[0], route[1], "Bearer " + phone.key, body, "f", phone.now});
  const int s = answer.status;
  if (s != 200 && s != 201 && s != 400 && s != 401 && s != 403 && s != 404 && s != 405 && s != 409 && s != 413 &&
      s != 422 && s != 429 && s != 503)
    std::abort();
  if (nlohmann::json::parse(answer.body, nullptr, false).is_discarded()) std::abort();
  if (phone.booked != before && s != 201 && s != 200) std::abort();
  return 0;
}
