#include "views/DailyPage.h"

#include <string>

#include "foundation/Shell.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/CategoryOrder.h"
#include "passbook/DayMemos.h"
#include "passbook/MonthData.h"
#include "settlement/AccountingMonth.h"
#include "settlement/CarryRun.h"

namespace kzm {

void BuildDayCategories(THeadList& list, const THeadList& passbook, TDayNumber day) {
  list.Clear();
  for (int i = 0; i < passbook.Count(); ++i) {
    const int kind = passbook.KindOf(i);
    if (kind == kKindPayment || kind == kKindAsset || kind == kKindReceipt) list.AddKey(passbook.Items(i).key);
  }
  list.SetFirst(day);
  list.SetLast(day);
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(day);
  for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
    for (const std::string* key : {&data.Entry(i).categoryKey, &data.Entry(i).accountKey}) {
      if (!key->empty()) AddKeyAfterKind(list, *key);
    }
  }
}

bool SaveDailyPage(TDayNumber day, const std::vector<TDailyRows>& grids, const std::string& memo,
                   const std::string& keptNote) {
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(day);
  data.DeleteDayEntries();
  for (const TDailyRows& rows : grids) {
    StoreRows(rows, data);
    data.SortEntries();
  }
  data.SelectDay(day);
  AddDayMemo(memo, keptNote);
  return FinishDaySave(day);
}

bool FinishDaySave(TDayNumber day) {
  // The file first: should the summary fail, the entries are on disk all the same.
  bool saved = CurrentMonthData().Save();
  if (!CarryChangedDays({day})) saved = false;
  BroadcastToForms(kNoticeDataChanged, day, 0);
  return saved;
}

}  // namespace kzm
