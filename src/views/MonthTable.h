#pragma once

// What the monthly view shows of an accounting month: one row per visible category under a
// header row, one column per day of the period, the names on the left and the month totals
// on the right, and the entries behind a cell. The view only paints these texts.

#include <cstdint>
#include <string>
#include <vector>

#include "foundation/Color.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "settlement/AccountingMonth.h"

namespace kzm {

// How a day heading is coloured. A holiday wins over its weekday.
enum class TDayTone : uint8_t { toWeekday, toSaturday, toSunday, toHoliday };

// An amount a recurring entry will bring to a payment or receipt category on a day, once it is
// entered.
struct TComingAmount {
  TDayNumber day = 0;
  std::string categoryKey;
  int32_t amount = 0;
};

class TMonthTable {
 public:
  // Summarises the month (BuildMonth) and lays out its rows. False when a file could not be
  // written; the user has been told and the table is complete all the same.
  bool Load(TMonthKey key);

  [[nodiscard]] TMonthKey Key() const { return m_key; }
  // The month list: period, categories with balances and totals, day tables.
  [[nodiscard]] const THeadList& Summary() const { return m_summary; }
  [[nodiscard]] TDayNumber First() const { return m_summary.First(); }
  [[nodiscard]] TDayNumber Last() const { return m_summary.Last(); }
  [[nodiscard]] bool Contains(TDayNumber day) const { return First() <= day && day <= Last(); }

  // The header row plus one row per visible category.
  [[nodiscard]] int RowCount() const { return static_cast<int>(m_rowMap.size()) + 1; }
  [[nodiscard]] int DayCount() const { return m_summary.DayCount(); }
  // The summary index of the category in row (from 1); -1 for the header or a row past the end.
  [[nodiscard]] int CategoryOfRow(int row) const;
  // The kind of the row's category; kKindNone for the header.
  [[nodiscard]] int KindOfRow(int row) const;

  // "項目", then the display names, an asset's followed by "残高".
  [[nodiscard]] std::string NameText(int row) const;
  // Row 0: "5(火)". Payments, receipts and totals: the day's sum, empty for 0; assets: the
  // balance at the end of the day ("0" included); the memo row: the day's memo.
  [[nodiscard]] std::string DayText(int row, int day) const;
  // "月間合計", then each category's total ("0" included; empty for the memo row).
  [[nodiscard]] std::string TotalText(int row) const;
  // Amounts still to come on days of the period (those of other days, of categories without a
  // row or of other kinds are left out). They count in no total and no balance: the view
  // shows them faintly where a cell has nothing else. Load forgets them.
  void SetComing(const std::vector<TComingAmount>& coming);
  // The sum still to come in the cell, as the cell would show it; empty when none.
  [[nodiscard]] std::string ComingText(int row, int day) const;
  // An asset balance the day left unchanged from the day before.
  [[nodiscard]] bool IsFaint(int row, int day) const;
  [[nodiscard]] TDayTone HeaderTone(int day) const { return m_tones.at(static_cast<size_t>(day)); }

  // "12/25-1/24".
  [[nodiscard]] std::string PeriodText() const;
  // "月間表示 2024年1月".
  [[nodiscard]] std::string Title() const;

 private:
  [[nodiscard]] int64_t Amount(int row, int day) const;

  TMonthKey m_key = 0;
  THeadList m_summary;
  std::vector<int> m_rowMap;
  std::vector<TDayTone> m_tones;
  std::vector<std::vector<int32_t>> m_coming;  // [row][day]; empty when nothing is to come
};

// One line of the detail panel: what it was and the amount as shown.
struct TDetailLine {
  std::string item;
  std::string amount;
};

// The entries behind a cell of the monthly view. The first line is the heading ("3/5 食費"),
// drawn on headerColor; the others follow the month data's order.
struct TMonthDetail {
  TColor headerColor = 0;
  std::vector<TDetailLine> lines;
};

// The entries of day that make up the cell of category categoryKey: a payment's or receipt's
// own entries; for an asset the money that came in (moved to it, received into it) and,
// negated, the money that left it, a positive amount shown with "+"; for the total lines
// every payment or every receipt. False
// (detail holding only the heading) when there is none. Selects day in the month data.
bool FillMonthDetail(const std::string& categoryKey, TDayNumber day, TMonthDetail& detail);

}  // namespace kzm
