#include "passbook/Search.h"


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

bool Active(const std::string& condition) { return !condition.empty() && condition != kNoCondition; }

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

bool TSearchResults::Add(const TkzmEntry& entry) {
  const int64_t id = (int64_t{entry.date} << 32) | static_cast<uint32_t>(entry.sequence);
  if (!m_found.insert(id).second) return false;
  m_entries.push_back(entry);
  return true;
}

void TSearchResults::Clear() {
  m_entries.clear();
  m_found.clear();
}

bool MatchesSearch(const TSearchConditions& conditions, const TkzmEntry& entry) {
  if (Active(conditions.category) && KeyName(entry.categoryKey) != conditions.category) return false;
  if (Active(conditions.itemText) && entry.itemText != conditions.itemText) return false;
  if (Active(conditions.note) && entry.note != conditions.note) return false;
  if (Active(conditions.account) && KeyName(entry.accountKey) != conditions.account) return false;
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
  for (int i = 0; i < data.Count(); ++i) {
    const TkzmEntry& entry = data.Entry(i);
    if (entry.date < first || entry.date > last) continue;
    if (MatchesSearch(conditions, entry)) results.Add(entry);
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
