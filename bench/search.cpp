// The search over every month of a 30-year sample passbook (about 93,000 entries), next to
// what it cannot do without: reading the same month files and decoding them. The search
// benchmarks also count the heap: the most it held at once during a search against what the
// results hold when it is done.

#include <benchmark/benchmark.h>

#include <malloc.h>

#include <cstdlib>
#include <new>
#include <string>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "passbook/MonthData.h"
#include "passbook/MonthFile.h"
#include "passbook/MonthRange.h"
#include "search/Search.h"

#include "common/SamplePassbook.h"

namespace {

// While g_counting, the heap bytes taken (less those given back), and the most taken at once
// since g_heapPeak was last set; the benchmark runs on one thread, and the program allocates
// through the operators below. Counting is on only for the one search that counts, so that
// the timed ones pay nothing for it.
bool g_counting = false;
long long g_heapInUse = 0;
long long g_heapPeak = 0;

void* CountedAlloc(size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  if (g_counting) {
    g_heapInUse += static_cast<long long>(malloc_usable_size(p));
    if (g_heapInUse > g_heapPeak) g_heapPeak = g_heapInUse;
  }
  return p;
}

void CountedFree(void* p) noexcept {
  if (p == nullptr) return;
  if (g_counting) g_heapInUse -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}

}  // namespace

void* operator new(size_t size) { return CountedAlloc(size); }
void* operator new[](size_t size) { return CountedAlloc(size); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, size_t) noexcept { CountedFree(p); }

namespace {

using namespace kzm;

// The reference: list the month files, read each and decode it to text, nothing more.
void BM_ReadAndDecodeAllMonths(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const TkzmDataUnit& data = CurrentMonthData();
  size_t bytesRead = 0;
  for (auto _ : state) {
    bytesRead = 0;
    std::string bytes;
    for (const TMonthOfFile& m : MonthFilesOf(data.Folder())) {
      (void)ReadFileUpTo(data.MonthFilePath(m.year, m.month), kMaxMonthFileSize, bytes);
      const std::string text = DecodeCp932(bytes);
      benchmark::DoNotOptimize(text.data());
      bytesRead += bytes.size();
    }
  }
  state.counters["MB"] = static_cast<double>(bytesRead) / 1e6;
}
BENCHMARK(BM_ReadAndDecodeAllMonths)->Unit(benchmark::kMillisecond);

// What the entries found need at the least: themselves and the text their strings keep on
// the heap, without the room a growing list keeps spare.
double EntryBytes(const TSearchResults& results) {
  constexpr size_t kInPlace = 15;  // longest text a string holds without the heap
  double bytes = static_cast<double>(results.Count()) * sizeof(TkzmEntry);
  for (const TkzmEntry& entry : results.Entries()) {
    for (const std::string* text : {&entry.categoryKey, &entry.itemText, &entry.note, &entry.accountKey}) {
      if (text->capacity() > kInPlace) bytes += static_cast<double>(text->capacity() + 1);
    }
  }
  return bytes;
}

// One search outside the timing, to count what it held at its peak against what it found:
// result_MiB is what the results hold when done, entries_MiB what their entries need at least.
void CountHeap(benchmark::State& state, const TSearchConditions& conditions) {
  g_heapInUse = 0;
  g_heapPeak = 0;
  TSearchResults results;
  g_counting = true;
  SearchAllMonths(CurrentMonthData(), conditions, results);
  g_counting = false;
  const double held = static_cast<double>(g_heapInUse);
  const double peak = static_cast<double>(g_heapPeak);
  state.counters["found"] = results.Count();
  state.counters["result_MiB"] = held / (1024 * 1024);
  state.counters["peak_MiB"] = peak / (1024 * 1024);
  state.counters["peak_per_result"] = peak / held;
  state.counters["entries_MiB"] = EntryBytes(results) / (1024 * 1024);
  state.counters["peak_per_entries"] = peak / EntryBytes(results);
}

void Search(benchmark::State& state, const TSearchConditions& conditions) {
  bench::OpenSamplePassbook();
  for (auto _ : state) {
    TSearchResults results;
    SearchAllMonths(CurrentMonthData(), conditions, results);
    benchmark::DoNotOptimize(results.Count());
  }
  CountHeap(state, conditions);
}

void BM_SearchEverything(benchmark::State& state) { Search(state, {}); }
BENCHMARK(BM_SearchEverything)->Unit(benchmark::kMillisecond);

void BM_SearchOneCategory(benchmark::State& state) {
  TSearchConditions conditions;
  conditions.category = "交際";
  Search(state, conditions);
}
BENCHMARK(BM_SearchOneCategory)->Unit(benchmark::kMillisecond);

}  // namespace
