// Booking an import into the month files, and undoing the last one.

#include <algorithm>
#include <functional>
#include <set>
#include <span>

#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/CategoryOrder.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"
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
  return entries;
}

bool SameEntry(const TkzmEntry& a, const TkzmEntry& b) {
  return a.date == b.date && a.amount == b.amount && a.categoryKey == b.categoryKey &&
         a.accountKey == b.accountKey && a.itemText == b.itemText && a.note == b.note;
}

// Notes for each entry how many like it its day holds before it is added: those in the month
// files and the import's own earlier ones. Undo goes by this, so that it never takes away an
// entry the import did not add, even when the import stopped before reaching its month.
void CountAlike(TkzmDataUnit& data, std::vector<TImportedEntry>& entries) {
  for (size_t i = 0; i < entries.size(); ++i) {
    const TkzmEntry& entry = entries[i].entry;
    data.SelectDay(entry.date);
    int alike = 0;
    for (int k = data.FirstIndex(); k <= data.LastIndex(); ++k) alike += SameEntry(data.Entry(k), entry) ? 1 : 0;
    for (size_t j = i; j-- > 0 && entries[j].entry.date == entry.date;) {
      alike += SameEntry(entries[j].entry, entry) ? 1 : 0;
    }
    entries[i].alikeBefore = alike;
  }
}

// Removes the entry of its day that is still as recorded, the last such first (an import
// appends to its day), while the day holds more such entries than before the import. False
// when it holds no more.
bool RemoveRecorded(TkzmDataUnit& data, const TImportedEntry& recorded) {
  data.SelectDay(recorded.entry.date);
  int alike = 0;
  int last = -1;
  for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
    if (!SameEntry(data.Entry(i), recorded.entry)) continue;
    ++alike;
    last = i;
  }
  if (last < 0 || (recorded.alikeBefore >= 0 && alike <= recorded.alikeBefore)) return false;
  data.DeleteEntry(last);
  return true;
}

}  // namespace

TBookOutcome BookImport(const TStatementImport& import, TkzmDataUnit& data, const std::string& passbookFolder,
                        TImportedIds& ids, const std::function<void(int, int)>& progress) {
  std::vector<TImportedEntry> entries = EntriesToBook(import);
  const std::string& account = import.AccountKey();
  if (!entries.empty() && (KeyKind(account) != kKindAsset || CurrentProfile().Categories().IndexOfKey(account) < 0)) {
    TBookOutcome outcome;
    outcome.failed = true;
    outcome.message = "取り込み先の口座「" + KeyName(account) + "」が通帳の資産の項目にありません。";
    return outcome;
  }
  return BookEntries(std::move(entries), account, data, passbookFolder, ids, progress);
}

TBookOutcome BookEntries(std::vector<TImportedEntry> entries, const std::string& idAccountKey, TkzmDataUnit& data,
                         const std::string& passbookFolder, TImportedIds& ids,
                         const std::function<void(int, int)>& progress) {
  TBookOutcome outcome;
  if (entries.empty()) {
    outcome.message = "取り込む行がありません。";
    return outcome;
  }
  // The record of the import before is kept when nothing of this one gets booked; one that
  // cannot be read would be written over, and with it the way to undo what it added.
  TImportRecord previous;
  std::string recordError;
  if (!ReadLastImport(passbookFolder, previous, recordError)) {
    outcome.failed = true;
    outcome.message = recordError +
                      "\n取り込みませんでした。前回の取り込みを元に戻す必要がなければ、この記録を別の場所へ移して"
                      "から取り込み直してください。";
    return outcome;
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TImportedEntry& a, const TImportedEntry& b) { return a.entry.date < b.entry.date; });
  if (!data.Save() || !AddMissingCategories(entries, outcome.message)) {
    outcome.failed = true;
    if (outcome.message.empty()) outcome.message = "開いている月のデータを保存できないため、取り込みませんでした。";
    return outcome;
  }
  // The record goes down before the first month changes, so that an import stopped at any
  // point (a kill, a power cut) can be undone.
  CountAlike(data, entries);
  if (!WriteLastImport(passbookFolder, {entries, false}, recordError)) {
    outcome.failed = true;
    outcome.message = "取り込みの記録を保存できないため、取り込みませんでした。\n" + recordError;
    return outcome;
  }
  std::vector<size_t> runStarts;
  for (size_t start = 0; start < entries.size(); start = MonthRunEnd(entries, start)) runStarts.push_back(start);
  const int months = static_cast<int>(runStarts.size());
  TImportRecord record{{}, true};
  std::set<TDayNumber> days;
  std::string failedFile;
  for (int m = 0; m < months; ++m) {
    if (progress) progress(m, months);
    const size_t start = runStarts[static_cast<size_t>(m)];
    const std::span<const TImportedEntry> month(entries.data() + start, MonthRunEnd(entries, start) - start);
    if (!BookMonth(data, month, failedFile)) {
      outcome.failed = true;
      record.complete = false;
      break;
    }
    for (const TImportedEntry& imported : month) {
      record.entries.push_back(imported);
      days.insert(imported.entry.date);
      ids.Add(idAccountKey.empty() ? imported.entry.accountKey : idAccountKey, imported.sourceId);
    }
  }
  if (progress && !outcome.failed) progress(months, months);
  outcome.added = static_cast<int>(record.entries.size());
  recordError.clear();
  const TImportRecord& kept = record.entries.empty() ? previous : record;
  const bool recorded = WriteLastImport(passbookFolder, kept, recordError) && ids.Save(passbookFolder, recordError);
  outcome.carryFailed = !ResummariseDays(days);
  outcome.message = std::to_string(outcome.added) + "件を取り込みました。";
  if (outcome.carryFailed) outcome.message += std::string("\n") + kCarryNotWritten;
  if (!failedFile.empty()) {
    outcome.message += "\n" + failedFile + " を保存できなかったため、そこで取り込みを中止しました。この月には何も追加していません。";
  }
  // A record left as written at the start still undoes exactly what was booked.
  if (!recorded) outcome.message += "\n取り込みの記録を書き終えられませんでした。元に戻すことはできます。\n" + recordError;
  return outcome;
}

std::string IncompleteImportNotice(const std::string& passbookFolder) {
  TImportRecord record;
  std::string error;
  if (!ReadLastImport(passbookFolder, record, error)) return error;
  if (record.complete) return "";
  // A move-in keeps the export's row ids under "ledger:".
  const bool movedIn = std::any_of(record.entries.begin(), record.entries.end(),
                                   [](const TImportedEntry& e) { return e.sourceId.starts_with("ledger:"); });
  return std::string("前回の") + (movedIn ? "ほかの家計簿からの引っ越し" : "明細の取り込み") +
         "は、途中で止まったままです。元に戻すと、その取り込みで追加された明細だけを取り消します"
         "（次の取り込みのあとは元に戻せません）。";
}

TUndoOutcome UndoLastImport(TkzmDataUnit& data, const std::string& passbookFolder, TImportedIds& ids) {
  TUndoOutcome outcome;
  TImportRecord record;
  if (!ReadLastImport(passbookFolder, record, outcome.message)) {
    outcome.failed = true;
    outcome.message += "\n取り込みは元に戻していません。";
    return outcome;
  }
  const std::vector<TImportedEntry>& entries = record.entries;
  outcome.incomplete = !record.complete;
  if (entries.empty()) {
    outcome.nothing = true;
    outcome.message = "元に戻せる取り込みはありません。";
    // An import stopped before its first month added nothing: its mark has done its job.
    std::string error;
    if (!record.complete && !WriteLastImport(passbookFolder, {}, error)) outcome.message += "\n" + error;
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
    // Last first: of entries alike on one day, the later one was added on top of the earlier.
    for (size_t i = end; i-- > start;) {
      if (RemoveRecorded(data, entries[i])) removed.push_back(i);
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
  const TImportRecord left{{entries.begin() + static_cast<std::ptrdiff_t>(start), entries.end()}, record.complete};
  std::string error;
  if (!WriteLastImport(passbookFolder, left.entries.empty() ? TImportRecord{} : left, error) ||
      !ids.Save(passbookFolder, error)) {
    outcome.failed = true;
    outcome.message = error + "\n";
  }
  outcome.carryFailed = !ResummariseDays(days);
  if (outcome.incomplete) outcome.message += "途中で止まっていた取り込みを元に戻しました。\n";
  outcome.message += std::to_string(outcome.removed) + "件の取り込みを取り消しました。";
  if (outcome.notRemoved > 0) {
    outcome.message += "\n" + std::string(outcome.incomplete ? "取り込まれていなかったか、取り込み後に" : "取り込み後に") +
                       "変更または削除された" + std::to_string(outcome.notRemoved) + "件は取り消していません。";
  }
  if (!left.entries.empty()) {
    outcome.message += "\n保存できない月があったため、残りの" + std::to_string(left.entries.size()) + "件は取り消していません。";
  }
  if (outcome.carryFailed) outcome.message += std::string("\n") + kCarryNotWritten;
  return outcome;
}

}  // namespace kzm
