#include "passbook/Search.h"

#include <cerrno>

#include "foundation/AtomicFile.h"
#include "foundation/Codec.h"
#include "foundation/Csv.h"
#include "foundation/Files.h"
#include "foundation/SystemErrors.h"
#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"

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

// Year and month of a month file's name ("yyyymm.kzm"); false for any other name.
bool MonthOfFileName(const std::string& path, int& year, int& month) {
  const size_t slash = path.rfind('/');
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.size() < 6) return false;
  for (size_t i = 0; i < 6; ++i) {
    if (name[i] < '0' || name[i] > '9') return false;
  }
  year = std::stoi(name.substr(0, 4));
  month = std::stoi(name.substr(4, 2));
  return year >= 1 && month >= 1 && month <= 12;
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
  TDayNumber first = EncodeDate(year, month, 1);
  TDayNumber last = first + DaysInMonth(year, month) - 1;
  if (conditions.first != 0) {
    if (conditions.first > last) return true;
    if (conditions.first > first) first = conditions.first;
  }
  if (conditions.last != 0) {
    if (conditions.last < first) return true;
    if (conditions.last < last) last = conditions.last;
  }
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
  std::vector<std::string> files;
  if (!data.Folder().empty() && !ListFiles(data.Folder(), "??????.kzm", files)) {
    data.ReportReadFailure(data.Folder(), "月のデータのフォルダ「" + data.Folder() + "」を読み込めませんでした。\n" +
                                              SystemErrorText(errno));
  }
  bool saved = true;
  for (const std::string& file : files) {
    int year = 0;
    int month = 0;
    if (!MonthOfFileName(file, year, month)) continue;
    if (!SearchMonth(data, year, month, conditions, results)) saved = false;
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
