#include "views/DailyRows.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"

namespace kzm {
namespace {

const std::string kFood = MakeKey("食費", kKindPayment);
const std::string kFare = MakeKey("交通", kKindPayment);
const std::string kSalary = MakeKey("給与", kKindReceipt);
const std::string kCash = MakeKey("現金", kKindAsset);
const std::string kBank = MakeKey("銀行", kKindAsset);
const std::string kCard = MakeKey("カード", kKindAsset);

THeadList Categories() {
  THeadList list;
  for (const std::string& key : {kSalary, kFood, kFare, kCash, kBank, kCard}) list.AddKey(key);
  return list;
}

TDailyRow Band(int gridKind, const std::string& key) { return {BandCode(gridKind), key, {}, {}, {}}; }
TDailyRow Entry(const std::string& item, const std::string& amount, const std::string& account = {},
                const std::string& note = {}) {
  return {kRowEntry, item, amount, account, note};
}

// The codes and column-1 texts of rows 1.., as "2:key" / "1:item".
std::vector<std::string> Shape(const TDailyRows& rows) {
  std::vector<std::string> shape;
  for (size_t r = 1; r < rows.size(); ++r) {
    const TDailyRow& row = rows[r];
    shape.push_back(std::to_string(row.code) + ":" + (row.IsEntry() ? row.item : KeyName(row.item)));
  }
  return shape;
}

class DailyRowsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.SetFolder(temp.Path() + "/Daily");
    data.SelectDay(kDay);
  }

  static constexpr int32_t kDay = 45000;
  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  TkzmDataUnit data;
  THeadList list = Categories();
};

TEST_F(DailyRowsTest, DayWithoutEntriesShowsEveryBandOfTheKindInListOrder) {
  TDailyRows rows = LayoutDay(list, kKindPayment, data);
  EXPECT_EQ(rows[0].account, "支払元");
  EXPECT_EQ(Shape(rows), (std::vector<std::string>{"2:食費", "2:交通"}));
  EXPECT_EQ(LayoutDay(list, kKindAsset, data)[0].account, "移動元");
  EXPECT_EQ(Shape(LayoutDay(list, kKindReceipt, data)), (std::vector<std::string>{"4:給与"}));

  // After a load the blank row goes to the end of the first band's group.
  const int category = ReturnCategory(TDailyRows(5), list, kKindPayment, 1);
  EXPECT_EQ(category, list.IndexOfKey(kFood));
  const int at = BlankRowIndex(rows, list.Items(category).key, TBlankPlace::bpGroupEnd);
  InsertBlankRow(rows, at);
  EXPECT_EQ(Shape(rows), (std::vector<std::string>{"2:食費", "1:", "2:交通"}));

  THeadList noReceipts;
  noReceipts.AddKey(kFood);
  EXPECT_EQ(LayoutDay(noReceipts, kKindReceipt, data).size(), 1U);  // the header alone
  EXPECT_EQ(ReturnCategory(TDailyRows(1), noReceipts, kKindReceipt, 1), -1);
}

TEST_F(DailyRowsTest, EntriesStandUnderTheirBandsAndStoreBack) {
  data.AddEntry(kFare, kCash, "", "bus", 220);
  data.AddEntry(kFood, kCard, "", "bread", 1200);
  data.AddEntry(kSalary, kBank, "", "pay", 300000);
  data.AddEntry(kFood, kCash, "just a note", "", 0);
  TDailyRows rows = LayoutDay(list, kKindPayment, data);
  EXPECT_EQ(Shape(rows), (std::vector<std::string>{"2:食費", "1:bread", "1:", "2:交通", "1:bus"}));
  EXPECT_EQ(rows[2].amount, "1,200");
  EXPECT_EQ(rows[3].amount, "0");  // an entry with only a note shows its 0
  EXPECT_EQ(rows[3].note, "just a note");

  rows[3].amount.clear();  // an emptied amount still stores the note, with amount 0
  data.DeleteDayEntries();
  StoreRows(rows, data);
  ASSERT_EQ(data.DayEntryCount(), 3);
  const TkzmEntry& note = data.Entry(data.FirstIndex() + 1);
  EXPECT_EQ(note.categoryKey, kFood);
  EXPECT_EQ(note.amount, 0);
  EXPECT_EQ(note.note, "just a note");
  EXPECT_EQ(data.Entry(data.FirstIndex() + 2).categoryKey, kFare);
}

TEST_F(DailyRowsTest, CompactRemovesEmptiedRowsAndFillsTheAccount) {
  TDailyRows rows{DailyHeaderRow(kKindPayment), Band(kKindPayment, kFood), Entry("a", "1"),
                  Entry("", ""), Entry("", "", kBank), Entry("b", ""), Band(kKindPayment, kFare),
                  Entry("", "")};
  CompactRows(rows, list);
  EXPECT_EQ(Shape(rows), (std::vector<std::string>{"2:食費", "1:a", "1:b", "2:交通"}));
  EXPECT_EQ(rows[2].account, kCash);  // the first asset category

  THeadList noAssets;
  noAssets.AddKey(kFood);
  TDailyRows kept{DailyHeaderRow(kKindPayment), Band(kKindPayment, kFood), Entry("a", "1")};
  CompactRows(kept, noAssets);
  EXPECT_EQ(kept[2].account, "");
}

TEST_F(DailyRowsTest, BlankRowGoesUnderTheBandOrToTheEndOfTheGroup) {
  const TDailyRows rows{DailyHeaderRow(kKindPayment), Band(kKindPayment, kFood), Entry("a", "1"),
                        Entry("b", "2"), Band(kKindPayment, kFare)};
  struct TCase {
    std::string key;
    TBlankPlace place;
    int index;
  };
  const TCase cases[] = {
      {kFood, TBlankPlace::bpUnderBand, 2}, {kFood, TBlankPlace::bpGroupEnd, 4},
      {kFare, TBlankPlace::bpUnderBand, 5}, {kFare, TBlankPlace::bpGroupEnd, 5},
      {kSalary, TBlankPlace::bpGroupEnd, -1},  // no band: no blank row, never row 0
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(KeyName(c.key) + (c.place == TBlankPlace::bpUnderBand ? " under" : " end"));
    EXPECT_EQ(BlankRowIndex(rows, c.key, c.place), c.index);
  }
}

// Insert: one blank row, right below the entry, whichever band it is in (the last one too).
TEST_F(DailyRowsTest, InsertPutsTheBlankRowBelowTheEntry) {
  const TDailyRows rows{DailyHeaderRow(kKindPayment), Band(kKindPayment, kFood), Entry("a", "1"), Entry("", ""),
                        Entry("b", "2"), Band(kKindPayment, kFare), Entry("c", "3")};
  using V = std::vector<std::string>;
  struct TCase {
    int row;
    int blank;
    V shape;
  };
  const V unchanged{"2:食費", "1:a", "1:", "1:b", "2:交通", "1:c"};
  const TCase cases[] = {
      {2, 3, unchanged},
      {4, 4, V{"2:食費", "1:a", "1:b", "1:", "2:交通", "1:c"}},
      {6, 6, V{"2:食費", "1:a", "1:b", "2:交通", "1:c", "1:"}},
      {3, -1, unchanged},  // the blank row itself
      {5, -1, unchanged},  // a band
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.row);
    TDailyRows changed = rows;
    EXPECT_EQ(InsertBlankRowBelow(changed, list, c.row), c.blank);
    EXPECT_EQ(Shape(changed), c.shape);
  }
}

TEST_F(DailyRowsTest, Subtotals) {
  TDailyRows pay{DailyHeaderRow(kKindPayment), Band(kKindPayment, kFood), Entry("a", "1,000", kCash),
                 Entry("b", "-1,000", kCash), Band(kKindPayment, kFare), Entry("c", "2,500", kCash),
                 Entry("", "")};
  UpdateSubtotals(pay, list, kKindPayment);
  EXPECT_EQ(pay[1].amount, "");  // a band summing to 0 shows nothing
  EXPECT_EQ(pay[4].amount, "2,500");

  // 10,000 moved from 銀行 into 現金, 3,000 from 現金 onto カード.
  TDailyRows moves{DailyHeaderRow(kKindAsset), Band(kKindAsset, kCash), Entry("withdraw", "10,000", kBank),
                   Band(kKindAsset, kBank), Band(kKindAsset, kCard), Entry("charge", "3,000", kCash)};
  UpdateSubtotals(moves, list, kKindAsset);
  EXPECT_EQ(moves[1].amount, "+7,000");  // 10,000 in, 3,000 out
  EXPECT_EQ(moves[3].amount, "-10,000");
  EXPECT_EQ(moves[4].amount, "+3,000");
  TDailyRows still{DailyHeaderRow(kKindAsset), Band(kKindAsset, kCash), Band(kKindAsset, kBank),
                   Entry("x", "2,000", kCash)};
  UpdateSubtotals(still, list, kKindAsset);
  EXPECT_EQ(still[1].amount, "-2,000");
  EXPECT_EQ(still[2].amount, "+2,000");
  UpdateSubtotals(moves, list, kKindAsset);  // working values start afresh every time
  EXPECT_EQ(moves[1].amount, "+7,000");
  EXPECT_EQ(SubtotalText(kKindAsset, 5, 5), "±0");
}

TEST(DailyRows, AmountCellKeepsTheEvaluatedWholeNumber) {
  struct TCase {
    std::string typed;
    std::string cell;
  };
  const TCase cases[] = {
      {"1,000*3", "3,000"}, {"abc", ""}, {"0", ""}, {"", ""}, {"298*3", "894"},
      {"-1,500", "-1,500"}, {"1.5", ""}, {"¥500", "500"}, {"99999999999", ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.typed);
    EXPECT_EQ(AmountCellText(c.typed), c.cell);
  }
}

TEST(DailyRows, EnterVisitsTheColumnsTheOptionsAllow) {
  const TEnterOptions on;
  const TEnterOptions off{false, false, false, false};
  const TEnterOptions noAmount{true, false, true, true};
  const TEnterOptions noItem{false, true, true, true};
  EXPECT_EQ(EnterTarget(1, on), 2);
  EXPECT_EQ(EnterTarget(4, on), 5);
  EXPECT_EQ(EnterTarget(1, noAmount), 3);
  EXPECT_EQ(EnterTarget(4, noItem), 6);  // stays in the row
  for (int col = 1; col <= 4; ++col) {
    SCOPED_TRACE(col);
    EXPECT_EQ(EnterTarget(col, off), 6);
  }
}

TEST(DailyRows, SelectionCheck) {
  const THeadList list = Categories();
  // 1 食費, 2 a, 3 b, 4 交通, 5 c
  const TDailyRows rows{DailyHeaderRow(kKindPayment), Band(kKindPayment, kFood), Entry("a", ""),
                        Entry("b", ""), Band(kKindPayment, kFare), Entry("c", "")};
  const int food = list.IndexOfKey(kFood);
  const int fare = list.IndexOfKey(kFare);
  struct TCase {
    std::string label;
    int current;
    int target;
    bool allowed;
    bool scrollToTop;
    bool place;
    int category;
    TBlankPlace where;
  };
  const TCase cases[] = {
      {"entry row", 2, 3, true, false, false, -1, TBlankPlace::bpGroupEnd},
      {"header", 2, 0, false, false, false, -1, TBlankPlace::bpGroupEnd},
      {"up from the first entry", 2, 1, false, true, false, -1, TBlankPlace::bpGroupEnd},
      {"down onto a band", 3, 4, false, false, true, fare, TBlankPlace::bpUnderBand},
      {"up onto a band", 5, 4, false, false, true, food, TBlankPlace::bpGroupEnd},
      {"jump onto a band", 2, 4, false, false, true, fare, TBlankPlace::bpGroupEnd},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.label);
    const TSelectAnswer answer = CheckSelect(rows, list, c.current, c.target);
    EXPECT_EQ(answer.allowed, c.allowed);
    EXPECT_EQ(answer.scrollToTop, c.scrollToTop);
    EXPECT_EQ(answer.placeBlankRow, c.place);
    if (c.place) {
      EXPECT_EQ(answer.placeCategory, c.category);
      EXPECT_EQ(answer.place, c.where);
    }
  }
}

TEST(DailyRows, EntryDraggedAboveTheFirstBandBecomesItsFirstEntry) {
  TDailyRows rows{DailyHeaderRow(kKindPayment), Entry("moved", "5"), Band(kKindPayment, kFood),
                  Entry("a", "1"), Band(kKindPayment, kFare)};
  EXPECT_EQ(RepairFirstRow(rows), 2);
  EXPECT_EQ(Shape(rows), (std::vector<std::string>{"2:食費", "1:moved", "1:a", "2:交通"}));
  EXPECT_EQ(RepairFirstRow(rows), -1);
}

// Rows above the first band belong to no group; the header row is no band.
TEST(DailyRows, GroupsOfRowsAboveTheFirstBandAndOfTheHeader) {
  const TDailyRows rows{DailyHeaderRow(kKindPayment), Entry("stray", "5"), Band(kKindPayment, kFood),
                        Entry("a", "1"), Band(kKindPayment, kFare), Entry("", "")};
  EXPECT_EQ(GroupRow(rows, 0), -1);
  EXPECT_EQ(GroupRow(rows, 1), -1);
  EXPECT_EQ(GroupRow(rows, 3), 2);
  EXPECT_EQ(GroupRow(rows, 4), 4);
  EXPECT_EQ(GroupRow(rows, 6), -1);
  EXPECT_EQ(CategoryOfRow(rows, Categories(), 1), -1);
}

// Stepping to another day from the blank row at the end of a band keeps that band's category
// for the new day's blank row.
TEST(DailyRows, TheNextDayReturnsToTheBandOfTheBlankRow) {
  const THeadList list = Categories();
  const TDailyRows rows{DailyHeaderRow(kKindPayment), Band(kKindPayment, kFood), Entry("a", "1"),
                        Band(kKindPayment, kFare),    Entry("b", "2"),           Entry("", "")};
  EXPECT_EQ(ReturnCategory(rows, list, kKindPayment, 5), list.IndexOfKey(kFare));
  EXPECT_EQ(ReturnCategory(rows, list, kKindPayment, 3), list.IndexOfKey(kFood));
  EXPECT_EQ(ReturnCategory(rows, list, kKindPayment, 1), list.IndexOfKey(kFood));  // first of the kind
}

}  // namespace
}  // namespace kzm
