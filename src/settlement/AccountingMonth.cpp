#include "settlement/AccountingMonth.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <vector>

#include "foundation/AtomicFile.h"
#include "foundation/Concat.h"
#include "foundation/Errors.h"
#include "foundation/Files.h"
#include "foundation/Shell.h"
#include "foundation/Text.h"
#include "foundation/WindowSystem.h"
#include "passbook/Categories.h"
#include "passbook/Profile.h"
#include "settlement/CarryRun.h"
#include "settlement/SettlementCache.h"

namespace kzm {

namespace {

TPeriod DefaultPeriodOf(TMonthKey key) {
  const TkzmProfile& profile = CurrentProfile();
  return PeriodFromClosingDay(key, profile.ClosingDay(), profile.EndsNextMonth());
}

TPeriod UnsettledPeriod(TMonthKey key, const std::optional<TPeriod>& previous,
                        const std::optional<TPeriod>& next) {
  TPeriod period = DefaultPeriodOf(key);
  // A settled neighbour moves the boundary, so months never overlap their settled neighbours.
  if (previous && previous->last != 0) period.first = previous->last + 1;
  if (next && next->first != 0) period.last = next->first - 1;
  if (period.last < period.first) period.last = period.first;
  return period;
}

// A settlement file that names no period (or half of one) would stretch the month over a
// century; such a month keeps the period its closing day gives it.
void RepairPeriod(TMonthKey key, THeadList& list) {
  if (list.First() != 0 && list.Last() != 0) return;
  const TPeriod period = DefaultPeriodOf(key);
  list.SetFirst(period.first);
  list.SetLast(period.last);
}

std::string DamagedSettlementMessage(const std::string& path, std::string_view why) {
  return Concat({"月の設定ファイルが壊れているため読み込めません。\n", path, "\n(", why,
                 ")\nこの月は設定のない月として扱います。このファイルは、この月の期間を設定し直すまで書き換えません。"});
}

}  // namespace

namespace {

TSettlementRead ReadSettlementFile(TMonthKey key, THeadList& list) {
  list.Clear();
  const std::string path = SettlementFilePath(key);
  if (path.empty()) return TSettlementRead::srNone;
  std::string damage;
  const TSettlementRead read = SettlementCache().Read(path, list, &damage);
  if (!damage.empty()) WindowSystem().Notify(DamagedSettlementMessage(path, damage));
  return read;
}

}  // namespace

bool ReadSettlement(TMonthKey key, THeadList& list) {
  if (ReadSettlementFile(key, list) != TSettlementRead::srRead) return false;
  RepairPeriod(key, list);
  return true;
}

bool SettlementDamaged(TMonthKey key) {
  THeadList scratch;
  return ReadSettlementFile(key, scratch) == TSettlementRead::srDamaged;
}

std::vector<TMonthKey> SettledMonthKeys() {
  std::vector<TMonthKey> keys;
  const std::string& folder = CurrentProfile().Folder();
  std::vector<std::string> files;
  if (folder.empty()) return keys;
  (void)ListFiles(folder + "/Monthly", "??????.mif", files);
  // Settlements held by a carry run count as written.
  const std::string monthly = folder + "/Monthly/";
  for (const auto& [path, list] : SettlementCache().Held()) {
    if (path.size() == monthly.size() + 10 && path.compare(0, monthly.size(), monthly) == 0) files.push_back(path);
  }
  for (const std::string& file : files) {
    const std::string_view name = std::string_view(file).substr(file.size() - 10, 6);
    int32_t key = 0;
    if (std::all_of(name.begin(), name.end(), [](char c) { return c >= '0' && c <= '9'; }) &&
        TryParseInt(name, key) && NormaliseMonthKey(key) == key)
      keys.push_back(key);
  }
  std::sort(keys.begin(), keys.end());
  keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
  return keys;
}

namespace {

// The closing balances of the last settled month before key open it, however many months
// without entries (and so without settlement) lie between: an empty month moves no money.
// The month closes, until it has entries, as it opened.
void CarryClosingBalances(TMonthKey key, const THeadList& previous, bool previousSettled, THeadList& list) {
  const THeadList* from = previousSettled ? &previous : nullptr;
  THeadList earlier;
  if (!from) {
    const std::vector<TMonthKey> settled = SettledMonthKeys();
    auto before = std::lower_bound(settled.begin(), settled.end(), key);
    while (before != settled.begin() && !from) {
      --before;
      if (ReadSettlement(*before, earlier)) from = &earlier;
    }
  }
  if (!from) return;
  list.Merge(*from);
  for (int i = 0; i < list.Count(); ++i) {
    if (list.KindOf(i) == kKindAsset) list.Items(i).balance = list.Items(i).total;
  }
}

}  // namespace

bool LoadMonthPeriod(TMonthKey key, THeadList& list) {
  if (ReadSettlement(key, list)) return true;
  THeadList neighbour;
  std::optional<TPeriod> previous;
  const bool previousSettled = ReadSettlement(PrevMonthKey(key), neighbour);
  if (previousSettled) previous = TPeriod{neighbour.First(), neighbour.Last()};
  CarryClosingBalances(key, neighbour, previousSettled, list);
  std::optional<TPeriod> next;
  if (ReadSettlement(NextMonthKey(key), neighbour)) next = TPeriod{neighbour.First(), neighbour.Last()};
  const TPeriod period = UnsettledPeriod(key, previous, next);
  list.SetFirst(period.first);
  list.SetLast(period.last);
  return false;
}

namespace {

// The list as its settlement file holds it: without the categories the passbook lacks.
THeadList SettlementCopy(const THeadList& list) {
  const THeadList& passbook = CurrentProfile().Categories();
  THeadList copy;
  copy.Assign(list);
  for (int i = copy.Count() - 1; i >= 0; --i) {
    if (passbook.IndexOfKey(copy.Items(i).key) < 0) copy.Delete(i);
  }
  return copy;
}

}  // namespace

std::string SettlementBytes(const THeadList& list) { return SettlementCopy(list).SaveToBytes(); }

namespace {

// The bytes of the month's settlement as it stands: held by a carry run, else on disk.
bool StoredBytes(const std::string& path, std::string& bytes) {
  const auto& held = SettlementCache().Held();
  if (const auto found = held.find(path); found != held.end()) {
    bytes = found->second->SaveToBytes();
    return true;
  }
  return ReadWholeFile(path, bytes);
}

using TSettlementLists = std::vector<std::pair<TMonthKey, const THeadList*>>;

// Writes files (the bytes of lists) together, or holds lists in memory while a carry run is
// on or the passbook is only read.
bool StoreSettlementFiles(const TSettlementLists& lists, const std::vector<TSettlementFile>& files) {
  if (files.empty() || CurrentProfile().Folder().empty()) return true;
  // A reader never writes: what it works out stays in memory, as in a carry run.
  if (SettlementCache().Holding() || !CurrentProfile().Writable()) {
    for (const auto& [key, list] : lists) SettlementCache().Hold(SettlementFilePath(key), SettlementCopy(*list));
    return true;
  }
  return WriteSettlementsTogether(files);
}

bool WriteSettlement(TMonthKey key, const THeadList& list, bool whenChanged) {
  const std::string path = SettlementFilePath(key);
  if (path.empty()) return true;
  std::string bytes;
  try {
    bytes = SettlementBytes(list);
  } catch (const EkzmError& error) {
    WindowSystem().Notify("月の設定を保存できませんでした。\n" + path + "\n" + error.what());
    return false;
  }
  std::string stored;
  if (whenChanged && StoredBytes(path, stored) && stored == bytes) return true;
  // A damaged file is kept for the user to look at or restore; only setting the month's
  // period by hand writes over it.
  if (whenChanged && SettlementDamaged(key)) return true;
  return StoreSettlementFiles({{key, &list}}, {{key, std::move(bytes)}});
}

}  // namespace

bool StoreSettlements(const std::vector<std::pair<TMonthKey, const THeadList*>>& lists) {
  std::vector<TSettlementFile> files;
  try {
    for (const auto& [key, list] : lists) files.push_back({key, SettlementBytes(*list)});
  } catch (const EkzmError& error) {
    WindowSystem().Notify(std::string("月の設定を保存できませんでした。\n") + error.what());
    return false;
  }
  return StoreSettlementFiles(lists, files);
}

bool SaveSettlement(TMonthKey key, const THeadList& list) { return WriteSettlement(key, list, false); }

bool UpdateSettlement(TMonthKey key, const THeadList& list) { return WriteSettlement(key, list, true); }

TMonthKey MonthOfDay(TDayNumber day) {
  const TYmd date = DecodeDate(day);
  const TMonthKey calendarKey = NormaliseMonthKey(date.year * 100 + date.month);
  // Each settlement file is read once, though neighbouring periods share them.
  std::map<TMonthKey, std::optional<TPeriod>> settled;
  THeadList scratch;
  auto settledPeriod = [&](TMonthKey key) -> const std::optional<TPeriod>& {
    auto found = settled.find(key);
    if (found != settled.end()) return found->second;
    std::optional<TPeriod> period;
    if (ReadSettlement(key, scratch)) period = TPeriod{scratch.First(), scratch.Last()};
    return settled.emplace(key, period).first->second;
  };
  // Of the months from two before to two after, the earliest whose period holds the day.
  for (int shift = -2; shift <= 2; ++shift) {
    const TMonthKey key = NormaliseMonthKey(calendarKey + shift);
    const std::optional<TPeriod>& own = settledPeriod(key);
    const TPeriod period =
        own ? *own : UnsettledPeriod(key, settledPeriod(PrevMonthKey(key)), settledPeriod(NextMonthKey(key)));
    if (period.first <= day && day <= period.last) return key;
  }
  return calendarKey;
}

bool ResummariseDays(const std::set<TDayNumber>& days) {
  if (days.empty()) return true;
  const bool saved = CarryChangedDays(days);
  BroadcastToForms(kNoticeDataChanged, 0, 0);
  return saved;
}

}  // namespace kzm
