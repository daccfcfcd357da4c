#pragma once

// An entry that comes again and again (rent, pay day, a subscription), and when it comes.
//
// A template describes the entry it makes and its schedule. Each time the schedule comes
// round is an occurrence: its scheduled date comes from the schedule alone, its date is the
// scheduled date moved onto a business day when the template asks for that. An occurrence
// is known by its template's id and its scheduled date, so a date moved into the month
// before is still the one occurrence of the month it was scheduled in.

#include <cstdint>
#include <string>
#include <vector>

#include "calendar/BusinessDays.h"
#include "foundation/Dates.h"

namespace kzm {

class THeadList;

enum class TRecurringKind : uint8_t {
  rkPayment,  // 支出: category is a payment category, account the asset paid from
  rkReceipt,  // 収入: category is a receipt category, account the asset paid into
  rkMove,     // 資産の移動: account is the asset moved from, category the asset moved into
};

enum class TRepeat : uint8_t {
  rpMonthly,  // every interval months on day (1–31, or kMonthEnd)
  rpWeekly,   // every interval weeks on weekday day (1 Monday … 7 Sunday)
  rpYearly,   // every interval years on month and day, day = month * 100 + day (229 is 2/28 in other years)
  rpDays,     // every interval days from the first date
};

// The day of a monthly schedule that means the last day of each month (月末).
inline constexpr int kMonthEnd = 0;

struct TSchedule {
  TRepeat repeat = TRepeat::rpMonthly;
  int interval = 1;  // 1 to kMaxInterval
  // Monthly: 1–31 or kMonthEnd, a day the month lacks being its last day. Weekly: 1–7.
  // Yearly: MMDD. Every N days: unused.
  int day = 1;
  TDayNumber first = 0;  // no occurrence is scheduled before it
  TDayNumber until = 0;  // the last date an occurrence may be scheduled on; 0: no end
  int count = 0;         // how many occurrences there are at most; 0: no limit
  TBusinessShift shift = TBusinessShift::bsAsIs;
  friend bool operator==(const TSchedule&, const TSchedule&) = default;
};

inline constexpr int kMaxInterval = 999;

struct TRecurringTemplate {
  int id = 0;  // given by the store; never used again for another template
  TRecurringKind kind = TRecurringKind::rkPayment;
  std::string category;  // display name (see TRecurringKind)
  std::string account;   // display name of an asset
  std::string item;
  std::string note;
  int32_t amount = 0;
  bool estimate = false;  // the amount is a guess: the person confirms the real one when entering
  TSchedule schedule;
  // Occurrences scheduled on or before this day are never due. The store sets it when the
  // template is changed, so that a new schedule does not bring back occurrences that the old
  // one had already dealt with. 0: none.
  TDayNumber handledThrough = 0;
  friend bool operator==(const TRecurringTemplate&, const TRecurringTemplate&) = default;
};

// The category keys of the entries a template makes (see TkzmEntry).
[[nodiscard]] std::string EntryCategoryKey(const TRecurringTemplate& t);
[[nodiscard]] std::string EntryAccountKey(const TRecurringTemplate& t);

// "支出", "収入", "資産の移動"; KindOfName gives false for any other text.
[[nodiscard]] const char* RecurringKindName(TRecurringKind kind);
[[nodiscard]] bool RecurringKindOfName(std::string_view name, TRecurringKind& kind);

// What is wrong with a template for this passbook, in a sentence for the person; empty when
// nothing is: an unknown or deleted category or account, a schedule out of range, a text the
// passbook's files cannot hold.
[[nodiscard]] std::string TemplateProblem(const TRecurringTemplate& t, const THeadList& categories);
// Only the schedule's part of TemplateProblem.
[[nodiscard]] std::string ScheduleProblem(const TSchedule& schedule);
// The schedule in words: "毎月27日 (前の営業日)", "2週ごと 月曜日", "毎年 3月15日" ...
[[nodiscard]] std::string ScheduleText(const TSchedule& schedule);

}  // namespace kzm
