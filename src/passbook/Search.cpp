#include "passbook/Search.h"

#include <algorithm>
#include <bit>
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

constexpr const char* kNoCondition = "(なし)";

// Marks an empty place of the id table. It is the id of day number INT32_MIN, long before any
// date, and is remembered apart should an entry ever have it.
constexpr int64_t kFreeId = INT64_MIN;

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

}  // namespace

bool TSearchResults::Add(const TkzmEntry& entry, int32_t placeInDay) {
  const int64_t id = (int64_t{entry.date} << 32) | static_cast<uint32_t>(placeInDay);
  if (!Remember(id)) return false;
  m_entries.push_back(entry);
  return true;
}

void TSearchResults::Clear() {
  m_entries.clear();
  m_ids = {};
  m_idCount = 0;
  m_foundFreeId = false;
}

bool TSearchResults::Remember(int64_t id) {
  if (id == kFreeId) return !std::exchange(m_foundFreeId, true);
  if (2 * (m_idCount + 1) > m_ids.size()) GrowIds();
  // The day is spread over the table by Fibonacci hashing (the top bits of the product), and
  // the entries of a day follow one another from there: a day costs one trip to memory.
  const int shift = 64 - std::countr_zero(m_ids.size());
  const size_t mask = m_ids.size() - 1;
  const size_t dayPlace = (static_cast<uint64_t>(id >> 32) * 0x9E3779B97F4A7C15u) >> shift;
  for (size_t i = (dayPlace + static_cast<uint32_t>(id)) & mask;; i = (i + 1) & mask) {
    if (m_ids[i] == id) return false;
    if (m_ids[i] == kFreeId) {
      m_ids[i] = id;
      ++m_idCount;
      return true;
    }
  }
}

void TSearchResults::GrowIds() {
  const size_t size = std::max<size_t>(64, 2 * m_ids.size());
  const std::vector<int64_t> old = std::exchange(m_ids, std::vector<int64_t>(size, kFreeId));
  m_idCount = 0;
  for (const int64_t id : old) {
    if (id != kFreeId) Remember(id);
  }
}

bool MatchesSearch(const TSearchConditions& conditions, const TkzmEntry& entry) {
  if (Active(conditions.category) && NameOfKey(entry.categoryKey) != conditions.category) return false;
  if (Active(conditions.itemText) && entry.itemText != conditions.itemText) return false;
  if (Active(conditions.note) && entry.note != conditions.note) return false;
  if (Active(conditions.account) && NameOfKey(entry.accountKey) != conditions.account) return false;
  if (conditions.upper && entry.amount > *conditions.upper) return false;
  if (conditions.lower && entry.amount < *conditions.lower) return false;
  return KindSearched(conditions, KeyKind(entry.categoryKey));
}

bool SearchMonth(TkzmDataUnit& data, int year, int month, const TSearchConditions& conditions,
                 TSearchResults& results) {
  TDayNumber first = 0;
  TDayNumber last = 0;
  if (!MonthDaysInRange(year, month, conditions.first, conditions.last, first, last)) return true;
  const bool saved = data.SelectDay(first);
  // The loaded month holds its entries in day order, so one pass visits the days in turn.
  int32_t place = 0;
  for (int i = 0; i < data.Count(); ++i) {
    const TkzmEntry& entry = data.Entry(i);
    place = i > 0 && data.Entry(i - 1).date == entry.date ? place + 1 : 0;
    if (entry.date < first || entry.date > last) continue;
    if (MatchesSearch(conditions, entry)) results.Add(entry, place);
  }
  data.SelectDay(last);
  return saved;
}

bool SearchAllMonths(TkzmDataUnit& data, const TSearchConditions& conditions, TSearchResults& results,
                     const std::function<bool()>& keepGoing) {
  bool saved = true;
  for (const TMonthOfFile& m : MonthsToWalk(data)) {
    if (!SearchMonth(data, m.year, m.month, conditions, results)) saved = false;
    if (keepGoing && !keepGoing()) break;
  }
  return saved;
}

std::vector<std::string> SearchResultCells(const TkzmEntry& entry) {
  return {FormatDateSlashed(entry.date), KeyName(entry.categoryKey), entry.itemText,
          FormatThousands(entry.amount), KeyName(entry.accountKey),   entry.note};
}

std::string SearchCsvLine(const TkzmEntry& entry) { return CsvJoin(SearchResultCells(entry)); }

bool WriteSearchCsv(const std::string& path, const std::vector<TkzmEntry>& results, std::string& error) {
  std::string text;
  for (const TkzmEntry& entry : results) text += SearchCsvLine(entry) + "\r\n";
  std::string bytes;
  std::string badChar;
  if (!EncodeCp932(text, bytes, &badChar)) {
    error = "「" + badChar + "」は保存できない文字です。CSVファイルを保存できませんでした。";
    return false;
  }
  std::string why;
  if (!WriteFileAtomic(path, bytes, &why)) {
    error = "CSVファイルを保存できませんでした。\n" + why;
    return false;
  }
  return true;
}

}  // namespace kzm
