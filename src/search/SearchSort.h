#pragma once

// Sorting the search results by a column of the result grid.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "passbook/MonthEntry.h"

namespace kzm {

// The columns of the result grid, in grid order.
enum TSearchColumn : int {
  kColumnDate = 0,
  kColumnCategory = 1,
  kColumnItem = 2,
  kColumnAmount = 3,
  kColumnAccount = 4,
  kColumnNote = 5,
  kSearchColumnCount = 6,
};

// Whether text a sorts before text b (the window compares by the user's language).
using TTextLess = std::function<bool(const std::string& a, const std::string& b)>;

// The positions of results in the order that column sorts them (the rules below), the results
// themselves left in place: the search window shows its list by date this way while the
// export keeps the order found.
[[nodiscard]] std::vector<uint32_t> SearchResultsOrder(const std::vector<TkzmEntry>& results, int column,
                                                       bool descending, const TTextLess& less);

// Sorts results by column, ascending or descending. Date and amount compare as numbers;
// item text and note by less; category and account by their keys, kind first and then the
// display name by less, so that categories of one kind stay together. Each distinct text is
// compared only while ranking the distinct texts, so a slow less stays affordable for
// 100,000 results. Results with equal keys keep their order.
void SortSearchResults(std::vector<TkzmEntry>& results, int column, bool descending, const TTextLess& less);

}  // namespace kzm
