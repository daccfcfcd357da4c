#pragma once

// One import of a statement into the open passbook, as the preview window and the command
// line drive it: read the file, classify its rows (category from the text rules, duplicate
// mark against the passbook), let the user tick rows and choose categories, book the ticked
// rows into the month files, and undo the last import.

#include <functional>
#include <string>
#include <vector>

#include "passbook/MonthEntry.h"
#include "statement/DuplicateCheck.h"
#include "statement/StatementReader.h"

namespace kzm {

class THeadList;
class TkzmDataUnit;
class TTextRules;
class TImportedIds;
class TStatementPresets;
struct TImportedEntry;

struct TImportRow {
  TStatementRow row;
  std::string categoryKey;  // empty: not categorised; booked under 未分類
  bool fromRule = false;    // categoryKey came from a text rule, not from the user
  TDuplicate duplicate = TDuplicate::dNew;
  bool ticked = false;      // to be booked; never for an unreadable row
};

struct TImportCounts {
  int rows = 0;
  int unreadable = 0;  // rows that cannot be read
  int noMoney = 0;     // rows that record no money (0-yen gate records): not booked, no fault
  int ticked = 0;
  int likely = 0;
  int certain = 0;
  std::string reasons;  // why rows are not booked, each reason with its count; see UnbookedReasons
};

class TStatementImport {
 public:
  // Reads the statement with the first of layouts it matches; see ReadStatementFile.
  bool Read(const std::string& path, const std::vector<TStatementLayout>& layouts, std::string& error);
  // Takes rows already read (for tests and benchmarks).
  void SetStatement(TStatement statement);

  // What the statement file was read as; its rows are the import's rows (Row).
  [[nodiscard]] const TStatement& Statement() const { return m_statement; }
  [[nodiscard]] int Count() const { return static_cast<int>(m_rows.size()); }
  [[nodiscard]] const TImportRow& Row(int index) const { return m_rows.at(static_cast<size_t>(index)); }
  [[nodiscard]] const std::string& AccountKey() const { return m_accountKey; }
  // The statement's rows as read, in file order (a copy).
  [[nodiscard]] std::vector<TStatementRow> Rows() const;

  // Marks every readable row for booking into accountKey: the category of the text rule
  // that fits, where the user has not chosen one; the duplicate mark against the entries of
  // data within ±days; ticked when new. Rows the user ticked or unticked are set again.
  void Classify(const std::string& accountKey, const THeadList& categories, const TTextRules& rules,
                const TImportedIds& ids, TkzmDataUnit& data, int days = kDefaultDuplicateDays);
  // Sets the category of the text rule that fits on every readable row the user has not
  // categorised, leaving ticks and marks alone.
  void ApplyRules(const THeadList& categories, const TTextRules& rules);
  // Ticks or unticks a row; an unreadable row stays unticked.
  void SetTicked(int index, bool ticked);
  // The user's category for a row (empty: none); text rules leave it alone from now on.
  void ChooseCategory(int index, const std::string& categoryKey);

  [[nodiscard]] TImportCounts Counts() const;

 private:
  TStatement m_statement;
  std::vector<TImportRow> m_rows;
  std::string m_accountKey;
};

// The layouts an import tries: only the preset named, or (no name) the built-in layouts and
// then the passbook's presets. False, with the reason in error, for a name no preset has.
bool LayoutsFor(const TStatementPresets& presets, const std::string& presetName,
                std::vector<TStatementLayout>& layouts, std::string& error);

// The category a row is booked under: its own when it can be booked on the account, else
// 未分類, as a payment for money leaving the account, as a receipt for money coming in.
[[nodiscard]] std::string BookedCategory(const TImportRow& row, const std::string& accountKey);

// The entry a row becomes: a payment or receipt category books on the account (a refund on
// a payment category as a negative payment); an asset category makes a move between it and
// the account. The item text is the statement text, with characters the month files cannot
// hold replaced by 〓.
[[nodiscard]] TkzmEntry EntryForRow(const TImportRow& row, const std::string& accountKey);

// Characters the month files (CP932) cannot hold become their Windows look-alike or 〓, so
// that one emoji in a UTF-8 file does not stop its month from being written.
[[nodiscard]] std::string Cp932Safe(const std::string& text);

struct TBookOutcome {
  int added = 0;
  bool failed = false;  // a month could not be written: the booking stopped there
  bool carryFailed = false;  // all booked, but the later months' balances wait for the next open
  std::string message;  // for the user
};

// Books the ticked rows into the month data, month by month, each month written to its file
// before the next is read; a month that cannot be written is left as it was and the booking
// stops there. Categories the passbook lacks (未分類 the first time) are added to it. Before
// the first month changes, the entries to add are recorded as the last import, marked
// incomplete (nothing is booked when that record cannot be written, nor when the record of
// the import before is there but cannot be read: it is never written over); at the end the record
// holds the entries added, marked complete when every month was written, and the rows' bank
// ids are kept as imported; the accounting months concerned are summarised again. data is the
// program's month data; it must hold no unsaved changes of its own (they are saved first).
// progress (when given) is told before each month is written and once after the last, with
// the months written so far and the months in all.
TBookOutcome BookImport(const TStatementImport& import, TkzmDataUnit& data, const std::string& passbookFolder,
                        TImportedIds& ids, const std::function<void(int written, int months)>& progress = {});

// Books entries on any accounts as one import, in the same way: categories and accounts the
// passbook lacks are added, the record is written before the first month changes and marked
// complete at the end. The entries' ids are kept under idAccountKey (empty: under each
// entry's own account).
TBookOutcome BookEntries(std::vector<TImportedEntry> entries, const std::string& idAccountKey, TkzmDataUnit& data,
                         const std::string& passbookFolder, TImportedIds& ids,
                         const std::function<void(int written, int months)>& progress = {});

struct TUndoOutcome {
  int removed = 0;
  int notRemoved = 0;   // changed or deleted since the import (or, when incomplete, never added)
  bool nothing = false;  // there was no import to undo
  bool incomplete = false;  // the import undone had stopped before its end
  bool failed = false;
  bool carryFailed = false;  // all removed, but the later months' balances wait for the next open
  std::string message;  // for the user
};

// Removes the entries of the last import that are still as the import added them, month by
// month, and forgets the import. Entries changed since stay and are counted. A day keeps as
// many entries alike as it had before the import, so an import that stopped part way loses
// just what it added, and entries of other imports or typed by hand stay. A record that
// cannot be read whole (cut short, garbled) undoes nothing and stays as it is.
TUndoOutcome UndoLastImport(TkzmDataUnit& data, const std::string& passbookFolder, TImportedIds& ids);

// What to tell the user when the last import stopped before its end (it can still be undone)
// or its record cannot be read (no import is booked until it is moved away); empty when it ran
// to its end or there is none.
[[nodiscard]] std::string IncompleteImportNotice(const std::string& passbookFolder);

}  // namespace kzm
