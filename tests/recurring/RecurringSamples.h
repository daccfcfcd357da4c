#pragma once

// Templates of an ordinary household, for the recurring tests.

#include "recurring/RecurringTemplate.h"

namespace kzm::test {

inline TRecurringTemplate Rent() {
  TRecurringTemplate t;
  t.kind = TRecurringKind::rkPayment;
  t.category = "住居･光熱";
  t.account = "銀行";
  t.item = "家賃";
  t.amount = 80000;
  t.schedule.repeat = TRepeat::rpMonthly;
  t.schedule.day = 27;
  t.schedule.first = EncodeDate(2027, 1, 1);
  t.schedule.shift = TBusinessShift::bsBefore;
  return t;
}

inline TRecurringTemplate Salary() {
  TRecurringTemplate t;
  t.kind = TRecurringKind::rkReceipt;
  t.category = "給与";
  t.account = "銀行";
  t.item = "給与";
  t.note = "A社, \"本給\"";
  t.amount = 250000;
  t.schedule.day = 25;
  t.schedule.first = EncodeDate(2027, 1, 1);
  t.schedule.shift = TBusinessShift::bsBefore;
  return t;
}

inline TRecurringTemplate Electricity() {
  TRecurringTemplate t;
  t.kind = TRecurringKind::rkPayment;
  t.category = "住居･光熱";
  t.account = "銀行";
  t.item = "電気代";
  t.amount = 7000;
  t.estimate = true;
  t.schedule.day = 10;
  t.schedule.first = EncodeDate(2027, 1, 1);
  t.schedule.shift = TBusinessShift::bsAfter;
  return t;
}

}  // namespace kzm::test
