// Writes that reach into the past of the 30-year sample passbook: one statement row dated 25
// years back (its month and every later month's balances), and 50 recurring entries entered
// over ten years. Each reports the disk syncs it asked for (syncs), the number that matters
// on a busy disk.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "calendar/BusinessDays.h"
#include "foundation/Codec.h"
#include "foundation/DiskWrites.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "recurring/RecurringEntering.h"
#include "statement/ImportHistory.h"
#include "statement/StatementImport.h"
#include "statement/TextRules.h"

#include "common/SamplePassbook.h"

namespace {

using namespace kzm;

const std::string kBank = MakeKey("銀行", kKindAsset);

TStatementImport OneRowStatement() {
  std::string bytes;
  (void)EncodeCp932("日付,摘要,支払い金額,預かり金額,差引残高\r\n2000/03/15,忘れていた振込,4321,,0\r\n", bytes);
  TStatement statement;
  std::string error;
  (void)ReadStatementBytes(bytes, BuiltInLayouts(), statement, error);
  TStatementImport import;
  import.SetStatement(std::move(statement));
  const TImportedIds none;
  import.Classify(kBank, CurrentProfile().Categories(), TTextRules(), none, CurrentMonthData());
  return import;
}

void BM_OneRowTwentyFiveYearsBack(benchmark::State& state) {
  bench::OpenSamplePassbook();
  const TStatementImport import = OneRowStatement();
  const std::string folder = CurrentProfile().Folder();
  int64_t syncs = 0;
  for (auto _ : state) {
    TImportedIds ids;
    const int64_t before = DiskWrites().Syncs();
    const TBookOutcome booked = BookImport(import, CurrentMonthData(), folder, ids);
    syncs = DiskWrites().Syncs() - before;
    state.PauseTiming();
    const TUndoOutcome undone = UndoLastImport(CurrentMonthData(), folder, ids);
    if (booked.failed || booked.added != 1 || undone.failed) state.SkipWithError("booking failed");
    state.ResumeTiming();
  }
  state.counters["syncs"] = static_cast<double>(syncs);
}
BENCHMARK(BM_OneRowTwentyFiveYearsBack)->Unit(benchmark::kMillisecond);

// 30 monthly templates, 10 weekly, 5 yearly and 5 every 14 days, all begun ten years before the
// sample's last day and entered in one go, on a fresh copy of the passbook each time.
void AddTemplates(TRecurringStore& store) {
  for (int i = 0; i < 50; ++i) {
    TRecurringTemplate t;
    t.category = "食費";
    t.account = "銀行";
    t.item = "定期" + std::to_string(i);
    t.amount = 1000 + i;
    t.schedule.first = EncodeDate(2015, 1, 1);
    t.schedule.repeat = i < 30 ? TRepeat::rpMonthly : i < 40 ? TRepeat::rpWeekly : i < 45 ? TRepeat::rpYearly : TRepeat::rpDays;
    t.schedule.day = i < 30 ? i + 1 : i < 40 ? i % 7 + 1 : (i - 39) * 100 + 15;
    t.schedule.interval = i < 45 ? 1 : 14;
    store.Add(t);
  }
}

void BM_RecurringFiftyTemplatesTenYears(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path copy = fs::path(bench::SamplePassbook()).parent_path() / "繰り返しの試し";
  int64_t syncs = 0;
  size_t entered = 0;
  for (auto _ : state) {
    state.PauseTiming();
    fs::remove_all(copy);
    fs::copy(bench::SamplePassbook(), copy, fs::copy_options::recursive);
    CurrentProfile().OpenPassbook(copy.string());
    TRecurringStore store;
    std::string error;
    (void)OpenRecurring(copy.string(), store, CurrentMonthData(), error);
    AddTemplates(store);
    std::vector<TOccurrenceChoice> choices;
    for (const TDueOccurrence& d : DueOccurrences(store, EncodeDate(2024, 12, 31), ProgramBusinessDays()))
      choices.push_back({d, TChoice::cEnter, d.source.amount});
    const int64_t before = DiskWrites().Syncs();
    state.ResumeTiming();
    const TEnterOutcome outcome = EnterOccurrences(store, choices, CurrentMonthData());
    state.PauseTiming();
    syncs = DiskWrites().Syncs() - before;
    entered = static_cast<size_t>(outcome.entered);
    if (outcome.failed) state.SkipWithError("entering failed");
    state.ResumeTiming();
  }
  state.counters["syncs"] = static_cast<double>(syncs);
  state.counters["entered"] = static_cast<double>(entered);
}
BENCHMARK(BM_RecurringFiftyTemplatesTenYears)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
