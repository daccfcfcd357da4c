// Reading a 10,000-row bank statement and checking it against the 30-year sample passbook
// for duplicates, as an import does before it shows its preview; and booking its new rows
// and undoing them again.

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "foundation/Codec.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "statement/ImportHistory.h"
#include "statement/StatementImport.h"
#include "statement/TextRules.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

const std::string kBank = MakeKey("銀行", kKindAsset);
constexpr int kRows = 10000;

// Half the rows are entries the passbook already has on its bank account, spread evenly
// over its thirty years (duplicates to find); each is followed by an invented card payment.
// The sample's bank account holds fewer entries than that, so rows taken from one entry
// repeat and only as many rows as there are entries can be duplicates.
std::string MakeStatement(size_t& bankEntries) {
  TkzmDataUnit& data = CurrentMonthData();
  std::vector<std::string> booked;
  for (TDayNumber day = EncodeDate(1995, 1, 1); day <= EncodeDate(2024, 12, 31); ++day) {
    data.SelectDay(day);
    for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
      const int32_t flow = FlowOf(data.Entry(i), kBank);
      if (flow == 0) continue;
      const std::string amount = std::to_string(flow < 0 ? -flow : flow);
      booked.push_back(FormatDateSlashed(day) + "," + data.Entry(i).itemText + "," +
                       (flow < 0 ? amount + "," : "," + amount) + ",0\r\n");
    }
  }
  bankEntries = booked.size();
  std::string text = "日付,摘要,支払い金額,預かり金額,差引残高\r\n";
  for (int row = 0; row < kRows / 2; ++row) {
    const std::string& line = booked[booked.size() * static_cast<size_t>(row) / (kRows / 2)];
    text += line;
    text += line.substr(0, line.find(',')) + ",ｶｰﾄﾞ ｻﾝﾌﾟﾙ" + std::to_string(row) + ",\"" +
            std::to_string(1000 + row * 7 % 9000) + "\",,0\r\n";
  }
  std::string bytes;
  (void)EncodeCp932(text, bytes);
  return bytes;
}

// The statement, made once for both benchmarks, and how many bank entries it was made from.
struct TSampleStatement {
  size_t bankEntries = 0;
  std::string bytes = MakeStatement(bankEntries);
};

const TSampleStatement& SampleStatement() {
  static const TSampleStatement statement;
  return statement;
}

void BM_ReadAndCheckStatement(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const std::string& bytes = SampleStatement().bytes;
  TTextRules rules;
  rules.Learn("ATM", MakeKey("現金", kKindAsset));
  rules.Learn("給料", MakeKey("給料", kKindReceipt));
  const TImportedIds ids;
  TImportCounts counts;
  for (auto _ : state) {
    TStatement statement;
    std::string error;
    if (!ReadStatementBytes(bytes, BuiltInLayouts(), statement, error)) state.SkipWithError(error.c_str());
    TStatementImport import;
    import.SetStatement(std::move(statement));
    import.Classify(kBank, CurrentProfile().Categories(), rules, ids, CurrentMonthData());
    counts = import.Counts();
  }
  state.counters["rows"] = counts.rows;
  state.counters["duplicates"] = counts.certain + counts.likely;
  state.counters["bankEntries"] = static_cast<double>(SampleStatement().bankEntries);
}
BENCHMARK(BM_ReadAndCheckStatement)->Unit(benchmark::kMillisecond);

void BM_ReadStatementOnly(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const std::string& bytes = SampleStatement().bytes;
  for (auto _ : state) {
    TStatement statement;
    std::string error;
    benchmark::DoNotOptimize(ReadStatementBytes(bytes, BuiltInLayouts(), statement, error));
  }
}
BENCHMARK(BM_ReadStatementOnly)->Unit(benchmark::kMillisecond);

// The statement's new rows (some 5,000 card payments over thirty years) booked, month file by
// month file with the import's record written first and marked complete last, and undone.
// One booking and undoing an iteration, each leaving the passbook as it found it, so that
// --benchmark_repetitions=N gives N measures without running for hours.
void BM_BookAndUndoStatement(benchmark::State& state) {
  bench::OpenSamplePassbook();
  TStatement statement;
  std::string error;
  if (!ReadStatementBytes(SampleStatement().bytes, BuiltInLayouts(), statement, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  TStatementImport import;
  import.SetStatement(std::move(statement));
  TImportedIds ids;
  import.Classify(kBank, CurrentProfile().Categories(), TTextRules(), ids, CurrentMonthData());
  const std::string folder = CurrentProfile().Folder();
  int added = 0;
  for (auto _ : state) {
    const TBookOutcome booked = BookImport(import, CurrentMonthData(), folder, ids);
    const TUndoOutcome undone = UndoLastImport(CurrentMonthData(), folder, ids);
    if (booked.failed || undone.failed || undone.removed != booked.added) {
      state.SkipWithError("booking failed");
      break;
    }
    added = booked.added;
  }
  state.counters["added"] = added;
}
BENCHMARK(BM_BookAndUndoStatement)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
