// Booking an import into the month files, and undoing the last one.

#include <algorithm>
#include <set>
#include <span>

#include "foundation/Shell.h"
#include "foundation/WindowSystem.h"
#include "passbook/AccountingMonth.h"
#include "passbook/Categories.h"
#include "passbook/CategoryOrder.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "statement/ImportHistory.h"
#include "statement/StatementImport.h"

namespace kzm {

namespace {

int MonthNumber(TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  return ymd.year * 12 + ymd.month;
}

// Where the run of entries of the month of entries[start] ends; the entries come in date order.
size_t MonthRunEnd(const std::vector<TImportedEntry>& entries, size_t start) {
  const int month = MonthNumber(entries[start].entry.date);
  size_t end = start;
  while (end < entries.size() && MonthNumber(entries[end].entry.date) == month) ++end;
  return end;
}

// Categories the new entries use that the passbook lacks join it, so that they show in every
// list and can be replaced later.
bool AddMissingCategories(const std::vector<TImportedEntry>& entries, std::string& error) {
  THeadList& categories = CurrentProfile().Categories();
  std::vector<std::string> added;
  for (const TImportedEntry& imported : entries) {
    for (const std::string* key : {&imported.entry.categoryKey, &imported.entry.accountKey}) {
      if (categories.IndexOfKey(*key) >= 0) continue;
      AddKeyAfterKind(categories, *key);
      added.push_back(*key);
    }
  }
  if (added.empty() || CurrentProfile().Save()) return true;
  // The list goes back to what is on disk, so that no later save trips over the same names.
  for (const std::string& key : added) {
    const int index = categories.IndexOfKey(key);
    if (index >= 0) categories.Delete(index);
  }
  error = "通帳の項目を保存できなかったため、取り込みませんでした。";
  return false;
}

// The settlements of the accounting months holding days, rebuilt so balances follow.
bool Resummarise(const std::set<TDayNumber>& days) {
  std::set<TMonthKey> months;
  for (const TDayNumber day : days) months.insert(MonthOfDay(day));
  bool saved = true;
  for (const TMonthKey key : months) {
    THeadList summary;
    if (!BuildMonth(key, summary)) saved = false;
  }
  BroadcastToForms(kNoticeDataChanged, 0, 0);
  return saved;
}

// Adds the entries of one calendar month and writes it; false (month as it was) on failure.
bool BookMonth(TkzmDataUnit& data, std::span<const TImportedEntry> entries, std::string& failedFile) {
  for (const TImportedEntry& imported : entries) {
    const TkzmEntry& entry = imported.entry;
    data.SelectDay(entry.date);
    data.AddEntry(entry.categoryKey, entry.accountKey, entry.note, entry.itemText, entry.amount);
  }
  if (data.Save()) return true;
  const TYmd ymd = DecodeDate(entries.front().entry.date);
  failedFile = data.MonthFilePath(ymd.year, ymd.month);
  data.DiscardMonthChanges();
  return false;
}

std::vector<TImportedEntry> EntriesToBook(const TStatementImport& import) {
  std::vector<TImportedEntry> entries;
  for (int i = 0; i < import.Count(); ++i) {
    const TImportRow& row = import.Row(i);
    if (row.ticked && row.row.Readable()) entries.push_back({EntryForRow(row, import.AccountKey()), row.row.sourceId});
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TImportedEntry& a, const TImportedEntry& b) { return a.entry.date < b.entry.date; });
  return entries;
}

bool SameEntry(const TkzmEntry& a, const TkzmEntry& b) {
  return a.date == b.date && a.amount == b.amount && a.categoryKey == b.categoryKey &&
         a.accountKey == b.accountKey && a.itemText == b.itemText && a.note == b.note;
}

// Removes the entry of its day that is still as recorded, the last such first (an import
// appends to its day). False when none is.
bool RemoveRecorded(TkzmDataUnit& data, const TkzmEntry& recorded) {
  data.SelectDay(recorded.date);
  for (int i = data.LastIndex(); i >= data.FirstIndex(); --i) {
    if (!SameEntry(data.Entry(i), recorded)) continue;
    data.DeleteEntry(i);
    return true;
  }
  return false;
}

}  // namespace

TBookOutcome BookImport(const TStatementImport& import, TkzmDataUnit& data, const std::string& passbookFolder,
                        TImportedIds& ids) {
  TBookOutcome outcome;
  const std::vector<TImportedEntry> entries = EntriesToBook(import);
  if (entries.empty()) {
    outcome.message = "取り込む行がありません。";
    return outcome;
  }
  const std::string& account = import.AccountKey();
  if (KeyKind(account) != kKindAsset || CurrentProfile().Categories().IndexOfKey(account) < 0) {
    outcome.failed = true;
    outcome.message = "取り込み先の口座「" + KeyName(account) + "」が通帳の資産の項目にありません。";
    return outcome;
  }
  if (!data.Save() || !AddMissingCategories(entries, outcome.message)) {
    outcome.failed = true;
    if (outcome.message.empty()) outcome.message = "開いている月のデータを保存できないため、取り込みませんでした。";
    return outcome;
  }
  std::vector<TImportedEntry> booked;
  std::set<TDayNumber> days;
  std::string failedFile;
  for (size_t start = 0; start < entries.size();) {
    const size_t end = MonthRunEnd(entries, start);
    const std::span<const TImportedEntry> month(entries.data() + start, end - start);
    if (!BookMonth(data, month, failedFile)) {
      outcome.failed = true;
      break;
    }
    for (const TImportedEntry& imported : month) {
      booked.push_back(imported);
      days.insert(imported.entry.date);
      ids.Add(import.AccountKey(), imported.sourceId);
    }
    start = end;
  }
  outcome.added = static_cast<int>(booked.size());
  std::string recordError;
  const bool recorded = booked.empty() || (WriteLastImport(passbookFolder, booked, recordError) &&
                                           ids.Save(passbookFolder, recordError));
  if (!days.empty() && !Resummarise(days)) outcome.failed = true;
  outcome.message = std::to_string(outcome.added) + "件を取り込みました。";
  if (!failedFile.empty()) {
    outcome.message += "\n" + failedFile + " を保存できなかったため、そこで取り込みを中止しました。この月には何も追加していません。";
  }
  if (!recorded) outcome.message += "\n取り込みの記録を保存できなかったため、元に戻すことはできません。\n" + recordError;
  return outcome;
}

TUndoOutcome UndoLastImport(TkzmDataUnit& data, const std::string& passbookFolder, TImportedIds& ids) {
  TUndoOutcome outcome;
  std::vector<TImportedEntry> entries;
  if (!ReadLastImport(passbookFolder, entries, outcome.message)) {
    outcome.failed = true;
    return outcome;
  }
  if (entries.empty()) {
    outcome.nothing = true;
    outcome.message = "元に戻せる取り込みはありません。";
    return outcome;
  }
  if (!data.Save()) {
    outcome.failed = true;
    outcome.message = "開いている月のデータを保存できないため、元に戻しませんでした。";
    return outcome;
  }
  std::set<TDayNumber> days;
  size_t start = 0;
  while (start < entries.size()) {
    const size_t end = MonthRunEnd(entries, start);
    std::vector<size_t> removed;
    for (size_t i = start; i < end; ++i) {
      if (RemoveRecorded(data, entries[i].entry)) removed.push_back(i);
    }
    if (!removed.empty() && !data.Save()) {
      data.DiscardMonthChanges();
      outcome.failed = true;
      break;
    }
    outcome.removed += static_cast<int>(removed.size());
    outcome.notRemoved += static_cast<int>(end - start - removed.size());
    for (const size_t i : removed) {
      days.insert(entries[i].entry.date);
      // The record does not say which side was the statement's account; the other side is an
      // asset only for a move, and no id was imported for it.
      ids.Remove(entries[i].entry.accountKey, entries[i].sourceId);
      ids.Remove(entries[i].entry.categoryKey, entries[i].sourceId);
    }
    start = end;
  }
  // What was not reached stays recorded, so that undo can be tried again.
  const std::vector<TImportedEntry> left(entries.begin() + static_cast<std::ptrdiff_t>(start), entries.end());
  std::string error;
  if (!WriteLastImport(passbookFolder, left, error) || !ids.Save(passbookFolder, error)) {
    outcome.failed = true;
    outcome.message = error + "\n";
  }
  if (!days.empty() && !Resummarise(days)) outcome.failed = true;
  outcome.message += std::to_string(outcome.removed) + "件の取り込みを取り消しました。";
  if (outcome.notRemoved > 0) {
    outcome.message += "\n取り込み後に変更または削除された" + std::to_string(outcome.notRemoved) + "件は取り消していません。";
  }
  if (!left.empty()) outcome.message += "\n保存できない月があったため、残りの" + std::to_string(left.size()) + "件は取り消していません。";
  return outcome;
}

}  // namespace kzm
