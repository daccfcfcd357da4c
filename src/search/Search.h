#pragma once

// Searching the entries of a passbook over all its month files, as the search window and the
// command-line companion do, and the CSV lines of the search export.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "foundation/Dates.h"
#include "passbook/MonthEntry.h"
#include "passbook/MonthLines.h"
#include "search/FoundPlaces.h"

namespace kzm {

class TkzmDataUnit;

// The choice a condition list offers for "any": it asks for nothing, as an empty text does.
inline constexpr const char* kNoCondition = "(なし)";

// What an entry must match. A text condition that is empty or "(なし)" asks for nothing;
// any other text must equal the stored text exactly (display names for category and
// account). A day of 0 leaves that end of the range open.
struct TSearchConditions {
  std::string category;
  std::string itemText;
  std::string note;
  std::string account;
  std::optional<int32_t> upper;  // amount <= upper
  std::optional<int32_t> lower;  // amount >= lower
  TDayNumber first = 0;
  TDayNumber last = 0;
  bool payments = true;
  bool receipts = true;
  bool assetMoves = true;
  bool memos = true;
};

// The entries found, in the order found (or as the caller sorted them). An entry is found
// once: two results are the same entry when they have the same date and place among that
// day's entries. The place, not the sequence: an entry added after a deletion may take the
// sequence of one still there, and a month read from its file numbers its days afresh.
class TSearchResults {
 public:
  // False when the same entry is already among the results.
  bool Add(const TkzmEntry& entry, int32_t placeInDay);
  // The entry of a month file's line.
  bool Add(const TEntryLine& line);
  // Makes room for count results in all, so that they are not moved again and again as the
  // list grows.
  void Reserve(size_t count) { m_entries.reserve(count); }
  void Clear();
  [[nodiscard]] int Count() const { return static_cast<int>(m_entries.size()); }
  [[nodiscard]] std::vector<TkzmEntry>& Entries() { return m_entries; }
  [[nodiscard]] const std::vector<TkzmEntry>& Entries() const { return m_entries; }

 private:
  std::vector<TkzmEntry> m_entries;
  TFoundPlaces m_found;
  TNameKeys m_keys;
};

// Adds the matching entries of one calendar month to results, in date order: as data holds
// them when it holds the month, else read from its file in passing (data loads no month, and
// its current day stays). A month wholly outside the range is not read. False when its file
// could not be read (the user has been told).
bool SearchMonth(TkzmDataUnit& data, int year, int month, const TSearchConditions& conditions,
                 TSearchResults& results);

// Searches every month file "yyyymm.kzm" of data's folder, oldest month first; files whose names are no year and month are passed over. A folder that cannot be
// listed and month files that cannot be read are told and land in data.ReadFailures(); such
// a month file makes the result false. After each month keepGoing (when given) is asked
// whether to carry on: the window lets pending events run and answers false once the user
// pressed stop.
bool SearchAllMonths(TkzmDataUnit& data, const TSearchConditions& conditions, TSearchResults& results,
                     const std::function<bool()>& keepGoing = {});

// The six cells of a result as the search grid shows them: date "yyyy/mm/dd", category name,
// item text, amount with thousands separators, account name, note.
[[nodiscard]] std::vector<std::string> SearchResultCells(const TkzmEntry& entry);
// The export line of a result: its cells joined by CsvJoin, the texts made safe for a
// spreadsheet by ExportedText.
[[nodiscard]] std::string SearchCsvLine(const TkzmEntry& entry);
// Writes the export file: one line per result, CP932, CR LF, replacing the file atomically.
// False with error set when it could not be written (a character CP932 lacks, a full disk).
[[nodiscard]] bool WriteSearchCsv(const std::string& path, const std::vector<TkzmEntry>& results,
                                  std::string& error);

}  // namespace kzm
