#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kzm {

// One booked amount or day memo of the loaded month.
struct TkzmEntry {
  int32_t date = 0;      // day number
  int32_t sequence = 0;  // how many entries the day already had when this one was added;
                         // keeps the order within a day and is not renumbered on deletion
  int32_t amount = 0;    // yen; 0 for a memo
  std::string categoryKey;  // payment, receipt, asset or memo category
  std::string itemText;     // what it was; for a memo the memo text
  std::string note;
  std::string accountKey;  // the asset paid from / paid into / moved from; for a memo the memo key
  std::vector<std::string> extraFields;  // fields past the eighth of the file line, written back
};

// A line of the month file that is not an entry of the month (another month's date, an
// unreadable date, too few fields, an amount that is no plain integer). It is held as its
// bytes on disk and written back unchanged, placed by sortDate among the entries: its own
// date, or that of the line before it when it has none. Such a line counts in no total.
struct TKeptLine {
  int32_t sortDate = 0;
  std::string bytes;  // CP932, with its line end as read (none at the end of the file)
};

}  // namespace kzm
