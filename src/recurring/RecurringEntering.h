#pragma once

// Which occurrences of a passbook's templates wait to be entered, and entering them into the
// month files so that each is entered exactly once, even when the program is stopped halfway.
//
// Entering first records what it is about to add (RecurringPending.pc-<id>.csv, this PC's
// own, see PcOwnPath; written atomically, with how many equal entries each day held before),
// then writes the months, then records the occurrences as entered in the store and removes
// the record. When a stop left the record behind, ResumeEntering looks at the days again:
// an occurrence whose entry is there is recorded as entered, one whose entry is not stays due.
// So an occurrence is either entered and recorded or neither.
//
// Pending file: CP932 lines ended by CR LF, CSV fields: template id, scheduled date, date
// (yyyymmdd), amount, category kind (the kind's name as the category file writes it),
// category, account (an asset), item, note, and how many entries equal to it the day held
// before.

#include <functional>
#include <string>
#include <vector>

#include "passbook/MonthEntry.h"
#include "recurring/RecurringSchedule.h"
#include "recurring/RecurringStore.h"
#include "views/MonthTable.h"

namespace kzm {

class THeadList;
class TkzmDataUnit;

inline constexpr const char* kRecurringPendingFileName = "RecurringPending.csv";

// An occurrence with the template it comes from.
struct TDueOccurrence {
  TOccurrence occurrence;
  TRecurringTemplate source;
};

// The occurrences not yet entered nor skipped whose date is on or before until, by date (then
// template order). Occurrences scheduled on or before a template's handledThrough are left out.
[[nodiscard]] std::vector<TDueOccurrence> DueOccurrences(const TRecurringStore& store, TDayNumber until,
                                                         TBusinessDays& businessDays);
// The same occurrences handed to visit one by one, in the same order, a few years of days at
// a time: a far until (a daily template to 9999) never holds millions of them at once.
void ForEachDueOccurrence(const TRecurringStore& store, TDayNumber until, TBusinessDays& businessDays,
                          const std::function<void(const TDueOccurrence&)>& visit);
// The occurrences not yet entered nor skipped dated from first to last, by date, for showing
// what is still to come in a period.
[[nodiscard]] std::vector<TDueOccurrence> OpenOccurrences(const TRecurringStore& store, TDayNumber first,
                                                          TDayNumber last, TBusinessDays& businessDays);
// What the open occurrences dated first..last will add to payment and receipt categories,
// for the monthly view to show faintly (moves change balances only, and are left out).
[[nodiscard]] std::vector<TComingAmount> ComingAmounts(const TRecurringStore& store, TDayNumber first,
                                                       TDayNumber last, TBusinessDays& businessDays);
// The date of the template's first occurrence not yet entered nor skipped, dated on or after
// from; 0 when none is left. With from before the schedule's first date it is the oldest one
// still open, overdue or not.
[[nodiscard]] TDayNumber NextOpenDate(const TRecurringStore& store, const TRecurringTemplate& t, TDayNumber from,
                                      TBusinessDays& businessDays);

enum class TChoice : uint8_t { cEnter, cSkip, cLater };

// What the person decided about one due occurrence.
struct TOccurrenceChoice {
  TDueOccurrence due;
  TChoice choice = TChoice::cEnter;
  int32_t amount = 0;  // the amount to enter (the template's, or the confirmed real one)
};

// The points of EnterOccurrences at which a test may stop the process.
enum class TEnterStep : uint8_t { esRecorded, esMonthsWritten };

struct TEnterOutcome {
  int entered = 0;
  int skipped = 0;
  int refused = 0;      // not entered: the template's category or account is gone from the passbook
  bool failed = false;  // a month or the record could not be written
  bool carryFailed = false;  // all written, but the later months' balances wait for the next open
  std::string message;  // for the person
};

// Enters the occurrences chosen cEnter into the month data and records them, and records the
// ones chosen cSkip; cLater ones stay due. An occurrence whose category or account the
// passbook no longer has is not entered, and the message names it. The store must have been
// loaded from the passbook folder and data must be the passbook's month data (saved first).
// Afterwards the accounting months concerned are summarised again. step, when given, is told
// each point reached (for tests that stop there).
TEnterOutcome EnterOccurrences(TRecurringStore& store, const std::vector<TOccurrenceChoice>& choices,
                               TkzmDataUnit& data, const std::function<void(TEnterStep)>& step = {});

// Loads the store of the passbook folder and finishes a stopped entering. False, with the
// reason in message, when either fails: nothing must then be entered.
bool OpenRecurring(const std::string& passbookFolder, TRecurringStore& store, TkzmDataUnit& data,
                   std::string& message);

// A monthly template that would make entry again on its day of the month, from its date on:
// the editor's proposal for "repeat this entry". The kind follows the entry's category (an
// asset category makes a move); a memo or total gives a payment template with no category.
[[nodiscard]] TRecurringTemplate TemplateFromEntry(const TkzmEntry& entry);

// The entry an occurrence makes, with amount.
[[nodiscard]] TkzmEntry EntryOfOccurrence(const TDueOccurrence& due, int32_t amount);

}  // namespace kzm
