#pragma once

// The month memo window's document as plain text: for each day memo of a period, a date
// line "yyyy/mm/dd" followed by the memo's lines and an empty line. The user edits it
// freely; reading it back, any line that reads as a date starts the memo of that day.

#include <string>
#include <string_view>
#include <vector>

#include "foundation/Dates.h"
#include "passbook/DayMemos.h"

namespace kzm {

// The document text of memos: each memo as its date line, its text and an empty line, with
// "\n" between lines (CR LF inside a memo becomes "\n").
[[nodiscard]] std::string MemoDocumentText(const std::vector<TDayMemo>& memos);

// The day memos a document holds, in document order. A memo is the lines after its date
// line up to the next date line, joined by CR LF, with blanks and control characters trimmed
// from both ends; a date line with nothing under it gives an empty memo. Lines are separated
// by "\n" or CR LF. Text before the first date line belongs to no day and is dropped.
[[nodiscard]] std::vector<TDayMemo> ParseMemoDocument(std::string_view document);

// Whether some date line of the document names a day outside first..last.
[[nodiscard]] bool HasDateOutside(std::string_view document, TDayNumber first, TDayNumber last);

// Writes the document back into the month data. The first memo entry of every day of
// first..last is removed; then each memo of the document replaces the item text of its day's
// memo entry when the day still has one (a day outside the period, or one named twice), and
// otherwise becomes a new memo entry, which keeps the note of the entry removed from that
// day. An empty memo still gets its entry. The month data is then written through and every
// window is sent the data-changed notice for first..last. False when a month could not be
// written; the user has been told and the memos stay in memory.
bool StoreMemoDocument(std::string_view document, TDayNumber first, TDayNumber last);

}  // namespace kzm
