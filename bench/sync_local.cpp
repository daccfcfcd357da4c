// What following another PC costs on the 30-year sample passbook (360 month files): the look
// for month files changed elsewhere that every open for writing now makes (against the open
// itself), and following one month file the sync engine brought, from its landing to its
// settlement and the later months built again (a recent month, and one 25 years back).

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "foundation/AtomicFile.h"
#include "passbook/MonthData.h"
#include "passbook/MonthStamps.h"
#include "passbook/Profile.h"
#include "settlement/CarryRun.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

// This PC's records go beside the sample, removed with it.
const std::string& Passbook() {
  static const std::string passbook = [] {
    const std::string& folder = bench::SamplePassbook();
    const std::string state = folder.substr(0, folder.rfind('/')) + "/.state";
    ::setenv("XDG_STATE_HOME", state.c_str(), 1);
    return folder;
  }();
  return passbook;
}

void BM_OpenForWriting(benchmark::State& state) {
  const std::string folder = Passbook();
  (void)OpenPassbookCarried(folder);
  for (auto _ : state) benchmark::DoNotOptimize(OpenPassbookCarried(folder));
}
BENCHMARK(BM_OpenForWriting)->Unit(benchmark::kMillisecond);

void BM_LookForMonthsChangedElsewhere(benchmark::State& state) {
  const std::string folder = Passbook();
  (void)OpenPassbookCarried(folder);
  for (auto _ : state) {
    if (!MonthFilesChangedElsewhere(folder).empty()) state.SkipWithError("a month changed");
  }
}
BENCHMARK(BM_LookForMonthsChangedElsewhere)->Unit(benchmark::kMicrosecond);

// The month file lands as an engine puts it down (a copy renamed over it), then is followed.
void FollowOneMonth(benchmark::State& state, TMonthKey key) {
  const std::string folder = Passbook();
  (void)OpenPassbookCarried(folder);
  const std::string path = folder + "/Daily/" + std::to_string(key) + ".kzm";
  for (auto _ : state) {
    state.PauseTiming();
    std::filesystem::copy_file(path, path + ".landing", std::filesystem::copy_options::overwrite_existing);
    std::filesystem::rename(path + ".landing", path);
    state.ResumeTiming();
    CurrentMonthData().DiscardMonthChanges();
    if (!CarryMonthsChangedElsewhere()) state.SkipWithError("not followed");
  }
}
void BM_FollowARecentMonth(benchmark::State& state) { FollowOneMonth(state, 202411); }
void BM_FollowAMonth25YearsBack(benchmark::State& state) { FollowOneMonth(state, 199911); }
BENCHMARK(BM_FollowARecentMonth)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FollowAMonth25YearsBack)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
