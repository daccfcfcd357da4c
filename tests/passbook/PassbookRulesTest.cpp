#include "passbook/PassbookRules.h"

#include <gtest/gtest.h>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/AppGlobal.h"
#include "foundation/Dates.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"

namespace kzm {
namespace {

std::vector<std::string> Names(const TCategoryRows& rows) {
  std::vector<std::string> names;
  for (int i = 0; i < rows.Count(); ++i) names.push_back(rows.Row(i).name);
  return names;
}

TCategoryRows RowsOf(std::initializer_list<TCategoryRow> rows) {
  THeadList list;
  for (const TCategoryRow& row : rows) {
    const int index = list.AddKey(MakeKey(row.name, row.kind));
    list.Items(index).visible = row.visible ? 1 : 0;
  }
  TCategoryRows result;
  result.Load(list);
  return result;
}

TEST(PassbookName, UnusableNamesAreRefusedAndTakenNamesReported) {
  test::TTempFolder data;
  AppGlobal().UseDataFolder(data.Path());
  EnsureFolder(data.File("通帳1"));
  test::WriteBytes(data.File("memo.txt"), "x");
  struct Case {
    const char* name;
    const char* loaded;
    bool isNew;
    const char* expected;
  };
  const Case cases[] = {
      {"家計", "通帳1", false, ""},
      {"通帳1", "通帳1", false, ""},  // unchanged: its own folder exists
      {"通帳1", "通帳1", true, kPassbookNameTaken},
      {"通帳1", "通帳2", false, kPassbookNameTaken},
      {"memo.txt", "通帳2", false, kPassbookNameTaken},  // a file blocks the folder too
      {"a/b", "通帳1", false, kBadPassbookName},
      {"a:b", "通帳1", false, kBadPassbookName},
      {"a\"b", "通帳1", false, kBadPassbookName},
      {"", "通帳1", false, kBadPassbookName},
      {"  ", "通帳1", false, kBadPassbookName},
      {"\xE3\x80\x80", "通帳1", false, kBadPassbookName},  // an ideographic space only
      {".", "通帳1", false, kBadPassbookName},
      {"..", "通帳1", false, kBadPassbookName},
      {"a\tb", "通帳1", false, kBadPassbookName},
      {"..a", "通帳1", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(CheckPassbookName(c.name, c.loaded, c.isNew), c.expected);
  }
}

TEST(CategoryRows, LoadAddsTheFixedCategoriesToThePassbookList) {
  THeadList list;
  list.AddKey(MakeKey("食費", kKindPayment));
  list.AddKey(MakeKey("支出合計", kKindPaymentTotal));
  TCategoryRows rows;
  rows.Load(list);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"食費", "支出合計", "メモ", "収入合計"}));
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.KindOf(2), kKindMemo);
  EXPECT_EQ(list.KindOf(3), kKindReceiptTotal);
}

TEST(CategoryRows, AddTakesTheSmallestFreeNumberBelowTheSelection) {
  TCategoryRows rows = RowsOf({{"新規項目1", 1, true}, {"新規項目2", 1, true}, {"新規項目4", 1, true}});
  int selected = 0;
  EXPECT_EQ(rows.Add(selected), "");
  EXPECT_EQ(selected, 1);
  EXPECT_EQ(rows.Row(1).name, "新規項目3");
  EXPECT_EQ(rows.Row(1).kind, kKindPayment);
  EXPECT_TRUE(rows.Row(1).visible);
  EXPECT_EQ(rows.Add(selected), "");
  EXPECT_EQ(rows.Row(2).name, "新規項目5");
}

TEST(CategoryRows, AddStopsAtThirtyOneRows) {
  TCategoryRows rows = RowsOf({});  // memo and totals: 3 rows
  int selected = 0;
  for (int i = 0; i < 28; ++i) ASSERT_EQ(rows.Add(selected), "");
  ASSERT_EQ(rows.Count(), 31);
  EXPECT_EQ(rows.Add(selected), kTooManyRows);
  EXPECT_EQ(rows.Count(), 31);

}

TEST(CategoryRows, RemoveMoveAndEmptyRowsKeepEachRowWhole) {
  TCategoryRows rows = RowsOf({{"a", 1, true}, {"b", 2, false}, {"c", 3, true}});
  // a b c メモ 収入合計 支出合計
  int selected = 1;
  rows.MoveDown(selected);
  EXPECT_EQ(selected, 2);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"a", "c", "b", "メモ", "収入合計", "支出合計"}));
  EXPECT_FALSE(rows.Row(2).visible);
  selected = 0;
  rows.MoveUp(selected);
  EXPECT_EQ(selected, 0);
  selected = 5;
  rows.MoveDown(selected);
  EXPECT_EQ(selected, 5);

  selected = 0;
  EXPECT_EQ(rows.Remove(selected), "");
  EXPECT_EQ(selected, 0);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"c", "b", "メモ", "収入合計", "支出合計"}));
  EXPECT_FALSE(rows.Row(1).visible);
  EXPECT_EQ(rows.Row(1).kind, kKindAsset);

  selected = 4;  // a fixed row is never removed
  EXPECT_EQ(rows.Remove(selected), "");
  EXPECT_EQ(rows.Count(), 5);

  // The emptied first row goes; the selection stays on the row it was on.
  rows.Row(0).name.clear();
  selected = 2;
  rows.RemoveEmptyRows(selected);
  EXPECT_EQ(Names(rows), (std::vector<std::string>{"b", "メモ", "収入合計", "支出合計"}));
  EXPECT_EQ(selected, 1);
  // The selected row itself emptied: the row now at its place is selected.
  rows.Row(3).name.clear();
  selected = 3;
  rows.RemoveEmptyRows(selected);
  EXPECT_EQ(selected, 2);
}

TEST(CategoryRows, RemoveRefusesTheLastRow) {
  TCategoryRows rows = RowsOf({});
  int selected = 0;
  rows.Row(1).name.clear();
  rows.Row(2).name.clear();
  rows.RemoveEmptyRows(selected);
  ASSERT_EQ(rows.Count(), 1);
  EXPECT_EQ(rows.Remove(selected), kLastRow);
}

TEST(CategoryRows, ChecksComeInTheirOrder) {
  struct Case {
    const char* what;
    TCategoryRows rows;
    std::vector<std::string> expected;
  };
  const Case cases[] = {
      {"complete", RowsOf({{"食費", 1, true}, {"現金", 2, true}, {"給与", 3, false}}), {}},
      {"nothing", RowsOf({}),
       {"支出がひとつもないのはちょっと・・・", "口座がひとつもないのはちょっと・・・",
        "収入がひとつもないのはちょっと・・・"}},
      {"no payment", RowsOf({{"現金", 2, true}, {"給与", 3, true}}), {"支出がひとつもないのはちょっと・・・"}},
      {"no asset", RowsOf({{"食費", 1, true}, {"給与", 3, true}}), {"口座がひとつもないのはちょっと・・・"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(c.rows.Check(), c.expected);
  }
  TCategoryRows hidden = RowsOf({{"食費", 1, false}, {"現金", 2, false}, {"給与", 3, false}});
  for (int i = 0; i < hidden.Count(); ++i) hidden.Row(i).visible = false;
  EXPECT_EQ(hidden.Check(), std::vector<std::string>{"全部「表示しない」にしないでください・・・"});
}

TEST(CategoryRows, NameIsCheckedOnlyOnceTheCategoriesPass) {
  test::TTempFolder data;
  AppGlobal().UseDataFolder(data.Path());
  const TCategoryRows empty = RowsOf({});
  TPassbookInfo info;
  info.name = "a/b";
  EXPECT_EQ(CheckPassbookInfo(empty, info, "x", false).size(), 3U);
  TCategoryRows fine = RowsOf({{"食費", 1, true}, {"現金", 2, true}, {"給与", 3, true}});
  EXPECT_EQ(CheckPassbookInfo(fine, info, "x", false), std::vector<std::string>{kBadPassbookName});
  info.name = "家計";
  EXPECT_TRUE(CheckPassbookInfo(fine, info, "x", true).empty());
  // What Shift-JIS cannot hold is refused before anything is stored.
  info.purpose = "\xF0\x9F\x8D\xA3";
  fine.Row(0).name = "食費\xF0\x9F\x8D\x99";
  EXPECT_EQ(CheckPassbookInfo(fine, info, "x", true).size(), 2U);
}

TEST(CategoryRows, StoreRepeatedRowKeepsFirstPlaceAndLastVisibility) {
  TCategoryRows rows = RowsOf({{"食費", 1, true}, {"現金", 2, true}});
  int selected = 0;
  ASSERT_EQ(rows.Add(selected), "");
  rows.Row(selected).name = "食費";
  rows.Row(selected).visible = false;
  THeadList list;
  list.AddKey(MakeKey("old", 1));
  rows.StoreInto(list);
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.DisplayName(0), "食費");
  EXPECT_EQ(list.Items(0).visible, 0);
  EXPECT_EQ(list.DisplayName(1), "現金");
}

TEST(ExamplePeriod, FollowsTheClosingDayAndNextMonth) {
  struct Case {
    int y, m, d, closing;
    bool next;
    const char* caption;
    const char* period;
  };
  const Case cases[] = {
      {2024, 3, 10, 25, false, "2024年3月の場合", "2024/02/26-2024/03/25"},
      {2024, 3, 10, 31, false, "2024年3月の場合", "2024/03/01-2024/03/31"},
      {2024, 3, 10, 30, false, "2024年3月の場合", "2024/03/01-2024/03/30"},  // February ends on the 29th
      {2024, 1, 10, 25, false, "2024年1月の場合", "2023/12/26-2024/01/25"},
      {2024, 12, 1, 10, true, "2024年12月の場合", "2024/12/11-2025/01/10"},
      {2023, 2, 1, 31, true, "2023年2月の場合", "2023/03/01-2023/03/31"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.period);
    const TExamplePeriod example = ExamplePeriod(EncodeDate(c.y, c.m, c.d), c.closing, c.next);
    EXPECT_EQ(example.caption, c.caption);
    EXPECT_EQ(example.period, c.period);
  }
}

TEST(PassbookList, ListsOnlyPassbooksWithTheirOwnerAndPurpose) {
  test::TTempFolder data;
  AppGlobal().UseDataFolder(data.Path());
  EnsureFolder(data.File("家計"));
  test::WriteBytes(data.File("家計/nbkr.ini"), "[USERINFO]\r\nNAME=hanako\r\nUSE=food\r\n");
  EnsureFolder(data.File("empty"));
  const std::vector<TPassbookListRow> rows = ListPassbookRows();
  ASSERT_EQ(rows.size(), 1U);
  EXPECT_EQ(rows[0].name, "家計");
  EXPECT_EQ(rows[0].ownerName, "hanako");
  EXPECT_EQ(rows[0].purpose, "food");
  EXPECT_EQ(rows[0].folder, data.File("家計"));
}

TEST(PassbookInfo, BirthFieldThatIsNoNumberIsZero) {
  EXPECT_EQ(ParseBirthField("12"), 12);
  EXPECT_EQ(ParseBirthField(" 7 "), 7);
  EXPECT_EQ(ParseBirthField("abc"), 0);
  EXPECT_EQ(ParseBirthField(""), 0);
}

}  // namespace
}  // namespace kzm
