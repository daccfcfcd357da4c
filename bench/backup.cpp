// A backup of the 30-year sample passbook: every file read, deflated into one zip and written
// atomically beside the passbooks, the keep rules applied after. Its restore (every member
// checked and unpacked beside the passbook, the state before backed up, the files moved in)
// against a plain unzip of the same backup into an empty folder, with the disk syncs each asks.

#include <benchmark/benchmark.h>
#include <zip.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>

#include "backup/Backup.h"
#include "backup/BackupPlace.h"
#include "common/SamplePassbook.h"
#include "foundation/DiskWrites.h"

namespace {

using namespace kzm;
namespace fs = std::filesystem;

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

// One backup of the sample passbook, taken once.
const std::string& SampleBackup() {
  static const std::string path = BackupStoreOf(bench::SamplePassbook()).Take(TBackupReason::brManual).path;
  return path;
}

void BM_RestoreSamplePassbook(benchmark::State& state) {
  const std::string& backup = SampleBackup();
  TBackupStore store = BackupStoreOf(bench::SamplePassbook());
  const int64_t syncsBefore = DiskWrites().Syncs();
  for (auto _ : state) {
    const TRestoreOutcome outcome = store.Restore(backup);
    if (!outcome.ok) state.SkipWithError(outcome.message.c_str());
  }
  state.counters["syncs"] =
      benchmark::Counter(static_cast<double>(DiskWrites().Syncs() - syncsBefore), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_RestoreSamplePassbook)->Unit(benchmark::kMillisecond)->UseRealTime();

// What unzip does: each member inflated into a new file, nothing synced.
void BM_PlainUnzipOfTheSameBackup(benchmark::State& state) {
  const std::string& backup = SampleBackup();
  const fs::path target = fs::path(bench::SamplePassbook()).parent_path() / "unzipped";
  std::array<char, 64 * 1024> block;
  for (auto _ : state) {
    fs::remove_all(target);
    zip_t* archive = zip_open(backup.c_str(), ZIP_RDONLY, nullptr);
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t i = 0; i < count; ++i) {
      const fs::path path = target / zip_get_name(archive, static_cast<zip_uint64_t>(i), 0);
      fs::create_directories(path.parent_path());
      std::ofstream out(path, std::ios::binary);
      zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(i), 0);
      for (zip_int64_t got; (got = zip_fread(file, block.data(), block.size())) > 0;) out.write(block.data(), got);
      zip_fclose(file);
    }
    zip_close(archive);
  }
  fs::remove_all(target);
}
BENCHMARK(BM_PlainUnzipOfTheSameBackup)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
