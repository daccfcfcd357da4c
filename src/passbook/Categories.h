#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Dates.h"

namespace kzm {

class TxmlList;

// Kind codes of a category; the index of the kind's name in KindNames.
inline constexpr int kKindNone = 0;
inline constexpr int kKindPayment = 1;       // 支出
inline constexpr int kKindAsset = 2;         // 資産: one of the user's own accounts
inline constexpr int kKindReceipt = 3;       // 収入
inline constexpr int kKindMemo = 4;          // メモ
inline constexpr int kKindPaymentTotal = 5;  // 支出合計: a computed line
inline constexpr int kKindReceiptTotal = 6;  // 収入合計: a computed line
inline constexpr int kKindCount = 7;

// "(なし)", "支出", "資産", "収入", "メモ", "支出合計", "収入合計", indexed by kind code.
[[nodiscard]] const std::vector<std::string>& KindNames();
// 1 for money categories (payment, asset, receipt), 2 for the memo, 3 for the total lines,
// 0 for no kind or an unknown code.
[[nodiscard]] int KindGroup(int kind);
// The kind whose name equals name without regard to ASCII case; 0 when there is none.
[[nodiscard]] int KindCode(std::string_view name);

// A category key: the byte FF, one byte holding the kind code, then the display name in
// UTF-8. The first byte makes keys impossible to confuse with display names; keys never go
// through the Shift-JIS codec themselves (files store name and kind separately). Keys are
// compared byte for byte, so 食費 as a payment and 食費 as an asset are two categories.
[[nodiscard]] std::string MakeKey(std::string_view name, int kind);
// MakeKey into key, whose memory is used again.
void AssignKey(std::string& key, std::string_view name, int kind);
// The second byte of the key when it is below 7, otherwise (or for a shorter key) 0.
[[nodiscard]] int KeyKind(std::string_view key);
// The key from its third byte on; empty for a shorter key.
[[nodiscard]] std::string KeyName(std::string_view key);

struct THeadData {
  std::string key;
  int32_t visible = 1;  // 1: shown in the monthly view, 0: hidden
  // An asset's balance at the start of the period; 0 for other kinds. The daily grid also
  // uses it as a working value.
  // Sums of 32-bit entry amounts, so they take 64 bits: two large entries must not wrap.
  int64_t balance = 0;
  // The total over the period; for an asset its balance at the end of the period.
  int64_t total = 0;
};

// The ordered category list of a passbook, and with a period (first, last) an accounting
// month with its day tables. Its order is the order every screen shows.
//
// Category file (Headfile.dta, and the settlement files *.mif): an XML document, Shift-JIS,
// root "data" holding "first" and "last" as yyyymmdd when the list has a period, then one
// "head" per category with "name", "kind" (the kind's name), "balance", "total" and
// "visible".
class THeadList {
 public:
  // Removes every category, the period and the day tables.
  void Clear();

  [[nodiscard]] int Count() const { return static_cast<int>(m_items.size()); }
  // Item addresses change when categories are inserted or removed.
  [[nodiscard]] THeadData& Items(int index);
  [[nodiscard]] const THeadData& Items(int index) const;

  // The first category whose key equals key, -1 when there is none.
  [[nodiscard]] int IndexOfKey(std::string_view key) const;
  // The index of key, appending a new visible category with zero amounts when it is absent.
  int AddKey(std::string_view key);
  // Inserts a new visible category with zero amounts at index (0 to Count()).
  void InsertKey(int index, std::string_view key);
  void Delete(int index);
  // Moves the category at from so that it ends up at index to.
  void Move(int from, int to);
  // Appends, in their order, the categories of other whose keys are missing here, with their
  // balance, total and visibility.
  void Merge(const THeadList& other);
  // Clear, then the period and the categories of other (not its day tables).
  void Assign(const THeadList& other);

  [[nodiscard]] int KindOf(int index) const { return KeyKind(Items(index).key); }
  [[nodiscard]] std::string DisplayName(int index) const { return KeyName(Items(index).key); }
  // The kind of the last category with that display name; 0 when there is none.
  [[nodiscard]] int KindOfName(std::string_view displayName) const;
  [[nodiscard]] int CountOfKind(int kind) const;
  // The n-th (from 0) category of that kind in list order; nullptr when there are fewer.
  [[nodiscard]] THeadData* NthOfKind(int kind, int n);
  [[nodiscard]] const THeadData* NthOfKind(int kind, int n) const;

  // The period as day numbers; 0 when the list has none.
  [[nodiscard]] TDayNumber First() const { return m_first; }
  void SetFirst(TDayNumber day) { m_first = day; }
  [[nodiscard]] TDayNumber Last() const { return m_last; }
  void SetLast(TDayNumber day) { m_last = day; }
  [[nodiscard]] int DayCount() const { return m_last - m_first + 1; }

  // Filled by the monthly summary: DayAmounts()[day of period][category index] and the memo
  // of each day of the period.
  [[nodiscard]] std::vector<std::vector<int64_t>>& DayAmounts() { return m_dayAmounts; }
  [[nodiscard]] const std::vector<std::vector<int64_t>>& DayAmounts() const { return m_dayAmounts; }
  [[nodiscard]] std::vector<std::string>& DayMemos() { return m_dayMemos; }
  [[nodiscard]] const std::vector<std::string>& DayMemos() const { return m_dayMemos; }

  // The fifteen categories of a new passbook, replacing the list.
  void LoadDefaultCategories();

  // Replaces the list with a category file. A last day before the first tells the user
  // "月の設定期間が無効です" and gives a one-day period; a repeated name and kind is skipped;
  // an unknown kind name reads as kind 0. Throws EkzmError when the file cannot be read and
  // ExmlParseError when it is malformed (the list is then empty).
  void LoadFromFile(const std::string& fileName);
  // Writes the list as a category file, atomically. Throws EkzmError when that fails (a
  // name Shift-JIS cannot hold, a full disk); the old file is then untouched.
  void SaveToFile(const std::string& fileName) const;
  // The bytes SaveToFile writes. Throws EkzmError for a name Shift-JIS cannot hold.
  [[nodiscard]] std::string SaveToBytes() const;

 private:
  void BuildDocument(TxmlList& doc) const;

  std::vector<THeadData> m_items;
  TDayNumber m_first = 0;
  TDayNumber m_last = 0;
  std::vector<std::vector<int64_t>> m_dayAmounts;
  std::vector<std::string> m_dayMemos;
};

}  // namespace kzm
