#pragma once

// The budgets of a passbook: an amount per category that holds from the accounting month it
// was set for until a later month sets another (or clears it), so a person sets it once.
//
// File Budget.csv in the passbook folder: CP932 lines ended by CR LF, four CSV fields each:
// the month key it holds from (yyyymm), the category's display name, the kind's name (支出,
// 収入) and the amount; an empty amount clears the budget from that month on. A line this
// program cannot read is kept as it was and written back unchanged; of two lines for one month
// and category the first holds (TKeyedCsvStore).

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "foundation/KeyedCsvStore.h"
#include "settlement/AccountingMonth.h"

namespace kzm {

inline constexpr const char* kBudgetFileName = "Budget.csv";

class TBudgets {
 public:
  // A missing file holds no budgets. False, naming the file in error, when it exists but
  // cannot be read; Save then refuses, so the file is never written over.
  bool Load(const std::string& passbookFolder, std::string& error);
  // Writes the file atomically. False, naming the file in error, when it cannot be written
  // or the last Load failed.
  [[nodiscard]] bool Save(const std::string& passbookFolder, std::string& error) const;

  // The amount that holds in month for the category key; none when no month up to it set
  // one, or the latest setting cleared it.
  [[nodiscard]] std::optional<int32_t> BudgetOf(const std::string& categoryKey, TMonthKey month) const;
  // Sets (or with no amount clears) the category's budget from month on, until the next
  // month that already holds a setting of its own.
  void Set(const std::string& categoryKey, TMonthKey month, std::optional<int32_t> amount);

 private:
  // Per category key, per month: the amount set, or none for a clearing.
  std::map<std::string, std::map<TMonthKey, std::optional<int32_t>>> m_settings;
  // The file as read, keyed by month and category key; its records are written anew by Save.
  TKeyedCsvStore m_file{"予算のファイル", 16 * 1024 * 1024};
};

}  // namespace kzm
