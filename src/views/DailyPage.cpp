#include "views/DailyPage.h"

#include <algorithm>
#include <string>

#include "foundation/Shell.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/CategoryOrder.h"
#include "passbook/DayMemos.h"
#include "passbook/MonthData.h"
#include "passbook/MonthStamps.h"
#include "passbook/Profile.h"
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
  // The sync engine may have brought the month from another PC since it was read: the other
  // days are taken as the file holds them now, so that saving this day loses none of theirs.
  const std::string passbook = CurrentProfile().Folder();
  if (!data.Modified() && !passbook.empty() && MonthFileChangedElsewhere(passbook, data.Year() * 100 + data.Month())) {
    data.DiscardMonthChanges();
    data.SelectDay(day);
  }
  data.DeleteDayEntries();
  for (const TDailyRows& rows : grids) {
    StoreRows(rows, data);
    data.SortEntries();
  }
  data.SelectDay(day);
  AddDayMemo(memo, keptNote);
  return FinishDaySave(day);
}

namespace {

bool SameEntry(const TkzmEntry& a, const TkzmEntry& b) {
  return a.date == b.date && a.amount == b.amount && a.categoryKey == b.categoryKey && a.itemText == b.itemText &&
         a.note == b.note && a.accountKey == b.accountKey && a.extraFields == b.extraFields;
}

}  // namespace

std::vector<TkzmEntry> DayEntriesOf(TDayNumber day) {
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(day);
  std::vector<TkzmEntry> entries;
  for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) entries.push_back(data.Entry(i));
  return entries;
}

bool SameDayEntries(const std::vector<TkzmEntry>& a, const std::vector<TkzmEntry>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameEntry);
}

std::vector<TkzmEntry> EntriesAddedTo(const std::vector<TkzmEntry>& base, const std::vector<TkzmEntry>& theirs) {
  std::vector<bool> matched(base.size(), false);
  std::vector<TkzmEntry> added;
  for (const TkzmEntry& entry : theirs) {
    size_t i = 0;
    while (i < base.size() && (matched[i] || !SameEntry(base[i], entry))) ++i;
    if (i < base.size()) {
      matched[i] = true;
    } else {
      added.push_back(entry);
    }
  }
  return added;
}

bool AddToDay(TDayNumber day, const std::vector<TkzmEntry>& entries) {
  if (entries.empty()) return true;
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(day);
  for (const TkzmEntry& entry : entries) {
    data.AddEntry(entry.categoryKey, entry.accountKey, entry.note, entry.itemText, entry.amount);
  }
  data.SortEntries();
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
