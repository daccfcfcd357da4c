#include "statement/StatementImport.h"

#include <algorithm>

#include "foundation/Codec.h"
#include "foundation/Utf8.h"
#include "passbook/Categories.h"
#include "statement/ImportHistory.h"
#include "statement/StatementPresets.h"
#include "statement/TextRules.h"
#include "statement/WidthFold.h"

namespace kzm {

namespace {

// Characters that JIS-minded programs write where Windows uses a look-alike; the month files
// hold the Windows one.
std::string_view WindowsLookAlike(char32_t cp) {
  switch (cp) {
    case 0x301C: return "～";  // wave dash
    case 0x2212: return "－";  // minus sign
    case 0x2016: return "∥";  // double vertical line
    case 0x2014: return "―";  // em dash
    case 0x00A2: return "￠";
    case 0x00A3: return "￡";
    case 0x00AC: return "￢";
    default: return {};
  }
}

}  // namespace

std::string Cp932Safe(const std::string& text) {
  if (IsCp932Encodable(text)) return text;
  std::string safe;
  for (size_t pos = 0; pos < text.size();) {
    const size_t start = pos;
    const char32_t cp = NextUtf8(text, pos);
    const std::string one = text.substr(start, pos - start);
    if (cp != kInvalidUtf8 && IsCp932Encodable(one)) {
      safe += one;
    } else {
      const std::string_view alike = cp == kInvalidUtf8 ? std::string_view() : WindowsLookAlike(cp);
      safe += alike.empty() ? std::string_view("〓") : alike;
    }
  }
  return safe;
}

namespace {

bool IsBookable(const std::string& key, const std::string& accountKey) {
  const int kind = KeyKind(key);
  return (kind == kKindPayment || kind == kKindReceipt || kind == kKindAsset) && key != accountKey;
}

}  // namespace

bool TStatementImport::Read(const std::string& path, const std::vector<TStatementLayout>& layouts,
                            std::string& error) {
  TStatement statement;
  if (!ReadStatementFile(path, layouts, statement, error)) return false;
  SetStatement(std::move(statement));
  return true;
}

void TStatementImport::SetStatement(TStatement statement) {
  m_statement = std::move(statement);
  m_rows.clear();
  m_rows.reserve(m_statement.rows.size());
  for (TStatementRow& row : m_statement.rows) m_rows.push_back({std::move(row), {}, false, TDuplicate::dNew, false});
  m_statement.rows.clear();  // the rows live on in m_rows only
}

void TStatementImport::Classify(const std::string& accountKey, const THeadList& categories, const TTextRules& rules,
                                const TImportedIds& ids, TkzmDataUnit& data, int days) {
  m_accountKey = accountKey;
  ApplyRules(categories, rules);
  std::vector<TRowToCheck> checks;
  std::vector<size_t> checked;
  TDayNumber first = 0;
  TDayNumber last = 0;
  for (size_t i = 0; i < m_rows.size(); ++i) {
    TImportRow& row = m_rows[i];
    if (!row.row.Readable()) continue;
    // Compared as it would be booked, so that a row booked before is certain again.
    checks.push_back({row.row.date, row.row.amount, NormaliseStatementText(Cp932Safe(row.row.text)),
                      ids.Contains(accountKey, row.row.sourceId)});
    checked.push_back(i);
    first = first == 0 ? row.row.date : std::min(first, row.row.date);
    last = std::max(last, row.row.date);
  }
  std::vector<TAccountFlow> flows;
  if (!checks.empty()) flows = CollectAccountFlows(data, accountKey, first - days, last + days);
  const std::vector<TDuplicate> marks = FindDuplicates(checks, flows, days);
  for (size_t c = 0; c < checked.size(); ++c) {
    TImportRow& row = m_rows[checked[c]];
    row.duplicate = marks[c];
    row.ticked = marks[c] == TDuplicate::dNew;
  }
}

void TStatementImport::ApplyRules(const THeadList& categories, const TTextRules& rules) {
  for (TImportRow& row : m_rows) {
    if (!row.row.Readable() || !(row.categoryKey.empty() || row.fromRule)) continue;
    row.categoryKey = rules.CategoryFor(row.row.text, categories);
    // A charge is a move from the person's own account, unless a rule says what it is.
    if (row.categoryKey.empty() && !row.row.moveAccount.empty()) row.categoryKey = MakeKey(row.row.moveAccount, kKindAsset);
    row.fromRule = !row.categoryKey.empty();
  }
}

void TStatementImport::SetTicked(int index, bool ticked) {
  TImportRow& row = m_rows.at(static_cast<size_t>(index));
  row.ticked = ticked && row.row.Readable();
}

void TStatementImport::ChooseCategory(int index, const std::string& categoryKey) {
  TImportRow& row = m_rows.at(static_cast<size_t>(index));
  row.categoryKey = categoryKey;
  row.fromRule = false;
}

std::vector<TStatementRow> TStatementImport::Rows() const {
  std::vector<TStatementRow> rows;
  rows.reserve(m_rows.size());
  for (const TImportRow& row : m_rows) rows.push_back(row.row);
  return rows;
}

TImportCounts TStatementImport::Counts() const {
  TImportCounts counts;
  counts.rows = Count();
  std::vector<TStatementRow> unbooked;
  for (const TImportRow& row : m_rows) {
    if (!row.row.Readable()) unbooked.push_back(row.row);
    if (!row.row.Readable()) ++(row.row.noMoney ? counts.noMoney : counts.unreadable);
    if (row.ticked) ++counts.ticked;
    if (row.row.Readable() && row.duplicate == TDuplicate::dLikely) ++counts.likely;
    if (row.row.Readable() && row.duplicate == TDuplicate::dCertain) ++counts.certain;
  }
  counts.reasons = UnbookedReasons(unbooked);
  return counts;
}

bool LayoutsFor(const TStatementPresets& presets, const std::string& presetName,
                std::vector<TStatementLayout>& layouts, std::string& error) {
  layouts.clear();
  if (!presetName.empty()) {
    TStatementLayout preset;
    if (!presets.FindPreset(presetName, preset)) {
      error = "プリセット「" + presetName + "」がありません。";
      return false;
    }
    layouts.push_back(preset);
    return true;
  }
  layouts = BuiltInLayouts();
  // A preset known by its header comes before the guess from column names, so that a
  // correction of that guess is what reads the bank's next file.
  auto guess = std::find_if(layouts.begin(), layouts.end(), [](const TStatementLayout& l) { return l.byNames; });
  for (TStatementLayout& preset : presets.Presets()) {
    if (preset.signature.empty()) {
      layouts.push_back(std::move(preset));
    } else {
      guess = std::next(layouts.insert(guess, std::move(preset)));
    }
  }
  return true;
}

std::string BookedCategory(const TImportRow& row, const std::string& accountKey) {
  if (IsBookable(row.categoryKey, accountKey)) return row.categoryKey;
  return MakeKey("未分類", row.row.amount < 0 ? kKindPayment : kKindReceipt);
}

TkzmEntry EntryForRow(const TImportRow& row, const std::string& accountKey) {
  const int32_t flow = row.row.amount;
  const std::string category = BookedCategory(row, accountKey);
  TkzmEntry entry;
  entry.date = row.row.date;
  entry.itemText = Cp932Safe(row.row.text);
  switch (KeyKind(category)) {
    case kKindAsset:
      // A move: out of the account into the other asset, or from it into the account.
      entry.categoryKey = flow < 0 ? category : accountKey;
      entry.accountKey = flow < 0 ? accountKey : category;
      entry.amount = flow < 0 ? -flow : flow;
      break;
    case kKindReceipt:
      entry.categoryKey = category;
      entry.accountKey = accountKey;
      entry.amount = flow;
      break;
    default:
      entry.categoryKey = category;
      entry.accountKey = accountKey;
      entry.amount = -flow;
      break;
  }
  return entry;
}

}  // namespace kzm
