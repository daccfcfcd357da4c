#pragma once

// The rules of the passbook information window: which names a passbook may take, what its
// category list must hold, how the category rows are edited, and the example period shown
// for a closing day. The window only shows these and calls them.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Dates.h"

namespace kzm {

class THeadList;
class TkzmProfile;

// The information page of a passbook as the window edits it.
struct TPassbookInfo {
  std::string name;  // the passbook's folder name
  std::string ownerName;
  std::string purpose;
  int32_t birthMonth = 0;  // 0: not given
  int32_t birthDay = 0;
  int32_t created = 0;  // day number
  int32_t closingDay = 31;
  bool endsNextMonth = false;
};

[[nodiscard]] TPassbookInfo PassbookInfoOf(const TkzmProfile& profile);
// Stores everything but the name (the opener renames or creates the folder itself).
void StorePassbookInfo(const TPassbookInfo& info, TkzmProfile& profile);

// A birthday field as typed: its number, 0 when it is not one.
[[nodiscard]] int32_t ParseBirthField(std::string_view text);

inline constexpr const char* kBadPassbookName = "通帳名に使えない文字があります";
inline constexpr const char* kPassbookNameTaken = "同じ通帳名が存在します";
inline constexpr const char* kPassbookNameTooLong = "通帳名が長すぎます。フォルダの名前にできる長さを超えています";

// Empty when the window may take name; else the message. The name must be free in the data
// folder when it is new (isNew) or differs from loadedName, and short enough for the data
// folder's file system to make a folder of it, with the passbook's files inside.
[[nodiscard]] std::string CheckPassbookName(const std::string& name, const std::string& loadedName, bool isNew);

// One row of the category editor.
struct TCategoryRow {
  std::string name;
  int kind = 0;
  bool visible = true;
};

inline constexpr int kMaxCategoryRows = 31;
inline constexpr const char* kTooManyRows = "これ以上追加しないで";
inline constexpr const char* kLastRow = "費目がひとつもないのはちょっと・・・";

// The rows of the category editor. Row operations take the selected row and leave the row to
// select in it; they answer a message when they refuse (empty when done).
class TCategoryRows {
 public:
  // Appends the memo and the two total categories to list when it lacks them (to the list
  // itself: they belong to every passbook), then takes one row per category.
  void Load(THeadList& list);

  [[nodiscard]] int Count() const { return static_cast<int>(m_rows.size()); }
  [[nodiscard]] TCategoryRow& Row(int index) { return m_rows.at(static_cast<size_t>(index)); }
  [[nodiscard]] const TCategoryRow& Row(int index) const { return m_rows.at(static_cast<size_t>(index)); }
  // Memo and totals: their name and kind cannot be changed and they cannot be removed.
  [[nodiscard]] static bool IsFixedKind(int kind);

  // A payment "新規項目" + the smallest free n (1 to 30, else 31) below the selected row.
  [[nodiscard]] std::string Add(int& selected);
  [[nodiscard]] std::string Remove(int& selected);
  // Exchange with the row above / below; nothing at the first / last row.
  void MoveUp(int& selected);
  void MoveDown(int& selected);
  // Removes every row with an empty name, keeping the selection on the same row where it
  // stays, else on the row that took its place.
  void RemoveEmptyRows(int& selected);

  // The messages of what the list lacks, in the order they are shown; empty when it is fine.
  [[nodiscard]] std::vector<std::string> Check() const;
  // Replaces list's categories by the rows; a repeated name and kind keeps its first place and
  // takes the visibility of the last row.
  void StoreInto(THeadList& list) const;

 private:
  void RemoveAt(int index, int& selected);

  std::vector<TCategoryRow> m_rows;
};

// The messages of pressing OK, in the order they are shown; empty when the window may close.
// The name is only checked once the categories are fine; last come texts the passbook's
// Shift-JIS files could not hold.
[[nodiscard]] std::vector<std::string> CheckPassbookInfo(const TCategoryRows& rows, const TPassbookInfo& info,
                                                         const std::string& loadedName, bool isNew);

// The example of the closing day: "2024年3月の場合" and the period of today's calendar month,
// "2024/02/26-2024/03/25".
struct TExamplePeriod {
  std::string caption;
  std::string period;
};
[[nodiscard]] TExamplePeriod ExamplePeriod(TDayNumber today, int closingDay, bool endsNextMonth);

// A passbook as the selection lists it.
struct TPassbookListRow {
  std::string name;
  std::string ownerName;
  std::string purpose;
  std::string folder;  // full path
};
// Refreshes PassbookFolders and reads the owner and purpose of each.
[[nodiscard]] std::vector<TPassbookListRow> ListPassbookRows();

}  // namespace kzm
