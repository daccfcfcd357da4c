#pragma once

// Which backups of a passbook are kept: for each of the last 14 days, the last 8 weeks
// (Monday to Sunday) and the last 12 calendar months, that period's newest backup; and the
// newest 10 taken before a change to many entries or files (anything but the daily one at
// opening). Every other backup may go. Days are local days.

#include <ctime>
#include <vector>

namespace kzm {

struct TKeepCandidate {
  std::time_t time = 0;
  bool beforeChange = false;  // taken before a replace, an import, a restore, or by hand
};

inline constexpr int kKeepDays = 14;
inline constexpr int kKeepWeeks = 8;
inline constexpr int kKeepMonths = 12;
inline constexpr int kKeepBeforeChange = 10;

// For each candidate, whether it stays when the time is now. A backup dated after now (the
// clock was set back) always stays: removing it on a wrong clock could lose the newest copy.
[[nodiscard]] std::vector<bool> BackupsToKeep(const std::vector<TKeepCandidate>& candidates, std::time_t now);

}  // namespace kzm
