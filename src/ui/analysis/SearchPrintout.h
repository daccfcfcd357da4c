#pragma once

// The printed list of search results: a heading with the title picture, the count, the time
// of printing and the page number on every page, then one line per result.

#include "passbook/MonthEntry.h"

#include <string>
#include <vector>

class QWidget;

namespace kzm::ui {

class TFormPrintPreView;
struct TPagedPrintout;

// Draws the results on the preview's pages. printedAt is the time the heading shows
// ("yyyy/mm/dd hh:nn:ss").
void DrawSearchPrintout(TFormPrintPreView& preview, const std::vector<kzm::TkzmEntry>& results,
                        const std::string& printedAt);

// The same pages, each drawn by itself when the preview shows or prints it. results must
// outlive the printout.
[[nodiscard]] TPagedPrintout SearchPrintoutPages(const std::vector<kzm::TkzmEntry>& results,
                                                 const std::string& printedAt);

// Opens the print preview of the results (modal).
void ShowSearchPrintout(const std::vector<kzm::TkzmEntry>& results, QWidget* owner);

}  // namespace kzm::ui
