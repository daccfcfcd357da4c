#pragma once

// Moving in from another household-ledger service as one import: the export read, its
// accounts and categories mapped to this passbook's (the user may change each), every row
// marked when the passbook already holds it, and the ticked rows booked as the last import,
// which undo takes back as it does a statement's.

#include <functional>
#include <string>
#include <vector>

#include "passbook/MonthEntry.h"
#include "statement/LedgerExport.h"
#include "statement/StatementImport.h"

namespace kzm {

class TImportedIds;
class TkzmDataUnit;

struct TLedgerImportRow {
  TLedgerRow row;
  TkzmEntry entry;        // as it would be booked with the mapping of the last Classify
  std::string problem;    // the row's own, or why its entry cannot be booked; empty when it can
  bool already = false;   // the passbook holds it: its id was brought in before, or its day holds an entry like it
  bool ticked = false;    // to be booked; never for a row with a problem
  [[nodiscard]] bool Bookable() const { return problem.empty(); }
};

struct TLedgerCounts {
  int rows = 0;
  int notBookable = 0;
  int already = 0;
  int ticked = 0;
  std::string reasons;  // why rows are not booked, each reason with its count
};

// One line of the mapping table: an account of the export and the asset it becomes, or a
// category (upper and lower name, for payments or receipts) and the category it becomes.
struct TLedgerMapLine {
  bool account = false;
  int kind = 0;           // category lines: kKindPayment or kKindReceipt
  std::string upper;      // the account's name, or the upper category
  std::string lower;      // category lines: the lower category; may be empty
  std::string ours;       // the passbook's name it becomes now
  int rows = 0;           // readable rows that use it
};

class TLedgerImport {
 public:
  // Reads the export file; see ReadLedgerExport.
  bool Read(const std::string& path, std::string& error);
  // Takes an export already read (for tests).
  void SetExport(TLedgerExport ledger);

  [[nodiscard]] const std::string& FormatName() const { return m_formatName; }
  [[nodiscard]] int Count() const { return static_cast<int>(m_rows.size()); }
  [[nodiscard]] const TLedgerImportRow& Row(int index) const { return m_rows.at(static_cast<size_t>(index)); }

  // The export's accounts (first) and categories, each once in first-use order, with what
  // each becomes under the current mapping.
  [[nodiscard]] std::vector<TLedgerMapLine> MapLines() const;
  // Sets what a line becomes (an empty name: its default). A category line without a lower
  // name stands for every lower name under its upper one that has no choice of its own.
  // Classify again afterwards.
  void Choose(const TLedgerMapLine& line, const std::string& ours);

  // Makes each row's entry with the current mapping and marks the rows the passbook already
  // holds: the row's id was brought into its account before, or its day holds an entry on
  // the same accounts, of the same kind, amount and text that no other row of the export
  // stands for (the category and note may have changed since, as a new mapping changes
  // them). New rows are ticked, rows already held are not; ticks the user set are set again.
  // No month is loaded for it: the data's day stays.
  void Classify(const TImportedIds& ids, TkzmDataUnit& data);
  // Ticks or unticks a row; a row with a problem stays unticked.
  void SetTicked(int index, bool ticked);

  [[nodiscard]] TLedgerCounts Counts() const;
  // The categories and accounts the ticked rows use that categories lacks: what booking adds.
  [[nodiscard]] std::vector<std::string> CategoriesToAdd(const THeadList& categories) const;

 private:
  std::string m_formatName;
  std::vector<TLedgerImportRow> m_rows;
  TLedgerMapping m_mapping;
};

// Books the ticked rows as BookEntries does (categories and accounts the passbook lacks are
// added, the record goes down first, undo takes it back).
TBookOutcome BookLedgerImport(const TLedgerImport& import, TkzmDataUnit& data, const std::string& passbookFolder,
                              TImportedIds& ids, const std::function<void(int written, int months)>& progress = {});

}  // namespace kzm
