// The daily grid's rows as plain data; see DailyRows.h.
#include "views/DailyRows.h"

#include <algorithm>
#include <utility>

#include "foundation/Concat.h"
#include "foundation/Text.h"
#include "passbook/AmountExpression.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"

namespace kzm {

namespace {

bool IsBand(const TDailyRows& rows, int row) {
  return row >= 1 && row < static_cast<int>(rows.size()) && !rows[static_cast<size_t>(row)].IsEntry();
}

}  // namespace

TDailyRow DailyHeaderRow(int gridKind) {
  const char* account = gridKind == kKindAsset ? "移動元" : gridKind == kKindReceipt ? "入金先" : "支払元";
  return TDailyRow{kRowHeader, "項目", "金額", account, "備考"};
}

int RowCode(std::string_view text) { return ParseInt(text, 0); }

TDailyRows LayoutDay(const THeadList& list, int gridKind, const TkzmDataUnit& data) {
  TDailyRows rows{DailyHeaderRow(gridKind)};
  const int first = data.FirstIndex();
  const int last = data.LastIndex();
  for (int c = 0; c < list.Count(); ++c) {
    if (list.KindOf(c) != gridKind) continue;
    const std::string& key = list.Items(c).key;
    rows.push_back(TDailyRow{BandCode(gridKind), key, {}, {}, {}});
    for (int i = first; i <= last; ++i) {
      const TkzmEntry& entry = data.Entry(i);
      if (entry.categoryKey != key) continue;
      rows.push_back(TDailyRow{kRowEntry, entry.itemText, FormatThousands(entry.amount),
                               entry.accountKey, entry.note});
    }
  }
  return rows;
}

int GroupRow(const TDailyRows& rows, int row) {
  if (row < 0 || row >= static_cast<int>(rows.size())) return -1;
  while (row > 0 && rows[static_cast<size_t>(row)].IsEntry()) --row;
  return row > 0 ? row : -1;
}

int CategoryOfRow(const TDailyRows& rows, const THeadList& list, int row) {
  const int band = GroupRow(rows, row);
  return band < 0 ? -1 : list.IndexOfKey(rows[static_cast<size_t>(band)].item);
}

int ReturnCategory(const TDailyRows& rows, const THeadList& list, int gridKind, int currentRow) {
  const int category = CategoryOfRow(rows, list, currentRow - 1);
  if (category >= 0) return category;
  for (int c = 0; c < list.Count(); ++c)
    if (list.KindOf(c) == gridKind) return c;
  return -1;
}

void CompactRows(TDailyRows& rows, const THeadList& list) {
  std::erase_if(rows, [](const TDailyRow& row) { return row.IsEntry() && row.IsBlank(); });
  const THeadData* firstAsset = list.NthOfKind(kKindAsset, 0);
  if (!firstAsset) return;
  for (TDailyRow& row : rows)
    if (row.IsEntry() && row.account.empty()) row.account = firstAsset->key;
}

int BlankRowIndex(const TDailyRows& rows, std::string_view key, TBlankPlace place) {
  const int count = static_cast<int>(rows.size());
  int band = -1;
  for (int r = count - 1; r >= 1; --r) {
    if (IsBand(rows, r) && rows[static_cast<size_t>(r)].item == key) {
      band = r;
      break;
    }
  }
  if (band < 0) return -1;
  if (place == TBlankPlace::bpUnderBand) return band + 1;
  int r = band + 1;
  while (r < count && rows[static_cast<size_t>(r)].IsEntry()) ++r;
  return r;
}

void InsertBlankRow(TDailyRows& rows, int index) {
  index = std::clamp(index, 1, static_cast<int>(rows.size()));
  rows.insert(rows.begin() + index, TDailyRow{});
}

int InsertBlankRowBelow(TDailyRows& rows, const THeadList& list, int row) {
  if (row < 1 || row >= static_cast<int>(rows.size())) return -1;
  const TDailyRow& entry = rows[static_cast<size_t>(row)];
  if (!entry.IsEntry() || entry.IsBlank()) return -1;
  // The blank rows above it go as the rows are compacted, and it moves up by as many.
  const auto blankAbove = std::count_if(rows.begin() + 1, rows.begin() + row,
                                        [](const TDailyRow& r) { return r.IsEntry() && r.IsBlank(); });
  CompactRows(rows, list);
  const int below = row - static_cast<int>(blankAbove) + 1;
  InsertBlankRow(rows, below);
  return below;
}

std::string SubtotalText(int gridKind, int64_t movedIn, int64_t movedOut) {
  const int64_t value = movedIn - movedOut;
  if (gridKind != kKindAsset) return value == 0 ? std::string() : FormatThousands(value);
  if (value == 0) return "±0";
  return Concat({value > 0 ? "+" : "", FormatThousands(value)});
}

void UpdateSubtotals(TDailyRows& rows, THeadList& list, int gridKind) {
  for (int c = 0; c < list.Count(); ++c) {
    if (list.KindOf(c) != gridKind) continue;
    list.Items(c).balance = 0;
    list.Items(c).total = 0;
  }
  int group = -1;  // list index of the current group's category
  for (const TDailyRow& row : rows) {
    if (row.code == kRowHeader) continue;
    if (!row.IsEntry()) {
      group = list.IndexOfKey(row.item);
      continue;
    }
    const int32_t amount = ParseAmount(row.amount);
    if (group >= 0) list.Items(group).total += amount;
    // Only the asset-move grid reads what left an account; the other grids leave the
    // balances of the accounts alone.
    const int account = list.IndexOfKey(row.account);
    if (account >= 0 && list.KindOf(account) == gridKind) list.Items(account).balance += amount;
  }
  for (TDailyRow& row : rows) {
    if (row.code == kRowHeader || row.IsEntry()) continue;
    const int c = list.IndexOfKey(row.item);
    if (c < 0) {
      row.amount.clear();
      continue;
    }
    const int64_t movedOut = gridKind == kKindAsset ? list.Items(c).balance : 0;
    row.amount = SubtotalText(gridKind, list.Items(c).total, movedOut);
  }
}

void StoreRows(const TDailyRows& rows, TkzmDataUnit& data) {
  for (int r = 1; r < static_cast<int>(rows.size()); ++r) {
    const TDailyRow& row = rows[static_cast<size_t>(r)];
    if (!row.IsEntry()) continue;
    const int band = GroupRow(rows, r);
    if (band < 0) continue;
    const int32_t amount = ParseAmount(row.amount);
    if (row.item.empty() && amount == 0 && row.note.empty()) continue;
    data.AddEntry(rows[static_cast<size_t>(band)].item, row.account, row.note, row.item, amount);
  }
}

std::string AmountCellText(std::string_view typed) {
  const int32_t value = ReadTypedAmount(typed).value_or(0);
  return value == 0 ? std::string() : FormatThousands(value);
}

int EnterTarget(int col, const TEnterOptions& options) {
  int t = col + 1;
  if (t == 2 && !options.amount) t = 3;
  if (t == 3 && !options.account) t = 4;
  if (t == 4 && !options.note) t = 5;
  if (t == 5 && !options.item) t = 6;
  return t;
}

TSelectAnswer CheckSelect(const TDailyRows& rows, const THeadList& list, int currentRow,
                          int targetRow) {
  TSelectAnswer answer;
  const int count = static_cast<int>(rows.size());
  if (targetRow <= 0 || targetRow >= count) return answer;
  if (targetRow == 1 && currentRow == 2 && count > 2) {
    answer.scrollToTop = true;
    answer.reopenEditor = true;
    return answer;
  }
  if (rows[static_cast<size_t>(targetRow)].IsEntry()) {
    answer.allowed = true;
    answer.reopenEditor = true;
    return answer;
  }
  const bool stepUp = targetRow == currentRow - 1;
  answer.placeBlankRow = true;
  answer.placeCategory = CategoryOfRow(rows, list, stepUp ? targetRow - 1 : targetRow);
  answer.place = targetRow == currentRow + 1 ? TBlankPlace::bpUnderBand : TBlankPlace::bpGroupEnd;
  return answer;
}

int RepairFirstRow(TDailyRows& rows) {
  if (rows.size() < 2 || !rows[1].IsEntry()) return -1;
  for (size_t r = 2; r < rows.size(); ++r) {
    if (!rows[r].IsEntry()) {
      std::swap(rows[1], rows[r]);
      return static_cast<int>(r);
    }
  }
  return -1;
}

}  // namespace kzm
