#include "settlement/CarryRun.h"

#include <exception>
#include <set>
#include <vector>

#include "foundation/Dates.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/CarryJournal.h"
#include "passbook/Categories.h"
#include "passbook/MonthStamps.h"
#include "passbook/SettlementBatch.h"
#include "settlement/AccountingMonth.h"
#include "settlement/SettlementCache.h"

namespace kzm {

TCarryRun::TCarryRun() { SettlementCache().BeginRun(); }

TCarryRun::~TCarryRun() {
  if (m_ended) return;
  if (SettlementCache().EndRun() && CurrentProfile().Writable()) SettlementCache().DropHeld();
}

bool TCarryRun::Finish() {
  if (m_ended) return true;
  m_ended = true;
  if (!SettlementCache().EndRun() || !CurrentProfile().Writable()) return true;
  // Dropped however the writing ends: from then on the disk says what was carried.
  struct TDropHeld {
    ~TDropHeld() { SettlementCache().DropHeld(); }
  } dropHeld;
  std::vector<std::pair<TMonthKey, const THeadList*>> lists;
  const std::string monthly = CurrentProfile().Folder() + "/Monthly/";
  for (const auto& [path, list] : SettlementCache().Held()) {
    int32_t key = 0;
    if (path.compare(0, monthly.size(), monthly) == 0 && TryParseInt(path.substr(monthly.size(), 6), key))
      lists.emplace_back(key, list.get());
  }
  return StoreSettlements(lists);
}

namespace {

// The accounting months that share days with the calendar month key.
void AccountingMonthsOf(TMonthKey key, std::set<TMonthKey>& months) {
  const TMonthKey normal = NormaliseMonthKey(key);
  const TDayNumber first = EncodeDate(KeyYear(normal), KeyMonth(normal), 1);
  const TDayNumber last = EncodeDate(KeyYear(NextMonthKey(normal)), KeyMonth(NextMonthKey(normal)), 1) - 1;
  for (TMonthKey month = MonthOfDay(first); month <= MonthOfDay(last); month = NextMonthKey(month)) months.insert(month);
}

}  // namespace

bool CarryNotedMonths() {
  const std::string folder = CurrentProfile().Folder();
  const std::set<TMonthKey> noted = MonthsToCarry(folder);
  if (noted.empty()) return true;
  std::set<TMonthKey> months;
  for (const TMonthKey key : noted) AccountingMonthsOf(key, months);
  TCarryRun run;
  bool saved = true;
  for (const TMonthKey key : months) {
    THeadList summary;
    if (!BuildMonth(key, summary)) saved = false;
  }
  if (!run.Finish()) saved = false;
  if (saved && CurrentProfile().Writable()) (void)ForgetCarriedMonths(folder, noted);
  return saved;
}

bool CarryChangedDays(const std::set<TDayNumber>& days) {
  // The month files noted their months as they were written; a month changed without its
  // file (kept in memory after a failed write) is noted here, so that it is carried too.
  std::set<TMonthKey> months;
  for (const TDayNumber day : days) {
    const TYmd date = DecodeDate(day);
    months.insert(date.year * 100 + date.month);
  }
  std::string error;
  if (CurrentProfile().Writable()) (void)NoteMonthsToCarry(CurrentProfile().Folder(), months, error);
  return CarryNotedMonths();
}

namespace {

// A writer finishes a stopped batch as it opens; a reader cannot, so it holds the batch's
// files in memory instead of reading the older ones beside them.
void HoldReadyBatch() {
  for (const auto& [key, file] : ReadyBatchFiles()) {
    THeadList list;
    try {
      list.LoadFromFile(file);
    } catch (const std::exception&) {
      continue;  // the disk's file stands; the next writer finishes the batch
    }
    SettlementCache().Hold(SettlementFilePath(key), list);
  }
}

}  // namespace

bool OpenPassbookCarried(const std::string& folder, TPassbookAccess access) {
  if (!CurrentProfile().OpenPassbook(folder, access)) return false;
  // What a reader held stands for files that may have changed since.
  if (!SettlementCache().Holding()) SettlementCache().DropHeld();
  if (access == TPassbookAccess::paWrite) {
    (void)CarryMonthsChangedElsewhere();
  } else {
    HoldReadyBatch();
    (void)CarryNotedMonths();
  }
  return true;
}

bool CarryMonthsChangedElsewhere() {
  const std::string folder = CurrentProfile().Folder();
  if (folder.empty() || !CurrentProfile().Writable()) return false;
  const std::set<TMonthKey> changed = MonthFilesChangedElsewhere(folder);
  std::string error;
  if (!changed.empty() && !NoteMonthsToCarry(folder, changed, error)) WindowSystem().Notify(error);
  const bool carried = CarryNotedMonths();
  if (carried && !changed.empty()) RecordMonthStamps(folder, changed);
  return true;
}

}  // namespace kzm
