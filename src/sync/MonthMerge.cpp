#include <algorithm>
#include <cstdlib>
#include <map>
#include <set>
#include <unordered_map>

#include "sync/LineMerge.h"

namespace kzm {

namespace {

struct TCounts {
  int base = 0;
  int ours = 0;
  int theirs = 0;
};

// The day a line is about ("yyyymmdd,..."); -1 for a line that names none.
int32_t DayOf(std::string_view line) {
  if (line.size() < 9 || line[8] != ',') return -1;
  int32_t day = 0;
  for (size_t i = 0; i < 8; ++i) {
    if (line[i] < '0' || line[i] > '9') return -1;
    day = day * 10 + (line[i] - '0');
  }
  return day;
}

// How often a line stays. Changes that agree count once (both sides added the same entry);
// changes that differ add up.
int Kept(const TCounts& c, bool haveBase) {
  if (!haveBase) return std::max(c.ours, c.theirs);
  const int ours = c.ours - c.base;
  const int theirs = c.theirs - c.base;
  if (ours == 0) return c.theirs;
  if (theirs == 0) return c.ours;
  if ((ours > 0) == (theirs > 0)) return c.base + (std::abs(ours) > std::abs(theirs) ? ours : theirs);
  return std::max(0, c.base + ours + theirs);
}

using TCountMap = std::unordered_map<std::string_view, TCounts>;

// Days where both sides took the same line away and each put different lines in.
std::vector<int32_t> ConflictDays(const TCountMap& counts, bool haveBase) {
  std::map<int32_t, std::pair<std::set<std::string_view>, std::set<std::string_view>>> added;
  std::set<int32_t> bothRemoved;
  for (const auto& [line, c] : counts) {
    const int32_t day = DayOf(line);
    const int ours = haveBase ? c.ours - c.base : c.ours - c.theirs;
    const int theirs = haveBase ? c.theirs - c.base : c.theirs - c.ours;
    if (ours > 0) added[day].first.insert(line);
    if (theirs > 0) added[day].second.insert(line);
    if (haveBase && ours < 0 && theirs < 0) bothRemoved.insert(day);
  }
  std::vector<int32_t> days;
  for (const auto& [day, sides] : added) {
    if (sides.first.empty() || sides.second.empty() || sides.first == sides.second) continue;
    if (!haveBase || bothRemoved.contains(day)) days.push_back(day);
  }
  return days;
}

// The day a line sorts under: its own, or that of the line before it.
std::vector<int32_t> SortDays(const std::vector<std::string_view>& lines) {
  std::vector<int32_t> days;
  days.reserve(lines.size());
  int32_t last = 0;
  for (const std::string_view line : lines) {
    const int32_t day = DayOf(line);
    last = day >= 0 ? day : last;
    days.push_back(last);
  }
  return days;
}

}  // namespace

std::vector<std::string_view> SplitLines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    const size_t next = end == std::string_view::npos ? bytes.size() : end + 1;
    end = end == std::string_view::npos ? bytes.size() : end;
    if (end > start && bytes[end - 1] == '\r') --end;
    if (end > start) lines.push_back(bytes.substr(start, end - start));
    start = next;
  }
  return lines;
}

TMonthMerge MergeMonthBytes(const std::string* base, std::string_view ours, std::string_view theirs) {
  const std::vector<std::string_view> oursLines = SplitLines(ours);
  const std::vector<std::string_view> theirsLines = SplitLines(theirs);
  TCountMap counts;
  if (base) {
    for (const std::string_view line : SplitLines(*base)) ++counts[line].base;
  }
  for (const std::string_view line : oursLines) ++counts[line].ours;
  for (const std::string_view line : theirsLines) ++counts[line].theirs;

  TMonthMerge merge;
  std::unordered_map<std::string_view, int> left;  // how many more of each line to write
  for (const auto& [line, c] : counts) left[line] = Kept(c, base != nullptr);
  std::vector<std::string_view> result;
  for (const std::string_view line : oursLines) {
    if (left[line] > 0) {
      --left[line];
      result.push_back(line);
    } else {
      ++merge.removed;
    }
  }
  std::vector<int32_t> days = SortDays(result);
  const std::vector<int32_t> theirsDays = SortDays(theirsLines);
  for (size_t i = 0; i < theirsLines.size(); ++i) {
    const std::string_view line = theirsLines[i];
    if (left[line] <= 0) continue;
    --left[line];
    const auto at = std::upper_bound(days.begin(), days.end(), theirsDays[i]);
    const auto offset = at - days.begin();
    result.insert(result.begin() + offset, line);
    days.insert(days.begin() + offset, theirsDays[i]);
    ++merge.added;
  }
  size_t size = 0;
  for (const std::string_view line : result) size += line.size() + 2;
  merge.bytes.reserve(size);
  for (const std::string_view line : result) {
    merge.bytes += line;
    merge.bytes += "\r\n";
  }
  merge.conflictDays = ConflictDays(counts, base != nullptr);
  for (const std::string_view line : oursLines) {
    TCounts& c = counts[line];
    if (c.theirs-- <= 0) continue;
    merge.common += line;
    merge.common += "\r\n";
  }
  return merge;
}

}  // namespace kzm
