#pragma once

// A year at a glance: the accounting months whose periods end in the year, each as its own
// monthly summary gives it (the same totals the monthly view shows), side by side.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settlement/AccountingMonth.h"

namespace kzm {

class THeadList;

// sum / count rounded to the nearest whole number, halves away from zero. count > 0.
[[nodiscard]] int64_t RoundedAverage(int64_t sum, int count);

// The months whose periods (after each month's own settlement) end in year, in order:
// twelve unless settled periods were moved across the year's ends. With a closing day of 25
// the year's first month starts on 26 December of the year before. Throws EkzmError when a
// settlement file cannot be read.
[[nodiscard]] std::vector<TMonthKey> YearMonths(int year);

struct TYearRow {
  std::string key;               // the category key
  std::vector<int64_t> amounts;  // per month of the year: the category's month total
  [[nodiscard]] int64_t Total() const;
  [[nodiscard]] int64_t Average() const { return amounts.empty() ? 0 : RoundedAverage(Total(), static_cast<int>(amounts.size())); }
};

struct TYearBalanceRow {
  std::string key;
  // Per month: the balance at the end of its period; none in a month whose summary lacks
  // the account (one the passbook no longer has, used only in other months).
  std::vector<std::optional<int64_t>> balances;
};

struct TYearReport {
  int year = 0;
  std::vector<TMonthKey> months;
  std::vector<TPeriod> periods;
  // Payment and receipt categories in the order of the months' category lists.
  std::vector<TYearRow> categories;
  std::vector<int64_t> income;    // per month: every receipt of the period
  std::vector<int64_t> spending;  // per month: every payment of the period
  std::vector<TYearBalanceRow> assets;
  [[nodiscard]] int64_t Difference(size_t month) const { return income.at(month) - spending.at(month); }
};

// The report from the months' summaries (summaries[i] is month months[i]).
[[nodiscard]] TYearReport YearReportOf(int year, const std::vector<TMonthKey>& months,
                                       const std::vector<THeadList>& summaries);
// Summarises every month of the year with BuildMonth, as the monthly view does. saved (when
// given) is false when a summary could not write its files; the user has been told.
[[nodiscard]] TYearReport YearReport(int year, bool* saved = nullptr);

// The twelve amounts of one category (empty key: all spending) in the report's months; 0
// for a category the report lacks. For the chart against the year before.
[[nodiscard]] std::vector<int64_t> YearSeries(const TYearReport& report, const std::string& categoryKey);

// The report as a table of lines: one per category, then 収入, 支出 and 差額, each with its
// month values, total and average; then one per asset ("現金残高") with its month-end
// balances, total and average left empty.
struct TYearLine {
  std::string label;
  int kind = 0;  // the category's kind; 0 for 収入, 支出, 差額
  std::vector<std::optional<int64_t>> values;  // months..., total, average
};
[[nodiscard]] std::vector<TYearLine> YearReportLines(const TYearReport& report);

// "2024年1月".
[[nodiscard]] std::string YearMonthLabel(TMonthKey key);

// The export: a header line ("項目", the months, "合計", "平均") and the lines, CSV in CP932
// ended by CR LF, text fields made safe for spreadsheets. Throws EkzmError for a name
// Shift-JIS cannot hold.
[[nodiscard]] std::string YearReportCsv(const TYearReport& report);
// Writes YearReportCsv to path atomically. False with a message in error.
[[nodiscard]] bool WriteYearReportCsv(const std::string& path, const TYearReport& report, std::string& error);

}  // namespace kzm
