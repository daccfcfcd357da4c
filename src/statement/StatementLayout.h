#pragma once

// The layouts of statement files: which columns hold the date, the text, the amounts and the
// bank's own id of a row, and how a file of that layout is recognised. A layout with a
// header signature is recognised by a line (among the first lines) that holds every cell of
// the signature; its columns are then found by their header names. A layout without one
// names its columns by number and is recognised by its first rows reading as rows.

#include <string>
#include <vector>

namespace kzm {

// Where a column is: the first of names found in the header line, or without a header the
// column number from 0; -1 when the layout has no such column. With names and a number, the
// number is where the column is when none of the names is found (a damaged first cell).
struct TColumnRef {
  std::vector<std::string> names;
  int index = -1;
};

struct TStatementLayout {
  std::string name;                    // shown to the user; a preset's name
  std::vector<std::string> signature = {};  // header cells, compared width-folded; empty: no header
  TColumnRef date = {};
  TColumnRef text = {};
  TColumnRef out = {};      // amount leaving the account
  TColumnRef in = {};       // amount coming in
  TColumnRef signed_ = {};  // one column for both: negative leaves the account
  TColumnRef id = {};       // the bank's id of a row, when it gives one
  // Card files list spending as positive amounts and refunds as negative ones.
  bool spendingPositive = false;
  int skipLines = 0;  // without a header: lines before the first row
  TColumnRef text2 = {};       // a second text column, joined to the first with a blank
  TColumnRef month = {};       // with dayOfMonth: a date split over columns; date holds the year
  TColumnRef dayOfMonth = {};
  TColumnRef balance = {};     // the account's balance after the row
  // A column saying what the row is, when that (not the amount) tells money in from money
  // out: the amount is read unsigned, kinds in inKinds come in, kinds in outKinds leave, and
  // a row of any other kind is not read.
  TColumnRef kind = {};
  std::vector<std::string> inKinds = {};
  std::vector<std::string> outKinds = {};
  TColumnRef currency = {};    // rows in another currency than yen are not read
  bool zeroIsRecord = false;   // a 0-yen row records something that moved no money (a gate passed)
  // Recognised by its columns' names, not by a fixed header: a line is the header when the
  // date, the text and the amount columns are found among its cells. Which column means what
  // is then a guess from the words, which the balance column (when there is one) must confirm.
  bool byNames = false;
  // text and text2 are where a ride began and ended ("新宿→渋谷"); a row that is no ride (a
  // shop, a charge) takes its text from note, as does a row whose text columns are empty.
  bool rides = false;
  TColumnRef note = {};
  // Money coming in is a charge, moved from another account of the person's, not income: the
  // account is told by chargeSource (or note) in words such as 銀行口座, ポイント, ｵｰﾄﾁｬｰｼﾞ.
  bool chargeIn = false;
  TColumnRef chargeSource = {};
  // With a kind column: kinds that are charges (money in, moved from the account chargeSource
  // names), kinds that move no money (points taken onto the card), and kinds ending in
  // moveSuffix, a balance moved between two cards of the person's.
  std::vector<std::string> chargeKinds = {};
  std::vector<std::string> noMoneyKinds = {};
  std::string moveSuffix = {};
  // Money coming in whose note holds one of these words is a charge (a card funding a
  // payment), moved from the account the note names.
  std::vector<std::string> chargeNotes = {};
  // A card file without a header, told by the shape of its rows: who used the card (本人,
  // 家族), the payment plan (1回払い, リボ…) and the billing month (yy/m).
  TColumnRef who = {};
  TColumnRef plan = {};
  TColumnRef billed = {};
};

// The layouts the program knows: banks, cards, prepaid and transit cards and payment apps.
[[nodiscard]] const std::vector<TStatementLayout>& BuiltInLayouts();

// Column numbers of a layout in one file, -1 where it has none.
struct TColumns {
  int date = -1;
  int text = -1;
  int out = -1;
  int in = -1;
  int signed_ = -1;
  int id = -1;
  int text2 = -1;
  int month = -1;
  int dayOfMonth = -1;
  int balance = -1;
  int kind = -1;
  int currency = -1;
  int note = -1;
  int chargeSource = -1;
  int who = -1;
  int plan = -1;
  int billed = -1;
};

// The columns of layout under header (the header line's cells). A name finds a cell that is
// that name or that name followed by a bracketed note ("入金金額" finds "入金金額（円）"). False
// when the header lacks the date or any amount, date part or kind column the layout needs.
[[nodiscard]] bool ResolveColumns(const TStatementLayout& layout, const std::vector<std::string>& header,
                                  TColumns& columns);

// Whether the cells of a line hold every cell of the layout's signature (width-folded,
// blanks collapsed; a cell may add a bracketed note as above); for a layout recognised by
// its names, whether the line names its date, text and amount columns.
[[nodiscard]] bool MatchesSignature(const TStatementLayout& layout, const std::vector<std::string>& cells);

}  // namespace kzm
