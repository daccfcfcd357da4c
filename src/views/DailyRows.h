#pragma once

// The rows of the daily grid as plain data: what a day looks like (a band per category of the
// grid's kind, the day's entries beneath it), where the blank row goes, the subtotals, and
// the rules the grid applies when keys or clicks move its cursor. The grid widget copies its
// cells into TDailyRows, calls these, and shows the result.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kzm {

class THeadList;
class TkzmDataUnit;

// Row-kind codes, the text of column 0. A band (category) row carries the grid kind + 1:
// 2 payment, 3 asset move, 4 receipt.
inline constexpr int kRowHeader = 0;
inline constexpr int kRowEntry = 1;
[[nodiscard]] constexpr int BandCode(int gridKind) { return gridKind + 1; }

// Columns of the grid.
inline constexpr int kColCode = 0;
inline constexpr int kColItem = 1;     // item text; the category key on a band row
inline constexpr int kColAmount = 2;   // amount with thousands separators; the band's subtotal
inline constexpr int kColAccount = 3;  // key of the asset paid from / into / moved from
inline constexpr int kColNote = 4;
inline constexpr int kDailyColCount = 5;

struct TDailyRow {
  int code = kRowEntry;
  std::string item;
  std::string amount;
  std::string account;
  std::string note;

  [[nodiscard]] bool IsEntry() const { return code == kRowEntry; }
  // An entry row with nothing typed into it (the account alone does not count).
  [[nodiscard]] bool IsBlank() const { return item.empty() && amount.empty() && note.empty(); }
};

// Row 0 is the column-header row, so indices are grid row numbers.
using TDailyRows = std::vector<TDailyRow>;

// The header row of a grid kind: "項目", "金額", then "支払元" (payment), "移動元" (asset
// move) or "入金先" (receipt), and "備考".
[[nodiscard]] TDailyRow DailyHeaderRow(int gridKind);
// Column 0 read as a decimal integer; 0 when it is not one.
[[nodiscard]] int RowCode(std::string_view text);

// The header, then for each category of gridKind in list order its band row and the current
// day's entries of that category, in month-data order. No blank row and no subtotals yet.
[[nodiscard]] TDailyRows LayoutDay(const THeadList& list, int gridKind, const TkzmDataUnit& data);

// The band row of the group row belongs to (row itself when it is a band); -1 when row is
// out of range or no band stands above it.
[[nodiscard]] int GroupRow(const TDailyRows& rows, int row);
// The list index of the category of row's group; -1 when there is none or its key is not in
// the list.
[[nodiscard]] int CategoryOfRow(const TDailyRows& rows, const THeadList& list, int row);
// Where the cursor goes back to when another day is loaded: the category of the row above
// the current one, else the first category of the grid's kind, else -1.
[[nodiscard]] int ReturnCategory(const TDailyRows& rows, const THeadList& list, int gridKind,
                                 int currentRow);

// Removes every entry row with nothing typed into it and gives entry rows without an account
// the first asset category of the list (they stay without one when the list has none).
void CompactRows(TDailyRows& rows, const THeadList& list);

enum class TBlankPlace : uint8_t { bpUnderBand = 0, bpGroupEnd = 1 };
// The row a blank entry row is inserted at for the category key: right under its band, or
// after the last entry of its group. -1 when the grid has no band for key.
[[nodiscard]] int BlankRowIndex(const TDailyRows& rows, std::string_view key, TBlankPlace place);
// Inserts an empty entry row at index (1 to rows.size()).
void InsertBlankRow(TDailyRows& rows, int index);
// Insert on an entry row that holds something: the rows are compacted and a blank row goes
// right below that entry, in its group. Returns the blank row's index, or -1 (rows untouched)
// when row is no entry or is blank itself, so a day never holds two blank rows.
int InsertBlankRowBelow(TDailyRows& rows, const THeadList& list, int row);

// Band texts: the sum of a payment or receipt band, empty when it is 0; for the asset-move
// grid, what moved into the account minus what moved out of it, "±0", "+7,000" or "-2,000".
[[nodiscard]] std::string SubtotalText(int gridKind, int64_t movedIn, int64_t movedOut);
// Sets the band texts. Uses the list as working storage: each category of the grid's kind
// gets the sum of its group as total and, in the asset-move grid, the sum of the moves out of
// it as balance.
void UpdateSubtotals(TDailyRows& rows, THeadList& list, int gridKind);

// Adds the entry rows that hold an item, an amount or a note to the month data's current day,
// each under the category of its group. An empty amount is stored as 0.
void StoreRows(const TDailyRows& rows, TkzmDataUnit& data);

// What an amount cell keeps of the typed text: "," removed, the expression evaluated, the
// whole number with thousands separators; empty for 0 and for anything that is no number
// ("1,000*3" gives "3,000", "abc" gives "").
[[nodiscard]] std::string AmountCellText(std::string_view typed);

// The passbook options that say which columns Enter visits.
struct TEnterOptions {
  bool item = true;     // Enter from the note column goes on to the next row's item
  bool amount = true;
  bool account = true;
  bool note = true;
};
// The column Enter moves to from col: 2 to 4 a column of the same row, 5 the next row, 6
// nowhere (the options skip every column that is left).
[[nodiscard]] int EnterTarget(int col, const TEnterOptions& options);

// What the grid does when the cursor is asked to move from currentRow to targetRow.
struct TSelectAnswer {
  bool allowed = false;
  bool scrollToTop = false;  // show row 1 (the first band), which the cursor never enters
  bool reopenEditor = false;
  // A band was hit: put the blank row into this category's group instead (-1: none).
  int placeCategory = -1;
  TBlankPlace place = TBlankPlace::bpGroupEnd;
  bool placeBlankRow = false;
};
// Entry rows may be entered. Stepping down onto a band puts the blank row at the top of that
// group, stepping up onto a band at the end of the group above, a jump onto a band at the end
// of that band's group. Stepping up from the first entry shows the first band instead.
[[nodiscard]] TSelectAnswer CheckSelect(const TDailyRows& rows, const THeadList& list,
                                        int currentRow, int targetRow);

// After a row was dragged: an entry row that ended up above the first band (row 1) trades
// places with the first band, becoming that band's first entry. Returns the band's old row,
// or -1 when nothing was wrong.
int RepairFirstRow(TDailyRows& rows);

}  // namespace kzm
