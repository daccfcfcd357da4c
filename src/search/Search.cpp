#include "search/Search.h"
#include "search/SearchCsvFile.h"

#include <algorithm>
#include <climits>
#include <utility>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthRange.h"

namespace kzm {

namespace {

// How many months a search walks before it foresees how many entries it will find.
constexpr size_t kMonthsToForeseeFrom = 12;

bool Active(const std::string& condition) { return !condition.empty() && condition != kNoCondition; }

// KeyName without a copy: every entry is compared.
std::string_view NameOfKey(std::string_view key) { return key.size() < 2 ? std::string_view() : key.substr(2); }

bool KindSearched(const TSearchConditions& conditions, int kind) {
  switch (kind) {
    case kKindPayment: return conditions.payments;
    case kKindReceipt: return conditions.receipts;
    case kKindAsset: return conditions.assetMoves;
    case kKindMemo: return conditions.memos;
    default: return true;
  }
}

// Whether the conditions take every entry of their dates.
bool TakesEveryEntry(const TSearchConditions& c) {
  return !c.upper && !c.lower && c.payments && c.receipts && c.assetMoves && c.memos && !Active(c.category) &&
         !Active(c.itemText) && !Active(c.note) && !Active(c.account);
}

// An entry held in memory seen as a line of its file, for matching.
TEntryLine LineOfEntry(const TkzmEntry& entry) {
  TEntryLine line;
  line.date = entry.date;
  line.amount = entry.amount;
  line.kind = KeyKind(entry.categoryKey);
  line.category = NameOfKey(entry.categoryKey);
  line.account = NameOfKey(entry.accountKey);
  line.itemText = entry.itemText;
  line.note = entry.note;
  return line;
}

bool MatchesSearch(const TSearchConditions& conditions, const TEntryLine& line) {
  if (conditions.upper && line.amount > *conditions.upper) return false;
  if (conditions.lower && line.amount < *conditions.lower) return false;
  if (!KindSearched(conditions, line.kind)) return false;
  // The texts last: a line read from its file decodes a text only when asked for it.
  std::string buffer;
  const auto differs = [&](const std::string& condition, std::string_view text) {
    return Active(condition) && LineText(line, text, buffer) != condition;
  };
  return !differs(conditions.category, line.category) && !differs(conditions.itemText, line.itemText) &&
         !differs(conditions.note, line.note) && !differs(conditions.account, line.account);
}

bool MatchesSearch(const TSearchConditions& conditions, const TkzmEntry& entry) {
  return MatchesSearch(conditions, LineOfEntry(entry));
}

// Matches the entry lines of a month file as they are read, building only the entries found.
class TSearchLines final : public TMonthLineSink {
 public:
  TSearchLines(const TSearchConditions& conditions, TDayNumber first, TDayNumber last, TSearchResults& results)
      : m_conditions(conditions), m_takesAll(TakesEveryEntry(conditions)), m_first(first), m_last(last),
        m_results(results) {}

  void Entry(const TEntryLine& line) override {
    if (line.date < m_first || line.date > m_last) return;
    if (!m_takesAll && !MatchesSearch(m_conditions, line)) return;
    if (!m_results.Add(line)) return;
    m_inDateOrder = m_inDateOrder && line.date >= m_lastFound;
    m_lastFound = line.date;
  }
  void Kept(int32_t, std::string_view) override {}

  // A file written out of date order gives its finds in the order of the month as loaded.
  void PutInDateOrder(size_t firstFound) {
    if (m_inDateOrder) return;
    auto& entries = m_results.Entries();
    std::stable_sort(entries.begin() + static_cast<std::ptrdiff_t>(firstFound), entries.end(),
                     [](const TkzmEntry& a, const TkzmEntry& b) { return a.date < b.date; });
  }

 private:
  const TSearchConditions& m_conditions;
  bool m_takesAll;  // every line of the dates: nothing to match
  TDayNumber m_first;
  TDayNumber m_last;
  TSearchResults& m_results;
  TDayNumber m_lastFound = INT32_MIN;
  bool m_inDateOrder = true;
};

}  // namespace

bool TSearchResults::Add(const TkzmEntry& entry, int32_t placeInDay) {
  if (!m_found.Insert(entry.date, placeInDay)) return false;
  m_entries.push_back(entry);
  return true;
}

bool TSearchResults::Add(const TEntryLine& line) {
  if (!m_found.Insert(line.date, line.placeInDay)) return false;
  AssignEntry(m_entries.emplace_back(), line, m_keys);
  return true;
}

void TSearchResults::Clear() {
  m_entries.clear();
  m_found.Clear();
}

bool SearchMonth(TkzmDataUnit& data, int year, int month, const TSearchConditions& conditions,
                 TSearchResults& results) {
  TDayNumber first = 0;
  TDayNumber last = 0;
  if (!MonthDaysInRange(year, month, conditions.first, conditions.last, first, last)) return true;
  if (const auto* held = data.HeldEntries(year, month)) {
    // Held entries are in day order, so one pass visits the days in turn.
    int32_t place = 0;
    for (size_t i = 0; i < held->size(); ++i) {
      const TkzmEntry& entry = *(*held)[i];
      place = i > 0 && (*held)[i - 1]->date == entry.date ? place + 1 : 0;
      if (entry.date < first || entry.date > last) continue;
      if (MatchesSearch(conditions, entry)) results.Add(entry, place);
    }
    return true;
  }
  const size_t firstFound = results.Entries().size();
  TSearchLines lines(conditions, first, last, results);
  const bool read = data.ReadMonthLines(year, month, lines);
  lines.PutInDateOrder(firstFound);
  return read;
}

bool SearchAllMonths(TkzmDataUnit& data, const TSearchConditions& conditions, TSearchResults& results,
                     const std::function<bool()>& keepGoing) {
  const std::vector<TMonthOfFile> months = MonthsToWalk(data);
  const auto inRange = [&](const TMonthOfFile& m) {
    TDayNumber first = 0;
    TDayNumber last = 0;
    return MonthDaysInRange(m.year, m.month, conditions.first, conditions.last, first, last);
  };
  const size_t monthsInRange = static_cast<size_t>(std::count_if(months.begin(), months.end(), inRange));
  const size_t before = results.Entries().size();
  size_t searched = 0;
  bool read = true;
  for (const TMonthOfFile& m : months) {
    if (!SearchMonth(data, m.year, m.month, conditions, results)) read = false;
    if (keepGoing && !keepGoing()) break;
    // The months searched tell how many the rest will find (the walk follows no order of
    // dates): room for all of them is made once, with a little to spare, instead of the list
    // moving its entries each time it grows.
    if (inRange(m) && ++searched == kMonthsToForeseeFrom) {
      const size_t foreseen = (results.Entries().size() - before) * monthsInRange / searched;
      results.Reserve(before + foreseen + foreseen / 8);
    }
  }
  return read;
}

std::vector<std::string> SearchResultCells(const TkzmEntry& entry) {
  return {FormatDateSlashed(entry.date), KeyName(entry.categoryKey), entry.itemText,
          FormatThousands(entry.amount), KeyName(entry.accountKey),   entry.note};
}

std::string SearchCsvLine(const TkzmEntry& entry) {
  std::vector<std::string> cells = SearchResultCells(entry);
  // Date and amount are written by the program itself; the texts may be anything typed or
  // imported.
  for (const size_t text : {1, 2, 4, 5}) cells[text] = ExportedText(cells[text]);
  return CsvJoin(cells);
}

bool WriteSearchCsv(const std::string& path, const std::vector<TkzmEntry>& results, std::string& error) {
  TSearchCsvFile file(path);
  return file.Open(error) && file.Add(results, error) && file.Commit(error);
}

}  // namespace kzm
