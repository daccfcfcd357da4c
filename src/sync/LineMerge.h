#pragma once

// Three-way merges of a passbook's text files, line by line, without knowing more of a line
// than its day (month files) or its key (the keyed files). Bytes in, bytes out: the lines stay
// CP932 and are never decoded, so a line the program does not understand comes through as it
// was. Each line is written back ended by CR LF.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// The lines of bytes without their ends (CR LF or LF); empty lines left out.
[[nodiscard]] std::vector<std::string_view> SplitLines(std::string_view bytes);

struct TMonthMerge {
  std::string bytes;
  std::vector<int32_t> conflictDays;  // yyyymmdd, in order: the days a person should look at
  int added = 0;                      // lines the other copy brought in
  int removed = 0;                    // lines of this copy the other one took away
  std::string common;                 // the lines both copies hold: the base of the next merge
};

// Merges two versions of a month file. Each line is an entry (or a day memo, or a line kept
// as it was); a changed entry is an old line gone and a new one come. With base (what both
// came from): a line one side added is kept, the same line added on both sides once; one
// removed on a side and untouched on the other is removed; a day where both sides replaced the
// same line with different ones keeps both new lines and is named in conflictDays. Without a
// base, each line as many times as the side that has it more often, and every day where each
// side holds lines the other lacks is named. Lines stay in day order: this copy's order, the
// other's new lines after the lines of their day.
[[nodiscard]] TMonthMerge MergeMonthBytes(const std::string* base, std::string_view ours, std::string_view theirs);

struct TKeyedMerge {
  std::string bytes;
  std::vector<std::string> conflictKeys;  // changed differently on both sides; the newer won
  int added = 0;                          // keys the other copy brought in or changed
};

// The key of a line's fields, empty for a line that is not a record. Lines that are not
// records are kept from both sides, each once.
using TLineKeyOf = std::function<std::string(const std::vector<std::string>& fields)>;
// Which of two different lines of one key wins when both sides changed it, by a rule of the
// file's own (an occurrence entered stays entered): above 0 ours, below 0 theirs, 0 no rule
// (the newer side's, and the key is named).
using TLinePick = std::function<int(std::string_view ours, std::string_view theirs)>;

// Merges two versions of a CSV file of records named by keys: a key changed (added, removed)
// on one side takes that side's line; changed on both, the newer side's line (oursNewer) or
// the one pick prefers, and the key is named. Without a base, every key either side has.
[[nodiscard]] TKeyedMerge MergeKeyedBytes(const std::string* base, std::string_view ours, std::string_view theirs,
                                          const TLineKeyOf& keyOf, bool oursNewer, const TLinePick& pick = {});

// The same for settings files ([SECTION] and KEY=VALUE lines): the key is the section and the
// name; sections and keys in this copy's order, the other's new ones after.
[[nodiscard]] TKeyedMerge MergeIniBytes(const std::string* base, std::string_view ours, std::string_view theirs,
                                        bool oursNewer);

// The same for the category file (Headfile.dta): each <head> element is a record named by its
// name and kind; what lies before the first and after the last comes from this copy.
[[nodiscard]] TKeyedMerge MergeCategoryBytes(const std::string* base, std::string_view ours, std::string_view theirs,
                                             bool oursNewer);

}  // namespace kzm
