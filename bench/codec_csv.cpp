// Reading a month file: decode 1 MB of CP932 text and split every line into its fields.
#include "foundation/Codec.h"
#include "foundation/Csv.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

namespace {

// About 1 MB of month-file lines (eight fields, Japanese names, a memo now and then).
std::string MonthLikeText() {
  const char* const kinds[] = {"支出", "収入", "資産"};
  const char* const items[] = {"食費", "日用品", "交通費", "給料", "通信費", "医療費"};
  const char* const memos[] = {"", "昼食のパン", "\"駅前,スーパー\"", "定期券\\n6か月分", "表計算ソフト"};
  std::string utf8;
  for (int i = 0; utf8.size() < 1'000'000; ++i) {
    utf8 += "202403" + std::to_string(10 + i % 20) + "," + kinds[i % 3] + "," + items[i % 6] + ",資産,現金," +
            std::to_string(100 + i * 37 % 9000) + "," + memos[i % 5] + ",\r\n";
  }
  std::string bytes;
  if (!kzm::EncodeCp932(utf8, bytes)) bytes.clear();
  return bytes;
}

void BM_DecodeAndSplit(benchmark::State& state) {
  const std::string bytes = MonthLikeText();
  std::vector<std::string> fields;
  for (auto _ : state) {
    const std::string text = kzm::DecodeCp932(bytes);
    size_t start = 0;
    size_t count = 0;
    while (start < text.size()) {
      size_t end = text.find("\r\n", start);
      if (end == std::string::npos) end = text.size();
      kzm::CsvSplit(std::string_view(text).substr(start, end - start), fields);
      count += fields.size();
      start = end + 2;
    }
    benchmark::DoNotOptimize(count);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeAndSplit)->Unit(benchmark::kMillisecond);

void BM_DecodeOnly(benchmark::State& state) {
  const std::string bytes = MonthLikeText();
  for (auto _ : state) benchmark::DoNotOptimize(kzm::DecodeCp932(bytes));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_DecodeOnly)->Unit(benchmark::kMillisecond);

void BM_Encode(benchmark::State& state) {
  const std::string text = kzm::DecodeCp932(MonthLikeText());
  std::string out;
  for (auto _ : state) benchmark::DoNotOptimize(kzm::EncodeCp932(text, out));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(out.size()));
}
BENCHMARK(BM_Encode)->Unit(benchmark::kMillisecond);

}  // namespace
