// Any bytes read as a statement without crashing; what is accepted has at least one readable
// row, and every readable row has a real date, an amount other than 0 and text that is UTF-8.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "foundation/Codec.h"
#include "foundation/Utf8.h"
#include "passbook/Categories.h"
#include "statement/LedgerExport.h"
#include "statement/LedgerImport.h"
#include "statement/StatementAmounts.h"
#include "statement/StatementDates.h"
#include "statement/StatementReader.h"
#include "statement/WidthFold.h"

namespace {

bool IsUtf8(std::string_view text) {
  for (size_t pos = 0; pos < text.size();) {
    if (kzm::NextUtf8(text, pos) == kzm::kInvalidUtf8) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  kzm::TStatement statement;
  std::string error;
  if (kzm::ReadStatementBytes(bytes, kzm::BuiltInLayouts(), statement, error)) {
    bool readable = false;
    for (const kzm::TStatementRow& row : statement.rows) {
      if (!row.Readable()) continue;
      readable = true;
      if (row.date <= 0 || row.amount == 0 || !IsUtf8(row.text)) std::abort();
    }
    if (!readable) std::abort();
  } else if (error.empty()) {
    std::abort();
  }
  // Household-ledger exports: a row brought in moves a positive amount on a real day.
  kzm::TLedgerExport ledger;
  if (kzm::ReadLedgerExport(bytes, ledger, error)) {
    for (const kzm::TLedgerRow& row : ledger.rows) {
      if (row.Readable() && (row.date <= 0 || row.amount <= 0 || row.account.empty())) std::abort();
    }
    // Renamed in the mapping table, every row still becomes an entry the month files can hold.
    kzm::TLedgerImport import;
    import.SetExport(ledger);
    for (const kzm::TLedgerMapLine& line : import.MapLines()) import.Choose(line, line.upper + "'");
    kzm::TLedgerMapping mapping;
    for (const kzm::TLedgerRow& row : ledger.rows) {
      if (!row.Readable()) continue;
      mapping.ChooseAccount(row.account, row.toAccount);
      const kzm::TkzmEntry entry = kzm::EntryForLedgerRow(row, mapping);
      if (entry.amount <= 0 || !kzm::IsCp932Encodable(entry.itemText + entry.note + kzm::KeyName(entry.categoryKey) +
                                                       kzm::KeyName(entry.accountKey))) {
        std::abort();
      }
    }
  }
  int32_t amount = 0;
  (void)kzm::ReadStatementAmount(bytes, amount);
  (void)kzm::ReadStatementDate(bytes);
  (void)kzm::DateNamedInText(bytes);
  (void)kzm::NormaliseStatementText(bytes);
  return 0;
}
