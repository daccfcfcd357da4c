#include "statement/LedgerExport.h"

#include <algorithm>
#include <cstdlib>

#include "foundation/Text.h"
#include "passbook/Categories.h"
#include "statement/StatementAmounts.h"
#include "statement/StatementCsv.h"
#include "statement/StatementDates.h"
#include "statement/StatementEncoding.h"
#include "statement/StatementImport.h"
#include "statement/StatementReader.h"
#include "statement/WidthFold.h"

namespace kzm {

namespace {

// The columns of a header line by their (width-folded) names.
class THeader {
 public:
  explicit THeader(const std::vector<std::string>& cells) {
    for (const std::string& cell : cells) m_names.push_back(NormaliseStatementText(cell));
  }
  [[nodiscard]] int Column(std::string_view name) const {
    const std::string wanted = NormaliseStatementText(name);
    for (size_t i = 0; i < m_names.size(); ++i) {
      if (m_names[i] == wanted) return static_cast<int>(i);
    }
    return -1;
  }
  [[nodiscard]] bool Has(std::initializer_list<std::string_view> names) const {
    return std::all_of(names.begin(), names.end(), [&](std::string_view name) { return Column(name) >= 0; });
  }

 private:
  std::vector<std::string> m_names;
};

std::string CellAt(const TStatementRecord& record, int column) {
  if (column < 0 || static_cast<size_t>(column) >= record.cells.size()) return {};
  return std::string(Trim(record.cells[static_cast<size_t>(column)]));
}

// The row's date, or why it has none.
bool ReadDate(const std::string& cell, TLedgerRow& row) {
  const TStatementDate date = ReadStatementDate(cell);
  if (date.day == 0) row.problem = "日付を読めません（" + cell + "）";
  row.date = date.day;
  return date.day != 0;
}

// 計算対象,日付,内容,金額（円）,保有金融機関,大項目,中項目,メモ,振替,ID
TLedgerRow ReadSignedRow(const TStatementRecord& record, const THeader& header) {
  auto cell = [&](std::string_view name) { return CellAt(record, header.Column(name)); };
  TLedgerRow row;
  row.line = record.line;
  row.text = cell("内容");
  row.account = cell("保有金融機関");
  row.category = cell("大項目");
  row.subcategory = cell("中項目");
  row.note = cell("メモ");
  row.sourceId = cell("ID");
  if (!ReadDate(cell("日付"), row)) return row;
  const bool transfer = cell("振替") == "1";
  if (!transfer && cell("計算対象") == "0") {
    row.problem = "計算対象外の行です";
    return row;
  }
  const std::string amountCell = cell("金額(円)");
  int32_t amount = 0;
  if (ReadStatementAmount(amountCell, amount) != TAmountRead::arValue || amount == 0 || amount == INT32_MIN) {
    row.problem = "金額を読めません（" + amountCell + "）";
    return row;
  }
  row.amount = std::abs(amount);
  row.move = transfer ? TLedgerMove::lmTransfer : amount < 0 ? TLedgerMove::lmPayment : TLedgerMove::lmReceipt;
  // A transfer's row into its account waits for its pair; see PairTransfers.
  if (transfer && amount > 0) row.toAccount = row.account;
  if (row.account.empty()) row.problem = "保有金融機関がありません";
  return row;
}

// The two rows of each transfer, out of one account and into another on the same day for
// the same amount, become one move; a half without its other half is not brought in.
void PairTransfers(std::vector<TLedgerRow>& rows) {
  std::vector<bool> gone(rows.size(), false);
  for (size_t i = 0; i < rows.size(); ++i) {
    TLedgerRow& out = rows[i];
    if (!out.Readable() || out.move != TLedgerMove::lmTransfer || !out.toAccount.empty() || gone[i]) continue;
    for (size_t j = 0; j < rows.size(); ++j) {
      const TLedgerRow& in = rows[j];
      if (gone[j] || !in.Readable() || in.move != TLedgerMove::lmTransfer || in.toAccount.empty() ||
          in.date != out.date || in.amount != out.amount || in.account == out.account) {
        continue;
      }
      out.toAccount = in.account;
      gone[j] = true;
      break;
    }
  }
  for (size_t i = 0; i < rows.size(); ++i) {
    TLedgerRow& row = rows[i];
    if (gone[i] || !row.Readable() || row.move != TLedgerMove::lmTransfer) continue;
    if (row.toAccount.empty() || row.toAccount == row.account) row.problem = "振替の相手の行がありません";
  }
  size_t kept = 0;
  for (size_t i = 0; i < rows.size(); ++i) {
    if (gone[i]) continue;
    if (kept != i) rows[kept] = std::move(rows[i]);
    ++kept;
  }
  rows.resize(kept);
}

// 日付,方法,カテゴリ,カテゴリの内訳,支払元,入金先,品目,メモ,お店,通貨,収入,支出,振替
TLedgerRow ReadMethodRow(const TStatementRecord& record, const THeader& header) {
  auto cell = [&](std::string_view name) { return CellAt(record, header.Column(name)); };
  TLedgerRow row;
  row.line = record.line;
  const std::string shop = cell("お店");
  const std::string item = cell("品目");
  row.text = shop.empty() || item.empty() ? shop + item : shop + " " + item;
  // "-" stands for no category (a transfer's).
  row.category = cell("カテゴリ") == "-" ? "" : cell("カテゴリ");
  row.subcategory = cell("カテゴリの内訳") == "-" ? "" : cell("カテゴリの内訳");
  row.note = cell("メモ");
  if (!ReadDate(cell("日付"), row)) return row;
  const std::string currency = cell("通貨");
  if (!currency.empty() && currency != "JPY") {
    row.problem = "円以外の通貨です（" + currency + "）";
    return row;
  }
  const std::string method = NormaliseStatementText(cell("方法"));
  std::string amountColumn;
  if (method == "payment" || method == "支出") {
    row.move = TLedgerMove::lmPayment;
    row.account = cell("支払元");
    amountColumn = "支出";
  } else if (method == "income" || method == "収入") {
    row.move = TLedgerMove::lmReceipt;
    row.account = cell("入金先");
    amountColumn = "収入";
  } else if (method == "transfer" || method == "振替") {
    row.move = TLedgerMove::lmTransfer;
    row.account = cell("支払元");
    row.toAccount = cell("入金先");
    amountColumn = "振替";
  } else {
    row.problem = "方法を読めません（" + cell("方法") + "）";
    return row;
  }
  const std::string amountCell = cell(amountColumn);
  int32_t amount = 0;
  if (ReadStatementAmount(amountCell, amount) != TAmountRead::arValue || amount <= 0) {
    row.problem = "金額を読めません（" + amountCell + "）";
  } else if (row.account.empty() || (row.move == TLedgerMove::lmTransfer && row.toAccount.empty())) {
    row.problem = "口座がありません";
  }
  row.amount = amount;
  return row;
}

}  // namespace

bool ReadLedgerExport(std::string_view bytes, TLedgerExport& ledger, std::string& error) {
  ledger = {};
  std::string text;
  TStatementEncoding encoding = TStatementEncoding::seCp932;
  if (!DecodeStatementBytes(bytes, text, encoding, error)) return false;
  const std::vector<TStatementRecord> records = SplitStatementRecords(text, GuessSeparator(text));
  for (size_t r = 0; r < records.size() && records[r].line <= kHeaderSearchLines; ++r) {
    const THeader header(records[r].cells);
    const bool signedAmount = header.Has({"計算対象", "日付", "内容", "金額(円)", "保有金融機関", "大項目", "中項目", "振替"});
    const bool method = header.Has({"日付", "方法", "カテゴリ", "カテゴリの内訳", "支払元", "入金先", "収入", "支出", "振替"});
    if (!signedAmount && !method) continue;
    ledger.formatName = signedAmount ? "家計簿（計算対象・大項目・中項目・振替）" : "家計簿（方法・カテゴリ・支払元・入金先）";
    for (size_t i = r + 1; i < records.size(); ++i) {
      ledger.rows.push_back(signedAmount ? ReadSignedRow(records[i], header) : ReadMethodRow(records[i], header));
    }
    if (signedAmount) PairTransfers(ledger.rows);
    if (std::none_of(ledger.rows.begin(), ledger.rows.end(), [](const TLedgerRow& row) { return row.Readable(); })) {
      error = "書き出しの行がひとつも読めません（形式「" + ledger.formatName + "」として読みました）。";
      return false;
    }
    return true;
  }
  error = "家計簿サービスの書き出しの形式を認識できません。";
  return false;
}

void TLedgerMapping::Choose(int kind, const std::string& category, const std::string& subcategory,
                            const std::string& name) {
  std::erase_if(m_choices, [&](const TChoice& c) {
    return c.kind == kind && c.category == category && c.subcategory == subcategory;
  });
  m_choices.push_back({kind, category, subcategory, name});
}

std::string TLedgerMapping::CategoryKey(const TLedgerRow& row) const {
  const int kind = row.move == TLedgerMove::lmReceipt ? kKindReceipt : kKindPayment;
  const TChoice* upper = nullptr;
  for (const TChoice& c : m_choices) {
    if (c.kind != kind || c.category != row.category) continue;
    if (c.subcategory == row.subcategory) return MakeKey(Cp932Safe(c.name), kind);
    if (c.subcategory.empty()) upper = &c;
  }
  if (upper != nullptr) return MakeKey(Cp932Safe(upper->name), kind);
  return MakeKey(row.category.empty() ? "未分類" : Cp932Safe(row.category), kind);
}

void TLedgerMapping::ChooseAccount(const std::string& account, const std::string& name) {
  if (name.empty() || name == account) {
    m_accounts.erase(account);
  } else {
    m_accounts[account] = name;
  }
}

std::string TLedgerMapping::AccountKey(const std::string& account) const {
  const auto found = m_accounts.find(account);
  return MakeKey(Cp932Safe(found == m_accounts.end() ? account : found->second), kKindAsset);
}

TkzmEntry EntryForLedgerRow(const TLedgerRow& row, const TLedgerMapping& mapping) {
  TkzmEntry entry;
  entry.date = row.date;
  entry.amount = row.amount;
  entry.itemText = Cp932Safe(row.text);
  const std::string lower = row.move == TLedgerMove::lmTransfer ? "" : row.subcategory;
  entry.note = Cp932Safe(lower.empty() || row.note.empty() ? lower + row.note : lower + " " + row.note);
  entry.accountKey = mapping.AccountKey(row.account);
  entry.categoryKey = row.move == TLedgerMove::lmTransfer ? mapping.AccountKey(row.toAccount) : mapping.CategoryKey(row);
  return entry;
}

std::vector<std::string> MissingCategories(const std::vector<TkzmEntry>& entries, const THeadList& categories) {
  std::vector<std::string> missing;
  for (const TkzmEntry& entry : entries) {
    for (const std::string* key : {&entry.accountKey, &entry.categoryKey}) {
      if (categories.IndexOfKey(*key) >= 0 || std::find(missing.begin(), missing.end(), *key) != missing.end()) continue;
      missing.push_back(*key);
    }
  }
  return missing;
}

}  // namespace kzm
