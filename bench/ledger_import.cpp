// Moving in: reading a 10,000-row household-ledger export and checking it against the
// 30-year sample passbook for rows it already holds, as the move-in window does before it
// shows its preview.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "foundation/Codec.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "statement/DuplicateCheck.h"
#include "statement/ImportHistory.h"
#include "statement/LedgerImport.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

const std::string kBank = MakeKey("銀行", kKindAsset);
constexpr int kRows = 10000;

// Half the rows are payments and receipts the passbook already has on its bank account,
// spread evenly over its thirty years; each is followed by an invented payment from a purse.
std::string MakeExport() {
  TkzmDataUnit& data = CurrentMonthData();
  std::vector<std::string> booked;
  for (TDayNumber day = EncodeDate(1995, 1, 1); day <= EncodeDate(2024, 12, 31); ++day) {
    data.SelectDay(day);
    for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
      const TkzmEntry& entry = data.Entry(i);
      const int kind = KeyKind(entry.categoryKey);
      if (entry.accountKey != kBank || (kind != kKindPayment && kind != kKindReceipt)) continue;
      const std::string amount = (kind == kKindPayment ? "-" : "") + std::to_string(entry.amount);
      booked.push_back("1," + FormatDateSlashed(day) + "," + entry.itemText + "," + amount + ",銀行," +
                       KeyName(entry.categoryKey) + ",,,0,\r\n");
    }
  }
  std::string text = "計算対象,日付,内容,金額（円）,保有金融機関,大項目,中項目,メモ,振替,ID\r\n";
  for (int row = 0; row < kRows / 2; ++row) {
    const std::string& line = booked[booked.size() * static_cast<size_t>(row) / (kRows / 2)];
    text += line;
    const std::string date = line.substr(2, line.find(',', 2) - 2);
    text += "1," + date + ",サンプル商店" + std::to_string(row) + ",-" + std::to_string(100 + row * 7 % 900) +
            ",財布,食費,食料品,,0,x" + std::to_string(row) + "\r\n";
  }
  std::string bytes;
  (void)EncodeCp932(text, bytes);
  return bytes;
}

const std::string& SampleExport() {
  static const std::string bytes = MakeExport();
  return bytes;
}

void BM_ReadAndCheckLedgerExport(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const std::string& bytes = SampleExport();
  const TImportedIds ids;
  TLedgerCounts counts;
  for (auto _ : state) {
    TLedgerExport ledger;
    std::string error;
    if (!ReadLedgerExport(bytes, ledger, error)) state.SkipWithError(error.c_str());
    TLedgerImport import;
    import.SetExport(std::move(ledger));
    import.Classify(ids, CurrentMonthData());
    counts = import.Counts();
  }
  state.counters["rows"] = counts.rows;
  state.counters["already"] = counts.already;
}
BENCHMARK(BM_ReadAndCheckLedgerExport)->Unit(benchmark::kMillisecond);

void BM_ReadLedgerExportOnly(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const std::string& bytes = SampleExport();
  for (auto _ : state) {
    TLedgerExport ledger;
    std::string error;
    benchmark::DoNotOptimize(ReadLedgerExport(bytes, ledger, error));
  }
}
BENCHMARK(BM_ReadLedgerExportOnly)->Unit(benchmark::kMillisecond);

}  // namespace
