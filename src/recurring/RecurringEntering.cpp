#include "recurring/RecurringEntering.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <map>
#include <set>
#include <tuple>

#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/OwnFiles.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "foundation/ThisPc.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"

namespace kzm {

namespace {

constexpr size_t kMaxPendingSize = 16 * 1024 * 1024;
constexpr int kShiftReach = 31;  // a shift never moves a date further than this
constexpr int kNextChunk = 64;
constexpr int kStreamSpan = 4 * 366;  // days of occurrences held at once while streaming

struct TPending {
  int templateId = 0;
  TDayNumber scheduled = 0;
  TkzmEntry entry;
  int before = 0;  // entries equal to entry its day held before the entering
};

bool SameEntry(const TkzmEntry& a, const TkzmEntry& b) {
  return a.date == b.date && a.amount == b.amount && a.categoryKey == b.categoryKey &&
         a.accountKey == b.accountKey && a.itemText == b.itemText && a.note == b.note;
}

// How many entries of entry's day equal it; selects the day.
int CountEqual(TkzmDataUnit& data, const TkzmEntry& entry) {
  data.SelectDay(entry.date);
  int count = 0;
  for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) count += SameEntry(data.Entry(i), entry) ? 1 : 0;
  return count;
}

bool IsOpen(const TRecurringStore& store, const TRecurringTemplate& t, const TOccurrence& o) {
  return o.scheduled > t.handledThrough && store.Handled(t.id, o.scheduled) == nullptr;
}

std::vector<TDueOccurrence> OpenBetween(const TRecurringStore& store, TDayNumber first, TDayNumber last,
                                        TBusinessDays& businessDays) {
  std::vector<TDueOccurrence> found;
  std::vector<size_t> order;
  const auto& templates = store.Templates();
  for (size_t i = 0; i < templates.size(); ++i) {
    const TRecurringTemplate& t = templates[i];
    const TDayNumber from = std::max(first, t.schedule.first - kShiftReach);
    // Both lists run in scheduled order: one pass over the two, no look-up per occurrence.
    const std::vector<TDayNumber> handled = store.HandledDates(t.id);
    auto done = handled.begin();
    for (const TOccurrence& o : OccurrencesBetween(t, from, last, businessDays)) {
      while (done != handled.end() && *done < o.scheduled) ++done;
      if (o.scheduled <= t.handledThrough || (done != handled.end() && *done == o.scheduled)) continue;
      found.push_back({o, t});
      order.push_back(i);
    }
  }
  std::vector<size_t> index(found.size());
  for (size_t i = 0; i < index.size(); ++i) index[i] = i;
  std::stable_sort(index.begin(), index.end(), [&](size_t a, size_t b) {
    return std::tie(found[a].occurrence.date, order[a]) < std::tie(found[b].occurrence.date, order[b]);
  });
  std::vector<TDueOccurrence> sorted;
  sorted.reserve(found.size());
  for (const size_t i : index) sorted.push_back(std::move(found[i]));
  return sorted;
}

std::string PendingPath(const std::string& folder) { return PcOwnPath(folder, kRecurringPendingFileName); }

std::string PendingLine(const TPending& p) {
  const TkzmEntry& e = p.entry;
  return CsvJoin({std::to_string(p.templateId), FormatDate8(p.scheduled), FormatDate8(e.date), std::to_string(e.amount),
                  KindNames()[static_cast<size_t>(KeyKind(e.categoryKey))], KeyName(e.categoryKey),
                  KeyName(e.accountKey), e.itemText, e.note, std::to_string(p.before)});
}

bool ParsePendingLine(const std::string& line, TPending& p) {
  const std::vector<std::string> f = CsvSplit(line);
  int32_t id = 0, amount = 0, before = 0;
  if (f.size() < 10 || !TryParseInt(f[0], id) || !TryParseDate8(f[1], p.scheduled) ||
      !TryParseDate8(f[2], p.entry.date) || !TryParseInt(f[3], amount) || KindCode(f[4]) == kKindNone ||
      !TryParseInt(f[9], before)) {
    return false;
  }
  p.templateId = id;
  p.entry.amount = amount;
  p.entry.categoryKey = MakeKey(f[5], KindCode(f[4]));
  p.entry.accountKey = MakeKey(f[6], kKindAsset);
  p.entry.itemText = f[7];
  p.entry.note = f[8];
  p.before = before;
  return true;
}

bool WritePending(const std::string& folder, const std::vector<TPending>& pending, std::string& error) {
  std::string text;
  for (const TPending& p : pending) text += PendingLine(p) + "\r\n";
  return WriteOwnFile(PendingPath(folder), text, "定期的な記入の途中の記録", error);
}

// False (with error) when the record could not be read; a missing record gives none.
bool ReadPending(const std::string& folder, std::vector<TPending>& pending, std::string& error) {
  pending.clear();
  const std::string path = PendingPath(folder);
  std::string bytes;
  if (!ReadOwnFile(path, kMaxPendingSize, "", bytes, error)) return false;
  for (const std::string& line : NonEmptyLines(DecodeCp932(bytes))) {
    TPending p;
    if (!ParsePendingLine(line, p)) {
      error = "定期的な記入の途中記録「" + path + "」が読めません。ファイルを確かめてください。";
      return false;
    }
    pending.push_back(std::move(p));
  }
  return true;
}

bool RemovePending(const std::string& folder, std::string& error) {
  const std::string path = PendingPath(folder);
  if (std::remove(path.c_str()) == 0 || errno == ENOENT) return true;
  error = "「" + path + "」を削除できません。\n" + SystemErrorText(errno);
  return false;
}

int MonthNumber(TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  return ymd.year * 12 + ymd.month;
}

// The entries to make, in date order, with the day's count of equal entries before; false
// when a month holding one of them cannot be read.
bool PrepareEntries(const std::vector<TOccurrenceChoice>& choices, TkzmDataUnit& data, std::vector<TPending>& pending,
                    TEnterOutcome& outcome) {
  const THeadList& categories = CurrentProfile().Categories();
  for (const TOccurrenceChoice& c : choices) {
    if (c.choice != TChoice::cEnter) continue;
    const TRecurringTemplate& t = c.due.source;
    const std::string problem = TemplateProblem(t, categories);
    if (!problem.empty()) {
      ++outcome.refused;
      outcome.message += FormatDateSlashed(c.due.occurrence.date) + " " + t.item + ": " + problem + "記入しませんでした。\n";
      continue;
    }
    pending.push_back({t.id, c.due.occurrence.scheduled, EntryOfOccurrence(c.due, c.amount), 0});
  }
  std::stable_sort(pending.begin(), pending.end(),
                   [](const TPending& a, const TPending& b) { return a.entry.date < b.entry.date; });
  for (TPending& p : pending) {
    p.before = CountEqual(data, p.entry);
    if (data.MonthUnreadable()) {
      outcome.message += "月のファイル「" + data.MonthFilePath(DecodeDate(p.entry.date).year, DecodeDate(p.entry.date).month) +
                         "」を読めないため、記入しませんでした。\n";
      return false;
    }
  }
  return true;
}

// Adds the pending entries month by month, each month written before the next; returns how
// many were written (a month that cannot be written is left as it was and ends the run).
size_t WriteMonths(const std::vector<TPending>& pending, TkzmDataUnit& data, TEnterOutcome& outcome) {
  size_t start = 0;
  while (start < pending.size()) {
    size_t end = start;
    while (end < pending.size() && MonthNumber(pending[end].entry.date) == MonthNumber(pending[start].entry.date)) ++end;
    for (size_t i = start; i < end; ++i) {
      const TkzmEntry& e = pending[i].entry;
      data.SelectDay(e.date);
      data.AddEntry(e.categoryKey, e.accountKey, e.note, e.itemText, e.amount);
    }
    if (!data.Save()) {
      const TYmd ymd = DecodeDate(pending[start].entry.date);
      outcome.failed = true;
      outcome.message += data.MonthFilePath(ymd.year, ymd.month) + " を保存できなかったため、そこで記入を中止しました。\n";
      data.DiscardMonthChanges();
      return start;
    }
    start = end;
  }
  return start;
}

// Finishes an entering that was stopped halfway (see above); true with nothing to do when
// none was. False, with the reason in message, when the record or a month cannot be read or
// the store cannot be written: nothing is then due until it can, as a guard against entering
// twice (DueOccurrences still lists, so callers check this first).
bool ResumeEntering(TRecurringStore& store, TkzmDataUnit& data, std::string& message) {
  std::vector<TPending> pending;
  if (!ReadPending(store.Folder(), pending, message)) return false;
  if (pending.empty()) return RemovePending(store.Folder(), message);
  if (!data.Save()) {
    message = "開いている月のデータを保存できないため、中断された定期的な記入を確かめられません。";
    return false;
  }
  // Equal entries of one day are counted together: the increase says how many were written.
  std::map<std::tuple<TDayNumber, std::string, std::string, std::string, std::string, int32_t>, std::vector<size_t>>
      groups;
  for (size_t i = 0; i < pending.size(); ++i) {
    const TkzmEntry& e = pending[i].entry;
    groups[{e.date, e.categoryKey, e.accountKey, e.itemText, e.note, e.amount}].push_back(i);
  }
  std::set<TDayNumber> days;
  for (const auto& [key, members] : groups) {
    const TkzmEntry& entry = pending[members.front()].entry;
    int increase = CountEqual(data, entry) - pending[members.front()].before;
    if (data.MonthUnreadable()) {
      message = "月のファイルを読めないため、中断された定期的な記入を確かめられません。";
      return false;
    }
    for (const size_t i : members) {
      const TPending& p = pending[i];
      if (store.Handled(p.templateId, p.scheduled) != nullptr) {
        --increase;
        continue;
      }
      if (increase <= 0) continue;
      --increase;
      store.MarkHandled(p.templateId, p.scheduled, {THandling::hEntered, p.entry.date, p.entry.amount});
      days.insert(p.entry.date);
    }
  }
  if (!store.Save(message)) return false;
  (void)ResummariseDays(days);
  return RemovePending(store.Folder(), message);
}

}  // namespace

std::vector<TDueOccurrence> DueOccurrences(const TRecurringStore& store, TDayNumber until,
                                           TBusinessDays& businessDays) {
  return OpenBetween(store, EncodeDate(1, 1, 1), until, businessDays);
}

void ForEachDueOccurrence(const TRecurringStore& store, TDayNumber until, TBusinessDays& businessDays,
                          const std::function<void(const TDueOccurrence&)>& visit) {
  // Spans of dates in order give each occurrence once and keep DueOccurrences' order: within
  // a span it sorts by date, and every span lies after the one before.
  TDayNumber from = until;
  for (const TRecurringTemplate& t : store.Templates()) from = std::min(from, t.schedule.first - kShiftReach);
  from = std::max(from, EncodeDate(1, 1, 1));
  while (from <= until) {
    const TDayNumber to = until - from < kStreamSpan ? until : from + kStreamSpan - 1;
    for (const TDueOccurrence& due : OpenBetween(store, from, to, businessDays)) visit(due);
    if (to == until) break;
    from = to + 1;
  }
}

std::vector<TDueOccurrence> OpenOccurrences(const TRecurringStore& store, TDayNumber first, TDayNumber last,
                                            TBusinessDays& businessDays) {
  return OpenBetween(store, first, last, businessDays);
}

std::vector<TComingAmount> ComingAmounts(const TRecurringStore& store, TDayNumber first, TDayNumber last,
                                         TBusinessDays& businessDays) {
  std::vector<TComingAmount> coming;
  for (const TDueOccurrence& d : OpenBetween(store, first, last, businessDays)) {
    if (d.source.kind == TRecurringKind::rkMove) continue;
    coming.push_back({d.occurrence.date, EntryCategoryKey(d.source), d.source.amount});
  }
  return coming;
}

TDayNumber NextOpenDate(const TRecurringStore& store, const TRecurringTemplate& t, TDayNumber from,
                        TBusinessDays& businessDays) {
  TDayNumber seen = 0;  // the last scheduled date looked at
  for (;;) {
    const std::vector<TOccurrence> next = NextOccurrences(t, from, kNextChunk, businessDays);
    bool newOnes = false;
    for (const TOccurrence& o : next) {
      if (o.scheduled <= seen) continue;
      newOnes = true;
      if (IsOpen(store, t, o)) return o.date;
      seen = o.scheduled;
    }
    if (!newOnes) return 0;
    // Two occurrences may share a date after their shifts: look again from the last date.
    from = next.back().date;
  }
}

TRecurringTemplate TemplateFromEntry(const TkzmEntry& entry) {
  TRecurringTemplate t;
  switch (KeyKind(entry.categoryKey)) {
    case kKindReceipt: t.kind = TRecurringKind::rkReceipt; break;
    case kKindAsset: t.kind = TRecurringKind::rkMove; break;
    default: t.kind = TRecurringKind::rkPayment; break;
  }
  const int kind = KeyKind(entry.categoryKey);
  if (kind == kKindPayment || kind == kKindReceipt || kind == kKindAsset) t.category = KeyName(entry.categoryKey);
  if (KeyKind(entry.accountKey) == kKindAsset) t.account = KeyName(entry.accountKey);
  t.item = entry.itemText;
  t.note = entry.note;
  t.amount = entry.amount;
  t.schedule.first = entry.date;
  t.schedule.day = DecodeDate(entry.date).day;
  return t;
}

TkzmEntry EntryOfOccurrence(const TDueOccurrence& due, int32_t amount) {
  TkzmEntry entry;
  entry.date = due.occurrence.date;
  entry.amount = amount;
  entry.categoryKey = EntryCategoryKey(due.source);
  entry.accountKey = EntryAccountKey(due.source);
  entry.itemText = due.source.item;
  entry.note = due.source.note;
  return entry;
}

TEnterOutcome EnterOccurrences(TRecurringStore& store, const std::vector<TOccurrenceChoice>& choices,
                               TkzmDataUnit& data, const std::function<void(TEnterStep)>& step) {
  TEnterOutcome outcome;
  std::vector<TOccurrenceChoice> open;
  for (const TOccurrenceChoice& c : choices) {
    if (store.Handled(c.due.source.id, c.due.occurrence.scheduled) == nullptr) open.push_back(c);
  }
  std::string error;
  if (!data.Save()) {
    outcome.failed = true;
    outcome.message = "開いている月のデータを保存できないため、記入しませんでした。";
    return outcome;
  }
  std::vector<TPending> pending;
  if (!PrepareEntries(open, data, pending, outcome)) {
    outcome.failed = true;
    return outcome;
  }
  if (!pending.empty() && !WritePending(store.Folder(), pending, error)) {
    outcome.failed = true;
    outcome.message += error + "\n記入しませんでした。";
    return outcome;
  }
  if (step) step(TEnterStep::esRecorded);
  const size_t written = WriteMonths(pending, data, outcome);
  if (step) step(TEnterStep::esMonthsWritten);

  std::set<TDayNumber> days;
  for (size_t i = 0; i < written; ++i) {
    store.MarkHandled(pending[i].templateId, pending[i].scheduled,
                      {THandling::hEntered, pending[i].entry.date, pending[i].entry.amount});
    days.insert(pending[i].entry.date);
  }
  for (const TOccurrenceChoice& c : open) {
    if (c.choice != TChoice::cSkip) continue;
    store.MarkHandled(c.due.source.id, c.due.occurrence.scheduled, {THandling::hSkipped, 0, 0});
    ++outcome.skipped;
  }
  outcome.entered = static_cast<int>(written);
  if (!store.Save(error)) {
    // The record stays: the next open finds the entries in the months and records them.
    outcome.failed = true;
    outcome.message += error + "\n";
  } else if (!pending.empty() && !RemovePending(store.Folder(), error)) {
    outcome.message += error + "\n";
  }
  outcome.carryFailed = !ResummariseDays(days);
  outcome.message += std::to_string(outcome.entered) + "件を記入しました。";
  if (outcome.skipped > 0) outcome.message += std::to_string(outcome.skipped) + "件をスキップしました。";
  if (outcome.carryFailed) outcome.message += std::string("\n") + kCarryNotWritten;
  return outcome;
}

bool OpenRecurring(const std::string& passbookFolder, TRecurringStore& store, TkzmDataUnit& data,
                   std::string& message) {
  return store.Load(passbookFolder, message) && ResumeEntering(store, data, message);
}

}  // namespace kzm
