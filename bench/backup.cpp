// A backup of the 30-year sample passbook: every file read, deflated into one zip and written
// atomically beside the passbooks, the keep rules applied after.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "backup/Backup.h"
#include "backup/BackupPlace.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

void BM_BackupSamplePassbook(benchmark::State& state) {
  const std::string& passbook = bench::SamplePassbook();
  TBackupStore store = BackupStoreOf(passbook);
  TBackupOutcome outcome;
  for (auto _ : state) {
    outcome = store.Take(TBackupReason::brManual);
    if (!outcome.ok) state.SkipWithError(outcome.message.c_str());
  }
  state.counters["files"] = outcome.files;
  state.counters["zip_kb"] = static_cast<double>(std::filesystem::file_size(outcome.path)) / 1024.0;
}
BENCHMARK(BM_BackupSamplePassbook)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
