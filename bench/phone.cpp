// Phones sending entries to the service on loopback: each iteration is one POST /api/entries,
// from request to entry booked (month file written, balances carried, windows told) and the
// answer back. Run with 1 and 10 phones at once; the time per iteration is what a phone waits.

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <atomic>
#include <ctime>
#include <filesystem>
#include <mutex>
#include <nlohmann/json.hpp>
#include <thread>

#include "passbook/MonthData.h"
#include "phone/PassbookPhoneBook.h"
#include "phone/PhoneHttp.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

// The service over the 30-year sample, listening on a free loopback port, with one paired phone.
struct TRunningService {
  TRunningService() {
    bench::OpenSamplePassbook();
    state = (std::filesystem::temp_directory_path() / "kzm-bench-phone").string();
    std::filesystem::remove_all(state);
    std::filesystem::create_directories(state);
    service = std::make_unique<TPhoneService>(state, OpenPassbookPhoneBook());
    std::string error;
    (void)service->Load(error);
    server = std::make_unique<TPhoneHttpServer>([this](const TPhoneRequest& request) {
      const std::lock_guard<std::mutex> hold(lock);
      TPhoneRequest unlimited = request;
      unlimited.address += std::to_string(++count);  // one address per request: the rate limit is not measured
      return service->Handle(unlimited);
    });
    for (port = 18800; port < 18900 && !server->Bind("127.0.0.1", port, error); ++port) {
    }
    thread = std::thread([this] { server->Serve(); });
    const std::string code = service->Pairing().Open(static_cast<int64_t>(std::time(nullptr)));
    httplib::Client client("127.0.0.1", port);
    const auto paired = client.Post("/api/pair", nlohmann::json{{"code", code}}.dump(), "application/json");
    key = paired ? nlohmann::json::parse(paired->body).value("key", "") : "";
  }
  ~TRunningService() {
    server->Stop();
    thread.join();
    std::filesystem::remove_all(state);
  }
  std::string state;
  std::mutex lock;
  int count = 0;
  std::unique_ptr<TPhoneService> service;
  std::unique_ptr<TPhoneHttpServer> server;
  std::thread thread;
  int port = 0;
  std::string key;
};

TRunningService& Service() {
  static TRunningService running;
  return running;
}

std::atomic<int> g_ids{0};

void BM_PhoneEntryBooked(benchmark::State& state) {
  TRunningService& running = Service();
  httplib::Client client("127.0.0.1", running.port);
  const httplib::Headers headers{{"Authorization", "Bearer " + running.key}};
  for (auto _ : state) {
    const nlohmann::json entry{{"id", "b" + std::to_string(++g_ids)}, {"date", "2024-12-10"}, {"category", "食費"},
                               {"amount", "298*3"}, {"item", "ベンチ"}};
    const auto answer = client.Post("/api/entries", headers, entry.dump(), "application/json");
    if (!answer || answer->status != 201) state.SkipWithError("not booked");
  }
}
BENCHMARK(BM_PhoneEntryBooked)->Unit(benchmark::kMillisecond)->UseRealTime()->Threads(1)->Threads(10);

}  // namespace
