#include "backup/BackupKeep.h"

#include <algorithm>
#include <numeric>
#include <set>

#include "foundation/Dates.h"

namespace kzm {

namespace {

TDayNumber LocalDay(std::time_t time) {
  std::tm local{};
  localtime_r(&time, &local);
  return EncodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

TDayNumber WeekStart(TDayNumber day) {
  return day - (IsoDayOfWeek(day) - 1);
}

int MonthIndex(TDayNumber day) {
  const TYmd ymd = DecodeDate(day);
  return ymd.year * 12 + ymd.month - 1;
}

// Counts periods back from now's; the first candidate seen (the newest) claims its period.
class TPeriodSlots {
 public:
  explicit TPeriodSlots(int count) : m_count(count) {}
  bool Claim(long back) {
    if (back < 0 || back >= m_count) return false;
    return m_taken.insert(back).second;
  }

 private:
  int m_count;
  std::set<long> m_taken;
};

}  // namespace

std::vector<bool> BackupsToKeep(const std::vector<TKeepCandidate>& candidates, std::time_t now) {
  std::vector<size_t> newestFirst(candidates.size());
  std::iota(newestFirst.begin(), newestFirst.end(), size_t{0});
  std::stable_sort(newestFirst.begin(), newestFirst.end(),
                   [&](size_t a, size_t b) { return candidates[a].time > candidates[b].time; });
  const TDayNumber today = LocalDay(now);
  TPeriodSlots days(kKeepDays), weeks(kKeepWeeks), months(kKeepMonths);
  int changesKept = 0;
  std::vector<bool> keep(candidates.size(), false);
  for (const size_t i : newestFirst) {
    const TKeepCandidate& candidate = candidates[i];
    if (candidate.time > now) {
      keep[i] = true;
      continue;
    }
    const TDayNumber day = LocalDay(candidate.time);
    // Each rule claims its period whether or not another rule keeps the copy already.
    bool kept = days.Claim(today - day);
    kept = weeks.Claim((WeekStart(today) - WeekStart(day)) / 7) || kept;
    kept = months.Claim(MonthIndex(today) - MonthIndex(day)) || kept;
    if (candidate.beforeChange && changesKept < kKeepBeforeChange) {
      ++changesKept;
      kept = true;
    }
    keep[i] = kept;
  }
  return keep;
}

}  // namespace kzm
