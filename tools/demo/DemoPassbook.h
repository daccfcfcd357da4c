#pragma once

// Sample passbooks for trying the program out, for screenshots and for benchmarks. They are
// made through the program's own objects, so their files are exactly what the program writes.

#include <cstdint>
#include <string>
#include <vector>

#include "settlement/AccountingMonth.h"

namespace kzm {

struct TDemoOptions {
  int years = 3;            // accounting months covered: years * 12, ending with until
  uint64_t seed = 1;        // the same seed (and years, until) gives the same files
  TMonthKey until = 0;      // the last accounting month; 0 for the one holding today
};

// Creates two passbooks in dataFolder: "家計簿", a household paid on the 25th whose months
// close on that day (about nine entries a day: food, travel, rent, bills, card payments,
// cash from the bank, memos), and "おこづかい帳", a calendar-month pocket-money book with a
// few entries a day. Both end up open in turn; CurrentProfile is left on the second.
// Refuses (false, error set) when either folder already holds a passbook, and reports any
// file that could not be written.
bool MakeDemoPassbooks(const std::string& dataFolder, const TDemoOptions& options,
                       std::vector<std::string>& folders, std::string& error);

}  // namespace kzm
