// Loading and saving a month file, and totalling a year of entries.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthFile.h"

namespace {

using namespace kzm;

class TBenchFolder {
 public:
  TBenchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kzm-bench-XXXXXX").string();
    m_path = ::mkdtemp(pattern.data());
  }
  ~TBenchFolder() { std::filesystem::remove_all(m_path); }
  const std::string& Path() const { return m_path; }

 private:
  std::string m_path;
};

// Fills a month with entries spread over its days, like a busy real passbook.
void FillMonth(const std::string& folder, int year, int month, int entries) {
  TkzmDataUnit data;
  data.SetFolder(folder);
  const int32_t first = EncodeDate(year, month, 1);
  const int days = DaysInMonth(year, month);
  const char* names[] = {"食費", "交通", "住居･光熱", "娯楽", "雑費"};
  for (int i = 0; i < entries; ++i) {
    data.SelectDay(first + i % days);
    data.AddEntry(MakeKey(names[i % 5], 1), MakeKey(i % 3 ? "現金" : "カード", 2), "備考",
                  "スーパーで買い物, 野菜と肉 " + std::to_string(i), 100 + i * 7);
  }
  (void)data.Save();
}

void BM_LoadMonth3000(benchmark::State& state) {
  TBenchFolder folder;
  FillMonth(folder.Path(), 2024, 3, 3000);
  for (auto _ : state) {
    TkzmDataUnit data;
    data.SetFolder(folder.Path());
    data.SelectDay(EncodeDate(2024, 3, 1));
    benchmark::DoNotOptimize(data.Count());
  }
}
BENCHMARK(BM_LoadMonth3000)->Unit(benchmark::kMillisecond);

void BM_SaveMonth3000(benchmark::State& state) {
  TBenchFolder folder;
  FillMonth(folder.Path(), 2024, 3, 3000);
  TkzmDataUnit data;
  data.SetFolder(folder.Path());
  data.SelectDay(EncodeDate(2024, 3, 1));
  for (auto _ : state) {
    data.SetModified();
    benchmark::DoNotOptimize(data.Save());
  }
}
BENCHMARK(BM_SaveMonth3000)->Unit(benchmark::kMillisecond);

// The save without the disk: the lines and their CP932 bytes. The rest of a save is the atomic
// write (a temporary file, fsync, rename), which depends on the disk.
void BM_FormatMonth3000(benchmark::State& state) {
  TBenchFolder folder;
  FillMonth(folder.Path(), 2024, 3, 3000);
  const int32_t first = EncodeDate(2024, 3, 1);
  std::vector<TkzmEntry> read;
  std::vector<TKeptLine> kept;
  (void)ReadMonthFile(folder.Path() + "/202403.kzm", first, first + 30, read, kept);
  std::vector<std::unique_ptr<TkzmEntry>> entries;
  for (TkzmEntry& entry : read) entries.push_back(std::make_unique<TkzmEntry>(std::move(entry)));
  for (auto _ : state) {
    std::string bytes;
    benchmark::DoNotOptimize(FormatMonthBytes(entries, kept, bytes));
  }
}
BENCHMARK(BM_FormatMonth3000)->Unit(benchmark::kMillisecond);

void BM_SumRangeYear300(benchmark::State& state) {
  TBenchFolder folder;
  for (int month = 1; month <= 12; ++month) FillMonth(folder.Path(), 2024, month, 300);
  TkzmDataUnit data;
  data.SetFolder(folder.Path());
  for (auto _ : state) {
    THeadList list;
    benchmark::DoNotOptimize(data.SumRange(list, EncodeDate(2024, 1, 1), EncodeDate(2024, 12, 31)));
  }
}
BENCHMARK(BM_SumRangeYear300)->Unit(benchmark::kMillisecond);

}  // namespace
