// Recording the printout of search results in the print preview: all pages at once, for
// 10,000 results (about 180 A4 pages), as pages per second; and opening the preview of
// 93,000 results (a search of everything on the 30-year sample, 1,638 pages) as 印刷 does,
// laying out the pages and recording only the first.
#include "printing/PrintPreviewWindow.h"
#include "ui/analysis/SearchPrintout.h"

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "passbook/Categories.h"

namespace {

using namespace kzm;
using kzm::ui::TFormPrintPreView;

std::vector<TkzmEntry> Results(int count) {
  std::vector<TkzmEntry> results;
  results.reserve(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i) {
    TkzmEntry e;
    e.date = EncodeDate(2000, 1, 1) + i / 10;
    e.sequence = i % 10;
    e.amount = 100 + (i * 37) % 20000;
    e.categoryKey = MakeKey(i % 3 == 0 ? "食費" : "交通", kKindPayment);
    e.accountKey = MakeKey(i % 2 == 0 ? "現金" : "カード", kKindAsset);
    e.itemText = "スーパー" + std::to_string(i % 50);
    e.note = i % 4 == 0 ? "特売" : "";
    results.push_back(e);
  }
  return results;
}

void BM_RecordSearchPrintout(benchmark::State& state) {
  const std::vector<TkzmEntry> results = Results(static_cast<int>(state.range(0)));
  TFormPrintPreView preview;
  preview.Printer().setPageSize(QPageSize(QPageSize::A4));
  preview.SetDrawProc([&results](TFormPrintPreView& p) { DrawSearchPrintout(p, results, "2024/12/01 10:00:00"); });
  int pages = 0;
  for (auto _ : state) {
    preview.Record();
    pages = preview.PageCount();
  }
  state.counters["pages"] = pages;
  state.counters["pages/s"] = benchmark::Counter(pages, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_RecordSearchPrintout)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_OpenPagedPreview(benchmark::State& state) {
  const std::vector<TkzmEntry> results = Results(static_cast<int>(state.range(0)));
  TFormPrintPreView preview;
  preview.Printer().setPageSize(QPageSize(QPageSize::A4));
  preview.SetPagedPrintout(kzm::ui::SearchPrintoutPages(results, "2024/12/01 10:00:00"));
  for (auto _ : state) {
    preview.Record();
    benchmark::DoNotOptimize(preview.Engine().PageCount());
  }
  state.counters["pages"] = preview.PageCount();
}
BENCHMARK(BM_OpenPagedPreview)->Arg(93000)->Unit(benchmark::kMillisecond);

}  // namespace
