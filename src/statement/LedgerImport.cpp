#include "statement/LedgerImport.h"

#include <algorithm>
#include <map>
#include <set>
#include <unordered_map>

#include "foundation/AtomicFile.h"
#include "foundation/SystemErrors.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/MonthLines.h"
#include "statement/ImportHistory.h"
#include "statement/StatementReader.h"

namespace kzm {

namespace {

// Exports of many years are larger than a statement; still bounded before reading.
constexpr size_t kMaxLedgerFileSize = 64 * 1024 * 1024;

int KindOfMove(TLedgerMove move) { return move == TLedgerMove::lmReceipt ? kKindReceipt : kKindPayment; }

// The same movement between the same accounts: what stays of a row when its category or
// note has been remapped or edited since it was booked.
bool SameMovement(const TkzmEntry& a, const TkzmEntry& b) {
  if (a.date != b.date || a.amount != b.amount || a.accountKey != b.accountKey || a.itemText != b.itemText) {
    return false;
  }
  const int kind = KeyKind(a.categoryKey);
  return kind == KeyKind(b.categoryKey) && (kind != kKindAsset || a.categoryKey == b.categoryKey);
}

// Gives the entries of a month file paid from or moved from one of the accounts, as the
// file is read; whether a line names one is settled on its name as the file has it, each
// name decoded once, so that only those lines become entries.
class TEntriesOnAccounts final : public TMonthLineSink {
 public:
  TEntriesOnAccounts(const std::set<std::string>& accountKeys, std::map<TDayNumber, std::vector<TkzmEntry>>& byDay)
      : m_accountKeys(accountKeys), m_byDay(byDay) {}
  void Entry(const TEntryLine& line) override {
    if (line.accountKind != kKindAsset || !m_byDay.contains(line.date) || !IsAccount(line)) return;
    m_byDay[line.date].push_back(MakeEntry(line));
  }
  void Kept(int32_t, std::string_view) override {}

 private:
  bool IsAccount(const TEntryLine& line) {
    const std::string seen = std::string(1, line.cp932 ? 'c' : 'u') + std::string(line.account);
    const auto found = m_seen.find(seen);
    if (found != m_seen.end()) return found->second;
    std::string buffer;
    const bool is = m_accountKeys.contains(MakeKey(LineText(line, line.account, buffer), kKindAsset));
    m_seen.emplace(seen, is);
    return is;
  }

  const std::set<std::string>& m_accountKeys;
  std::map<TDayNumber, std::vector<TkzmEntry>>& m_byDay;
  std::unordered_map<std::string, bool> m_seen;
};

// The entries on the accounts of every day in byDay (its keys), filled in: as the data holds
// a month (saved or not), else read from its file without loading it, so that the day the
// windows work on stays where it is. Months whose file cannot be read are reported through
// the data.
void CollectDayEntries(TkzmDataUnit& data, const std::set<std::string>& accountKeys,
                       std::map<TDayNumber, std::vector<TkzmEntry>>& byDay) {
  for (auto day = byDay.begin(); day != byDay.end();) {
    const TYmd ymd = DecodeDate(day->first);
    const TDayNumber monthEnd = EncodeDate(ymd.year, ymd.month, 1) + DaysInMonth(ymd.year, ymd.month) - 1;
    if (const auto* held = data.HeldEntries(ymd.year, ymd.month)) {
      for (const auto& entry : *held) {
        const auto found = byDay.find(entry->date);
        if (found != byDay.end() && accountKeys.contains(entry->accountKey)) found->second.push_back(*entry);
      }
    } else {
      TEntriesOnAccounts each(accountKeys, byDay);
      (void)data.ReadMonthLines(ymd.year, ymd.month, each);
    }
    day = byDay.upper_bound(monthEnd);
  }
}

// Why a mapped entry cannot be booked; empty when it can.
std::string EntryProblem(const TkzmEntry& entry) {
  if (entry.categoryKey == entry.accountKey) return "同じ口座のあいだの振替です（" + KeyName(entry.accountKey) + "）";
  return {};
}

}  // namespace

namespace {

// The id a row of the export is kept under, apart from the ids of bank statements, so that
// a bank's id never makes an export's row look imported; empty when the row has none.
std::string LedgerSourceId(const TLedgerRow& row) { return row.sourceId.empty() ? "" : "ledger:" + row.sourceId; }

}  // namespace

bool TLedgerImport::Read(const std::string& path, std::string& error) {
  std::string bytes;
  int code = 0;
  const std::string head = "書き出しファイル「" + path + "」を読み込めません。\n";
  switch (ReadFileUpTo(path, kMaxLedgerFileSize, bytes, &code)) {
    case TReadStatus::rsRead: break;
    case TReadStatus::rsMissing: error = head + "ファイルがありません。"; return false;
    case TReadStatus::rsTooLarge: error = head + "ファイルが大きすぎます（読めるのは64 MBまでです）。"; return false;
    case TReadStatus::rsFailed: error = head + SystemErrorText(code); return false;
  }
  TLedgerExport ledger;
  if (!ReadLedgerExport(bytes, ledger, error)) {
    error = head + error;
    return false;
  }
  SetExport(std::move(ledger));
  return true;
}

void TLedgerImport::SetExport(TLedgerExport ledger) {
  m_formatName = std::move(ledger.formatName);
  m_rows.clear();
  m_rows.reserve(ledger.rows.size());
  for (TLedgerRow& row : ledger.rows) {
    TLedgerImportRow imported;
    imported.row = std::move(row);
    imported.problem = imported.row.problem;
    m_rows.push_back(std::move(imported));
  }
}

std::vector<TLedgerMapLine> TLedgerImport::MapLines() const {
  std::vector<TLedgerMapLine> accounts;
  std::vector<TLedgerMapLine> categories;
  auto countAccount = [&](const std::string& name) {
    auto found = std::find_if(accounts.begin(), accounts.end(), [&](const TLedgerMapLine& l) { return l.upper == name; });
    if (found == accounts.end()) {
      accounts.push_back({true, kKindAsset, name, "", KeyName(m_mapping.AccountKey(name)), 0});
      found = accounts.end() - 1;
    }
    ++found->rows;
  };
  for (const TLedgerImportRow& imported : m_rows) {
    const TLedgerRow& row = imported.row;
    if (!row.Readable()) continue;
    countAccount(row.account);
    if (row.move == TLedgerMove::lmTransfer) {
      countAccount(row.toAccount);
      continue;
    }
    const int kind = KindOfMove(row.move);
    auto found = std::find_if(categories.begin(), categories.end(), [&](const TLedgerMapLine& l) {
      return l.kind == kind && l.upper == row.category && l.lower == row.subcategory;
    });
    if (found == categories.end()) {
      categories.push_back({false, kind, row.category, row.subcategory, KeyName(m_mapping.CategoryKey(row)), 0});
      found = categories.end() - 1;
    }
    ++found->rows;
  }
  accounts.insert(accounts.end(), categories.begin(), categories.end());
  return accounts;
}

void TLedgerImport::Choose(const TLedgerMapLine& line, const std::string& ours) {
  if (line.account) {
    m_mapping.ChooseAccount(line.upper, ours);
  } else {
    m_mapping.Choose(line.kind, line.upper, line.lower, ours.empty() ? (line.upper.empty() ? "未分類" : line.upper) : ours);
  }
}

void TLedgerImport::Classify(const TImportedIds& ids, TkzmDataUnit& data) {
  std::vector<size_t> order;
  for (size_t i = 0; i < m_rows.size(); ++i) {
    TLedgerImportRow& imported = m_rows[i];
    imported.already = false;
    imported.ticked = false;
    imported.problem = imported.row.problem;
    if (!imported.row.Readable()) continue;
    imported.entry = EntryForLedgerRow(imported.row, m_mapping);
    imported.problem = EntryProblem(imported.entry);
    if (!imported.Bookable()) continue;
    imported.already = ids.Contains(imported.entry.accountKey, LedgerSourceId(imported.row));
    if (!imported.already) order.push_back(i);
  }
  std::map<TDayNumber, std::vector<TkzmEntry>> byDay;
  std::set<std::string> accountKeys;
  for (const size_t i : order) {
    byDay[m_rows[i].entry.date];
    accountKeys.insert(m_rows[i].entry.accountKey);
  }
  CollectDayEntries(data, accountKeys, byDay);
  // Each entry of a day stands for one row at most: two alike rows against one booked entry
  // leave one of them new.
  std::map<TDayNumber, std::vector<bool>> claimed;
  for (const size_t i : order) {
    TLedgerImportRow& imported = m_rows[i];
    const std::vector<TkzmEntry>& dayEntries = byDay[imported.entry.date];
    std::vector<bool>& taken = claimed[imported.entry.date];
    taken.resize(dayEntries.size(), false);
    for (size_t k = 0; k < dayEntries.size(); ++k) {
      if (taken[k] || !SameMovement(dayEntries[k], imported.entry)) continue;
      taken[k] = true;
      imported.already = true;
      break;
    }
  }
  for (TLedgerImportRow& imported : m_rows) imported.ticked = imported.Bookable() && !imported.already;
}

void TLedgerImport::SetTicked(int index, bool ticked) {
  TLedgerImportRow& imported = m_rows.at(static_cast<size_t>(index));
  imported.ticked = ticked && imported.Bookable() && imported.entry.date != 0;
}

TLedgerCounts TLedgerImport::Counts() const {
  TLedgerCounts counts;
  counts.rows = Count();
  std::vector<TStatementRow> unbooked;
  for (const TLedgerImportRow& imported : m_rows) {
    if (!imported.Bookable()) {
      ++counts.notBookable;
      TStatementRow row;
      row.problem = imported.problem;
      unbooked.push_back(std::move(row));
    }
    if (imported.Bookable() && imported.already) ++counts.already;
    if (imported.ticked) ++counts.ticked;
  }
  counts.reasons = UnbookedReasons(unbooked);
  return counts;
}

std::vector<std::string> TLedgerImport::CategoriesToAdd(const THeadList& categories) const {
  std::vector<TkzmEntry> entries;
  for (const TLedgerImportRow& imported : m_rows) {
    if (imported.ticked) entries.push_back(imported.entry);
  }
  return MissingCategories(entries, categories);
}

TBookOutcome BookLedgerImport(const TLedgerImport& import, TkzmDataUnit& data, const std::string& passbookFolder,
                              TImportedIds& ids, const std::function<void(int, int)>& progress) {
  std::vector<TImportedEntry> entries;
  for (int i = 0; i < import.Count(); ++i) {
    const TLedgerImportRow& imported = import.Row(i);
    if (imported.ticked) entries.push_back({imported.entry, LedgerSourceId(imported.row)});
  }
  return BookEntries(std::move(entries), "", data, passbookFolder, ids, progress);
}

}  // namespace kzm
