#pragma once

// Moving entries from one category to another over a range of days, month file by month
// file: every entry whose category or account is the old category gets the new one.

#include <functional>
#include <string>
#include <vector>

#include "foundation/Dates.h"

namespace kzm {

class THeadList;
class TkzmDataUnit;

// Category keys before and after, and the days concerned (0 leaves that end open).
struct TReplaceRequest {
  std::string before;
  std::string after;
  TDayNumber first = 0;
  TDayNumber last = 0;
};

struct TReplaceOutcome {
  int changes = 0;        // references changed and written (an entry with both counts twice)
  int monthsChanged = 0;  // month files written with changes
  bool stopped = false;   // the caller asked to stop before every month was done
  bool failed = false;    // a month or the record could not be written: the run stopped there
  std::string failedMonth;  // that month's file
  std::string recordError;  // why the record could not be written: nothing was changed
};

// A name of the replacement's name lists, with the kind of its category.
struct TReplaceName {
  std::string name;
  int kind = 0;
};
// The names offered: every category of the money kinds or the memo, in category order.
[[nodiscard]] std::vector<TReplaceName> ReplaceNames(const THeadList& categories);
// The kinds a replacement chooses from, in the order the kind lists show them: 支出, 収入, 資産.
[[nodiscard]] const std::vector<int>& ReplaceKinds();
// Position of kind in ReplaceKinds, -1 for any other kind (the memo): no selection.
[[nodiscard]] int ReplaceKindPosition(int kind);

// Why a replacement must not run, or empty when it may: the target must be a category of
// categories (entries moved to a key no category has would vanish from every screen and
// total), and must differ from the source.
[[nodiscard]] std::string ReplaceRefusal(const THeadList& categories, const std::string& before,
                                         const std::string& after);

// Replaces over every month file of data's folder, oldest month first, so that a run stopped
// part way has replaced every month up to one and none after it.
// The run is recorded in the passbook folder (the Daily folder's parent) before the first
// month changes (see ReplacePending.h); the record goes when the run ends, and stays when a
// month could not be written, so that the run can be finished later. Each changed month is
// written to its file before the next one is read. A month that cannot be written keeps its
// file as it was, its changes are dropped, and the run stops there. After each month
// keepGoing (when given) is asked whether to carry on. data must hold no unsaved changes when
// the run starts, so that only the run's own changes are written.
TReplaceOutcome ReplaceAllMonths(TkzmDataUnit& data, const TReplaceRequest& request,
                                 const std::function<bool()>& keepGoing = {});

// The message after a run: "N件を変換しました", and when a month could not be written, how
// many months had already been changed.
[[nodiscard]] std::string ReplaceReport(const TReplaceOutcome& outcome);

}  // namespace kzm
