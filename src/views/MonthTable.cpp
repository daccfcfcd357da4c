#include "views/MonthTable.h"

#include <algorithm>

#include "calendar/Almanac.h"
#include "foundation/DateTexts.h"
#include "foundation/Text.h"
#include "passbook/MonthData.h"

namespace kzm {

namespace {

constexpr TColor kPaymentHeader = 0x000000;
constexpr TColor kReceiptHeader = 0xFF0000;
constexpr TColor kOtherHeader = 0x808080;

TDayTone ToneOf(TDayNumber day) {
  Almanac().SetDate(day);
  if (Almanac().IsHoliday()) return TDayTone::toHoliday;
  switch (DayOfWeek(day)) {
    case 0: return TDayTone::toSunday;
    case 6: return TDayTone::toSaturday;
    default: return TDayTone::toWeekday;
  }
}

}  // namespace

bool TMonthTable::Load(TMonthKey key) {
  m_key = key;
  const bool saved = BuildMonth(key, m_summary);
  m_rowMap.clear();
  for (int c = 0; c < m_summary.Count(); ++c) {
    if (m_summary.Items(c).visible == 1) m_rowMap.push_back(c);
  }
  m_tones.clear();
  for (int d = 0; d < DayCount(); ++d) m_tones.push_back(ToneOf(First() + d));
  m_coming.clear();
  return saved;
}

void TMonthTable::SetComing(const std::vector<TComingAmount>& coming) {
  m_coming.clear();
  for (const TComingAmount& c : coming) {
    if (!Contains(c.day)) continue;
    const int kind = KeyKind(c.categoryKey);
    if (kind != kKindPayment && kind != kKindReceipt) continue;
    const int category = m_summary.IndexOfKey(c.categoryKey);
    const auto row = std::find(m_rowMap.begin(), m_rowMap.end(), category);
    if (category < 0 || row == m_rowMap.end()) continue;
    if (m_coming.empty()) m_coming.assign(static_cast<size_t>(RowCount()), std::vector<int32_t>(static_cast<size_t>(DayCount())));
    m_coming[static_cast<size_t>(row - m_rowMap.begin() + 1)][static_cast<size_t>(c.day - First())] += c.amount;
  }
}

std::string TMonthTable::ComingText(int row, int day) const {
  if (m_coming.empty() || row < 1 || row >= RowCount() || day < 0 || day >= DayCount()) return {};
  const int32_t amount = m_coming[static_cast<size_t>(row)][static_cast<size_t>(day)];
  return amount == 0 ? std::string() : FormatThousands(amount);
}

int TMonthTable::CategoryOfRow(int row) const {
  if (row < 1 || row >= RowCount()) return -1;
  return m_rowMap[static_cast<size_t>(row - 1)];
}

int TMonthTable::KindOfRow(int row) const {
  const int c = CategoryOfRow(row);
  return c < 0 ? kKindNone : m_summary.KindOf(c);
}

int64_t TMonthTable::Amount(int row, int day) const {
  return m_summary.DayAmounts()[static_cast<size_t>(day)][static_cast<size_t>(CategoryOfRow(row))];
}

std::string TMonthTable::NameText(int row) const {
  if (row == 0) return "項目";
  const int c = CategoryOfRow(row);
  if (c < 0) return {};
  std::string name = m_summary.DisplayName(c);
  if (m_summary.KindOf(c) == kKindAsset) name += "残高";
  return name;
}

std::string TMonthTable::DayText(int row, int day) const {
  if (day < 0 || day >= DayCount()) return {};
  if (row == 0) return FormatDayWithWeekday(First() + day);
  switch (KindOfRow(row)) {
    case kKindNone:
      if (CategoryOfRow(row) < 0) return {};
      break;
    case kKindMemo: return m_summary.DayMemos()[static_cast<size_t>(day)];
    case kKindAsset: return FormatThousands(Amount(row, day));
    default: break;
  }
  const int64_t amount = Amount(row, day);
  return amount == 0 ? std::string() : FormatThousands(amount);
}

std::string TMonthTable::TotalText(int row) const {
  if (row == 0) return "月間合計";
  const int c = CategoryOfRow(row);
  if (c < 0 || m_summary.KindOf(c) == kKindMemo) return {};
  return FormatThousands(m_summary.Items(c).total);
}

bool TMonthTable::IsFaint(int row, int day) const {
  // Balances are written with every digit, so equal texts are equal amounts.
  return day > 0 && day < DayCount() && KindOfRow(row) == kKindAsset && Amount(row, day) == Amount(row, day - 1);
}

std::string TMonthTable::PeriodText() const { return FormatMonthDay(First()) + "-" + FormatMonthDay(Last()); }

std::string TMonthTable::Title() const {
  return "月間表示 " + std::to_string(KeyYear(m_key)) + "年" + std::to_string(KeyMonth(m_key)) + "月";
}

namespace {

// The amount of entry as the category's cell counts it, and whether the entry belongs there.
bool EntryInCell(const TkzmEntry& entry, const std::string& key, int kind, int32_t& amount) {
  amount = entry.amount;
  switch (kind) {
    case kKindPaymentTotal: return KeyKind(entry.categoryKey) == kKindPayment;
    case kKindReceiptTotal: return KeyKind(entry.categoryKey) == kKindReceipt;
    case kKindAsset:
      if (entry.categoryKey == key) return true;
      if (entry.accountKey != key) return false;
      // Money paid from the account leaves it; a receipt booked to it comes in, as the
      // balance counts it.
      if (KeyKind(entry.categoryKey) != kKindReceipt) amount = -entry.amount;
      return true;
    default: return entry.categoryKey == key;
  }
}

}  // namespace

bool FillMonthDetail(const std::string& categoryKey, TDayNumber day, TMonthDetail& detail) {
  const int kind = KeyKind(categoryKey);
  detail.lines.clear();
  detail.headerColor = kind == kKindPayment ? kPaymentHeader : kind == kKindReceipt ? kReceiptHeader : kOtherHeader;
  detail.lines.push_back({FormatMonthDay(day) + " " + KeyName(categoryKey), std::string()});
  TkzmDataUnit& data = CurrentMonthData();
  data.SelectDay(day);
  for (int i = data.FirstIndex(); i <= data.LastIndex(); ++i) {
    int32_t amount = 0;
    if (!EntryInCell(data.Entry(i), categoryKey, kind, amount)) continue;
    // A memo line is its text alone: a memo has no amount to show.
    std::string text = kind == kKindMemo ? std::string() : FormatThousands(amount);
    if (kind == kKindAsset && amount > 0) text = "+" + text;
    detail.lines.push_back({data.Entry(i).itemText, std::move(text)});
  }
  return detail.lines.size() > 1;
}

}  // namespace kzm
