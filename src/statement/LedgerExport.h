#pragma once

// Moving in from another household-ledger service: its full-history CSV export read into
// moves between accounts, with the service's two levels of categories mapped to this
// passbook's categories, so that years of history come in at once.
//
// Two exports are known, told apart by their header:
// - "計算対象,日付,内容,金額（円）,保有金融機関,大項目,中項目,メモ,振替,ID": one signed amount
//   (negative: money out of 保有金融機関); a transfer (振替 = 1) is written as two rows, one
//   per account, which are paired into one move; rows left out of the totals (計算対象 = 0)
//   that are no transfer are left out here too.
// - "日付,方法,カテゴリ,カテゴリの内訳,支払元,入金先,品目,メモ,お店,通貨,収入,支出,振替,…":
//   方法 says payment, income or transfer; the amount is in the column of that name.

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Dates.h"
#include "passbook/MonthEntry.h"

namespace kzm {

class THeadList;

enum class TLedgerMove : uint8_t { lmPayment, lmReceipt, lmTransfer };

struct TLedgerRow {
  int line = 0;  // the file's line (from 1)
  TDayNumber date = 0;
  int32_t amount = 0;  // positive
  TLedgerMove move = TLedgerMove::lmPayment;
  std::string account;    // paid from, received into, or (a transfer) moved from
  std::string toAccount;  // a transfer: moved into
  std::string category;   // the service's upper category
  std::string subcategory;
  std::string text;
  std::string note;
  std::string sourceId;
  std::string problem;  // why the row is not brought in; empty when it is
  [[nodiscard]] bool Readable() const { return problem.empty(); }
};

struct TLedgerExport {
  std::string formatName;
  std::vector<TLedgerRow> rows;  // a paired transfer is one row
};

// Reads an export (any encoding a statement may have). False, with the reason in error, for a
// file that is neither export or has no readable row.
[[nodiscard]] bool ReadLedgerExport(std::string_view bytes, TLedgerExport& ledger, std::string& error);

// Which of the passbook's categories each of the service's categories becomes: by default
// the category of the upper name (or 未分類 without one), of the kind the move needs. The
// user's choices override it; each is for one kind, upper and lower name.
class TLedgerMapping {
 public:
  // Sets the category for a kind's upper/lower pair; an empty lower name stands for every
  // lower name under the upper one that has no choice of its own.
  void Choose(int kind, const std::string& category, const std::string& subcategory, const std::string& name);
  // The passbook category key the row's category maps to (payments and receipts).
  [[nodiscard]] std::string CategoryKey(const TLedgerRow& row) const;
  // Sets the asset an account of the export becomes; an empty name goes back to the
  // account's own name.
  void ChooseAccount(const std::string& account, const std::string& name);
  // The passbook asset key the export's account maps to.
  [[nodiscard]] std::string AccountKey(const std::string& account) const;

 private:
  struct TChoice {
    int kind;
    std::string category, subcategory, name;
  };
  std::vector<TChoice> m_choices;
  std::map<std::string, std::string> m_accounts;  // the export's name -> the passbook's
};

// The entry a readable row becomes: a payment from or a receipt into the asset its account
// maps to; a transfer a move from one asset into the other. The lower category is kept in
// the entry's note, before the row's own memo. Characters the month files cannot hold are
// replaced as a statement's are.
[[nodiscard]] TkzmEntry EntryForLedgerRow(const TLedgerRow& row, const TLedgerMapping& mapping);

// The category and account keys the entries use that categories lacks, in first-use order:
// the categories a move-in adds to the passbook.
[[nodiscard]] std::vector<std::string> MissingCategories(const std::vector<TkzmEntry>& entries,
                                                         const THeadList& categories);

}  // namespace kzm
