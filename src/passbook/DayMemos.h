#pragma once

// Day memos: the memo entry of a day in the month data. Its category and account are both
// the memo key, its item text is the memo (lines joined by CR LF), its amount is 0, and its
// note is carried along unchanged. The daily window edits one day's memo, the month memo
// window those of a whole period.

#include <string>
#include <vector>

#include "foundation/Dates.h"

namespace kzm {

// MakeKey("メモ", memo kind): the category and the account of every day memo.
[[nodiscard]] const std::string& MemoKey();

struct TDayMemo {
  TDayNumber day = 0;
  std::string text;
  std::string note;
};

// The memo of the month data's current day: the last memo entry when the day has several,
// empty text and note when it has none.
[[nodiscard]] TDayMemo CurrentDayMemo();

// Adds the memo entry of the current day, unless text and note are both empty (an emptied
// memo thus leaves no entry behind).
void AddDayMemo(const std::string& text, const std::string& note);

// Every memo entry of the days first..last, in date order, each day's in entry order.
// Selects each day in turn.
[[nodiscard]] std::vector<TDayMemo> DayMemosOfPeriod(TDayNumber first, TDayNumber last);

// Index of the current day's first memo entry in the month data, -1 when it has none.
[[nodiscard]] int FirstMemoIndexOfDay();

}  // namespace kzm
