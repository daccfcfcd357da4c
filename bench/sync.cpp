// Merging what a sync engine left: a conflict copy of a busy month of the 30-year sample
// merged line by line (the merge alone, and the whole merge with its backup and staged swap),
// and opening the passbook for writing with no copy to merge, against the open without the
// look for copies.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "foundation/Codec.h"
#include "passbook/Profile.h"
#include "settlement/CarryRun.h"
#include "sync/LineMerge.h"
#include "sync/SyncMerge.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string Cp932(const std::string& text) {
  std::string bytes;
  (void)EncodeCp932(text, bytes);
  return bytes;
}

// The month as this PC holds it (two entries added) and as the other PC does (one entry
// changed, one added).
struct TMonthVersions {
  std::string base;
  std::string ours;
  std::string theirs;
};

TMonthVersions Versions() {
  TMonthVersions v;
  v.base = ReadBytes(bench::SamplePassbook() + "/Daily/202405.kzm");
  v.ours = v.base + Cp932("20240510,支出,食費,資産,現金,480,昼,\r\n20240520,支出,交通,資産,現金,220,バス,\r\n");
  const size_t line = v.base.find("\r\n", v.base.size() / 2) + 2;
  v.theirs = v.base.substr(0, line) + Cp932("20240515,支出,雑費,資産,現金,999,電池,\r\n") + v.base.substr(line);
  return v;
}

void BM_MergeMonthLines(benchmark::State& state) {
  const TMonthVersions v = Versions();
  size_t lines = 0;
  for (auto _ : state) {
    const TMonthMerge merge = MergeMonthBytes(&v.base, v.ours, v.theirs);
    lines = merge.bytes.size();
    benchmark::DoNotOptimize(lines);
  }
  state.counters["bytes"] = static_cast<double>(v.base.size());
}
BENCHMARK(BM_MergeMonthLines)->Unit(benchmark::kMicrosecond);

// The whole merge of one copy: reading, the backup of the passbook, staging, the swap.
void BM_MergeConflictCopy(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const std::string folder = bench::SamplePassbook();
  const TMonthVersions v = Versions();
  for (auto _ : state) {
    state.PauseTiming();
    WriteBytes(folder + "/Daily/202405.kzm", v.ours);
    WriteBytes(folder + "/Daily/202405.sync-conflict-20240520-101500-BENCH77.kzm", v.theirs);
    state.ResumeTiming();
    const TSyncMerge merge = MergeConflictCopies(folder);
    if (!merge.ok || merge.files.size() != 1) state.SkipWithError(merge.message.c_str());
  }
  WriteBytes(folder + "/Daily/202405.kzm", v.base);
}
BENCHMARK(BM_MergeConflictCopy)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_OpenCarried(benchmark::State& state) {
  const std::string folder = bench::SamplePassbook();
  for (auto _ : state) benchmark::DoNotOptimize(OpenPassbookCarried(folder));
}
BENCHMARK(BM_OpenCarried)->Unit(benchmark::kMicrosecond);

void BM_OpenSyncedNothingToMerge(benchmark::State& state) {
  const std::string folder = bench::SamplePassbook();
  for (auto _ : state) benchmark::DoNotOptimize(OpenPassbookSynced(folder));
}
BENCHMARK(BM_OpenSyncedNothingToMerge)->Unit(benchmark::kMicrosecond);

}  // namespace
