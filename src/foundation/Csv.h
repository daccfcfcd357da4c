#pragma once

// The CSV dialect of the month files and of the search export.
//
// A field holding "," (or starting with a double quote, or holding two in a row) is written
// in double quotes with its double quotes doubled; a line break inside a field is written as
// the two characters "\n". Any other field is written as it is. Reading undoes both.
//
// "\" is plain text except right before the places where it would change the reading: a run
// of backslashes before the letter n, before a line break, and inside quotes before a double
// quote or the closing quote is written doubled. Reading halves such a run: an even run
// before n is that many halved backslashes and the letter n, an odd one before n ends in a
// line break ("\n" alone, as older files have it). An odd run before a quote inside quotes
// keeps the older reading: the quote neither closes the field nor is the run halved. So every
// text reads back as written, except that a lone CR or LF comes back as CR LF, and files of
// the older writer read as before wherever their text was not ambiguous.

#include <string>
#include <string_view>
#include <vector>

namespace kzm {

// Splits one line into its fields (list is replaced). An empty line gives one empty field;
// a line ending in "," ends with an empty field. A quote field left unclosed runs to the end
// of the line. Works on characters, so a field ending in a character such as ソ closes.
void CsvSplit(std::string_view line, std::vector<std::string>& list);
[[nodiscard]] std::vector<std::string> CsvSplit(std::string_view line);
// The same fields as views (fields is replaced), for reading many lines: they point into line
// when no field needs unescaping, as in nearly every line; otherwise into texts, which
// CsvSplit replaces and which must then outlive the views.
void CsvSplitViews(std::string_view line, std::vector<std::string_view>& fields,
                   std::vector<std::string>& texts);

// Joins fields into one line, nothing added at the end; CsvSplit gives the fields back.
[[nodiscard]] std::string CsvJoin(const std::vector<std::string>& list);

// A text field of an export meant for spreadsheets: one that begins with "=", "+", "-", "@",
// a tab or a carriage return gets a leading "'", so a spreadsheet shows it as text instead of
// running it as a formula. Numbers are not text fields and are written as they are.
[[nodiscard]] std::string SpreadsheetText(std::string_view text);

}  // namespace kzm
