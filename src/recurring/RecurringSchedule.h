#pragma once

// The occurrences of a template's schedule.

#include <vector>

#include "calendar/BusinessDays.h"
#include "recurring/RecurringTemplate.h"

namespace kzm {

struct TOccurrence {
  int templateId = 0;
  TDayNumber scheduled = 0;  // from the schedule alone; names the occurrence
  TDayNumber date = 0;       // where it is entered: scheduled, moved onto a business day by the shift
  friend bool operator==(const TOccurrence&, const TOccurrence&) = default;
};

// The occurrences of t whose date (after the shift) lies in from..to, in date order, within the
// schedule's first date, end date and count.
[[nodiscard]] std::vector<TOccurrence> OccurrencesBetween(const TRecurringTemplate& t, TDayNumber from, TDayNumber to,
                                                          TBusinessDays& businessDays);
// The first count occurrences of t dated on or after from.
[[nodiscard]] std::vector<TOccurrence> NextOccurrences(const TRecurringTemplate& t, TDayNumber from, int count,
                                                       TBusinessDays& businessDays);

}  // namespace kzm
