#include "search/Search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"

namespace kzm {
namespace {

class SearchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    data.SetFolder(temp.Path() + "/Daily");
    Add(EncodeDate(2024, 2, 10), "食費", kKindPayment, "現金", "パン", "朝", 300);
    Add(EncodeDate(2024, 3, 5), "食費", kKindPayment, "カード", "スーパー", "特売", 12345);
    Add(EncodeDate(2024, 3, 5), "給与", kKindReceipt, "銀行", "給料", "", 250000);
    Add(EncodeDate(2024, 3, 20), "現金", kKindAsset, "銀行", "ATM", "", 30000);
    Add(EncodeDate(2024, 3, 20), "メモ", kKindMemo, "メモ", "雨, 寒い", "", 0);
    Add(EncodeDate(2024, 4, 1), "交通", kKindPayment, "現金", "電車", "", 480);
    ASSERT_TRUE(data.Save());
    test::WriteBytes(temp.Path() + "/Daily/abcdef.kzm", "20240301,支出,食費,資産,現金,1,x,\r\n");
  }

  void Add(TDayNumber day, const char* category, int kind, const char* account, const char* item,
           const char* note, int32_t amount) {
    data.SelectDay(day);
    data.AddEntry(MakeKey(category, kind), MakeKey(account, kind == kKindMemo ? kKindMemo : kKindAsset), note, item,
                  amount);
  }

  // The item texts found, sorted (the file system decides the order of the months).
  std::vector<std::string> Found(const TSearchConditions& conditions) {
    TSearchResults results;
    EXPECT_TRUE(SearchAllMonths(data, conditions, results));
    std::vector<std::string> items;
    for (const TkzmEntry& entry : results.Entries()) items.push_back(entry.itemText);
    std::sort(items.begin(), items.end());
    return items;
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  TkzmDataUnit data;
};

TEST_F(SearchTest, Conditions) {
  using V = std::vector<std::string>;
  struct Case {
    const char* what;
    TSearchConditions conditions;
    V expected;
  };
  auto with = [](auto change) {
    TSearchConditions c;
    change(c);
    return c;
  };
  const Case cases[] = {
      {"everything", {}, V{"ATM", "スーパー", "パン", "給料", "雨, 寒い", "電車"}},
      {"category", with([](auto& c) { c.category = "食費"; }), V{"スーパー", "パン"}},
      {"(なし) is no condition", with([](auto& c) { c.category = "(なし)"; c.account = "(なし)"; }),
       V{"ATM", "スーパー", "パン", "給料", "雨, 寒い", "電車"}},
      {"no partial match", with([](auto& c) { c.itemText = "スーパ"; }), V{}},
      {"note", with([](auto& c) { c.note = "特売"; }), V{"スーパー"}},
      {"account", with([](auto& c) { c.account = "銀行"; }), V{"ATM", "給料"}},
      {"bounds", with([](auto& c) { c.lower = 480; c.upper = 30000; }), V{"ATM", "スーパー", "電車"}},
      {"kinds", with([](auto& c) { c.payments = false; c.memos = false; }), V{"ATM", "給料"}},
      {"no receipts", with([](auto& c) { c.receipts = false; }), V{"ATM", "スーパー", "パン", "雨, 寒い", "電車"}},
      {"no moves", with([](auto& c) { c.assetMoves = false; }), V{"スーパー", "パン", "給料", "雨, 寒い", "電車"}},
      {"no payments", with([](auto& c) { c.payments = false; }), V{"ATM", "給料", "雨, 寒い"}},
      {"no memos", with([](auto& c) { c.memos = false; }), V{"ATM", "スーパー", "パン", "給料", "電車"}},
      {"lower bound", with([](auto& c) { c.lower = 12345; }), V{"ATM", "スーパー", "給料"}},
      {"upper bound", with([](auto& c) { c.upper = 300; }), V{"パン", "雨, 寒い"}},
      {"item text", with([](auto& c) { c.itemText = "電車"; }), V{"電車"}},
      {"only the last day", with([](auto& c) { c.last = EncodeDate(2024, 3, 5); }), V{"スーパー", "パン", "給料"}},
      {"range", with([](auto& c) { c.first = EncodeDate(2024, 3, 6); c.last = EncodeDate(2024, 4, 1); }),
       V{"ATM", "雨, 寒い", "電車"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(Found(c.conditions), c.expected);
  }
}

TEST_F(SearchTest, SearchingAgainAddsNothingTwice) {
  TSearchResults results;
  TSearchConditions food;
  food.category = "食費";
  SearchAllMonths(data, food, results);
  SearchAllMonths(data, food, results);
  EXPECT_EQ(results.Count(), 2);
  TSearchConditions travel;
  travel.category = "交通";
  SearchAllMonths(data, travel, results);
  ASSERT_EQ(results.Count(), 3);
  EXPECT_EQ(results.Entries()[2].itemText, "電車");
}

// An entry added after a deletion takes the sequence of one still there (in memory, until the
// month is read again): each is found once, by a search while the month is loaded and by the
// searches after it, which read the month again from its file.
TEST(SearchResultsTest, EntriesAreFoundOnceAcrossDeletionsAndRereading) {
  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  TkzmDataUnit data;
  data.SetFolder(temp.Path() + "/Daily");
  const TDayNumber day = EncodeDate(2024, 2, 10);
  data.SelectDay(day);
  auto add = [&](const char* item) {
    data.AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", item, 100);
  };
  add("パン");
  add("花");
  data.DeleteEntry(data.FirstIndex());  // パン; the day counts one entry
  add("本");                            // takes 花's sequence
  ASSERT_TRUE(data.Save());

  TSearchResults results;
  SearchAllMonths(data, {}, results);  // the month as it is in memory
  EXPECT_EQ(results.Count(), 2);
  data.SelectDay(EncodeDate(2024, 5, 1));
  TSearchConditions books;
  books.itemText = "本";
  SearchAllMonths(data, books, results);  // read again from its file
  SearchAllMonths(data, {}, results);
  ASSERT_EQ(results.Count(), 2);
  EXPECT_EQ(results.Entries()[0].itemText, "花");
  EXPECT_EQ(results.Entries()[1].itemText, "本");
}

// Enough results for the table of found entries to grow several times, with ids at the edges:
// every entry is taken once, again after Clear, and a repeat never.
TEST(SearchResultsTest, EachEntryOnce) {
  std::vector<TkzmEntry> entries;
  for (int32_t day = 0; day < 300; ++day) {
    for (int32_t sequence : {0, 1, 2, 63, 64, 127, -1, INT32_MAX}) {
      TkzmEntry entry;
      entry.date = EncodeDate(2000, 1, 1) + day;
      entry.sequence = sequence;
      entries.push_back(entry);
    }
  }
  for (int32_t date : {INT32_MIN, INT32_MAX, 0, -1}) {
    for (int32_t sequence : {0, -1, INT32_MIN}) {
      TkzmEntry entry;
      entry.date = date;
      entry.sequence = sequence;
      entries.push_back(entry);
    }
  }
  TSearchResults results;
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    for (const TkzmEntry& entry : entries) EXPECT_TRUE(results.Add(entry, entry.sequence));
    for (const TkzmEntry& entry : entries) EXPECT_FALSE(results.Add(entry, entry.sequence));
    ASSERT_EQ(results.Count(), static_cast<int>(entries.size()));
    EXPECT_EQ(results.Entries().back().date, -1);
    results.Clear();
    EXPECT_EQ(results.Count(), 0);
  }
}

TEST_F(SearchTest, StopsWhenAskedAfterAMonth) {
  TSearchResults results;
  int months = 0;
  SearchAllMonths(data, {}, results, [&] { return ++months < 2; });
  EXPECT_EQ(months, 2);
  EXPECT_LT(results.Count(), 6);
}

// Lines the program does not understand are found by no search; a month that cannot be read
// and a Daily that is no folder are named, never passed over in silence.
TEST_F(SearchTest, WhatCannotBeReadIsNamed) {
  test::WriteBytes(temp.Path() + "/Daily/202405.kzm", "20240501,支出,食費,資産,現金,1.5,kept,\r\n");
  EXPECT_EQ(Found({}), (std::vector<std::string>{"ATM", "スーパー", "パン", "給料", "雨, 寒い", "電車"}));
  EXPECT_TRUE(data.ReadFailures().empty());

  const std::string huge = temp.Path() + "/Daily/202406.kzm";
  test::WriteBytes(huge, std::string(17 * 1024 * 1024, ' '));
  TSearchResults results;
  SearchAllMonths(data, {}, results);
  EXPECT_EQ(results.Count(), 6);
  EXPECT_EQ(data.ReadFailures(), std::vector<std::string>{huge});

  const std::string notAFolder = temp.Path() + "/Plain/Daily";
  std::filesystem::create_directories(temp.Path() + "/Plain");
  test::WriteBytes(notAFolder, "a file");
  data.SetFolder(notAFolder);
  windows.messages.clear();
  SearchAllMonths(data, {}, results);
  EXPECT_EQ(data.ReadFailures(), std::vector<std::string>{notAFolder});
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find(notAFolder), std::string::npos);
}

// The loaded month with typed entries not yet written is searched as it is in memory, and the
// search neither writes it nor moves the day the windows work on.
TEST_F(SearchTest, TheLoadedMonthIsSearchedAsHeldAndStaysAsItWas) {
  const TDayNumber day = EncodeDate(2024, 3, 20);
  data.SelectDay(day);
  data.AddEntry(MakeKey("雑費", kKindPayment), MakeKey("現金", kKindAsset), "", "傘", 700);
  const std::string fileBefore = test::ReadBytes(temp.Path() + "/Daily/202403.kzm");
  EXPECT_EQ(Found({}), (std::vector<std::string>{"ATM", "スーパー", "パン", "傘", "給料", "雨, 寒い", "電車"}));
  EXPECT_EQ(data.CurrentDay(), day);
  EXPECT_EQ(data.Year(), 2024);
  EXPECT_EQ(data.Month(), 3);
  EXPECT_TRUE(data.Modified());
  EXPECT_EQ(test::ReadBytes(temp.Path() + "/Daily/202403.kzm"), fileBefore);
}

// A file written out of date order by hand gives its finds in date order, as the month loads.
TEST_F(SearchTest, AFileOutOfDateOrderGivesItsFindsInDateOrder) {
  std::string bytes;
  ASSERT_TRUE(EncodeCp932("20240510,支出,食費,資産,現金,1,b,\r\n"
                          "20240502,支出,食費,資産,現金,2,a,\r\n"
                          "20240510,支出,食費,資産,現金,3,c,\r\n",
                          bytes));
  test::WriteBytes(temp.Path() + "/Daily/202405.kzm", bytes);
  TSearchResults results;
  ASSERT_TRUE(SearchMonth(data, 2024, 5, {}, results));
  ASSERT_EQ(results.Count(), 3);
  EXPECT_EQ(results.Entries()[0].itemText, "a");
  EXPECT_EQ(results.Entries()[1].itemText, "b");
  EXPECT_EQ(results.Entries()[2].itemText, "c");
  EXPECT_EQ(results.Entries()[2].sequence, 1);
}

TEST_F(SearchTest, AMonthFileThatCannotBeReadMakesTheSearchFalse) {
  test::WriteBytes(temp.Path() + "/Daily/202406.kzm", std::string(17 * 1024 * 1024, ' '));
  TSearchResults results;
  EXPECT_FALSE(SearchAllMonths(data, {}, results));
  EXPECT_EQ(results.Count(), 6);
}

// Enough months for the search to foresee how much it finds: every entry once, in the order
// of the walk, and again nothing twice.
TEST(SearchManyMonthsTest, EveryEntryOnceOverYears) {
  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  TkzmDataUnit data;
  data.SetFolder(temp.Path() + "/Daily");
  for (int month = 0; month < 30; ++month) {
    for (int day = 1; day <= 3; ++day) {
      data.SelectDay(EncodeDate(2020 + month / 12, month % 12 + 1, day * (month % 9 + 1)));
      for (int n = 0; n <= month % 3; ++n) {
        data.AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", std::to_string(n), month);
      }
    }
  }
  ASSERT_TRUE(data.Save());
  data.SetFolder(data.Folder());
  TSearchResults results;
  ASSERT_TRUE(SearchAllMonths(data, {}, results));
  ASSERT_EQ(results.Count(), 30 * 3 * 2);
  SearchAllMonths(data, {}, results);
  EXPECT_EQ(results.Count(), 30 * 3 * 2);
  for (size_t i = 1; i < results.Entries().size(); ++i) {
    const TkzmEntry& a = results.Entries()[i - 1];
    const TkzmEntry& b = results.Entries()[i];
    if (a.amount == b.amount) {
      EXPECT_TRUE(a.date < b.date || (a.date == b.date && a.sequence + 1 == b.sequence));
    }
  }
}

TEST_F(SearchTest, CsvExport) {
  TSearchResults results;
  SearchMonth(data, 2024, 3, {}, results);
  ASSERT_EQ(results.Count(), 4);
  EXPECT_EQ(SearchCsvLine(results.Entries()[0]), "2024/03/05,食費,スーパー,\"12,345\",カード,特売");
  EXPECT_EQ(SearchCsvLine(results.Entries()[3]), "2024/03/20,メモ,\"雨, 寒い\",0,メモ,");
  std::vector<TkzmEntry> three(results.Entries().begin(), results.Entries().begin() + 3);
  std::string error;
  ASSERT_TRUE(WriteSearchCsv(temp.File("out.csv"), three, error)) << error;
  EXPECT_EQ(DecodeCp932(test::ReadBytes(temp.File("out.csv"))),
            "2024/03/05,食費,スーパー,\"12,345\",カード,特売\r\n"
            "2024/03/05,給与,給料,\"250,000\",銀行,\r\n"
            "2024/03/20,現金,ATM,\"30,000\",銀行,\r\n");
  three[0].note = "😀";
  EXPECT_FALSE(WriteSearchCsv(temp.File("out.csv"), three, error));
  EXPECT_NE(error.find("😀"), std::string::npos);
}

// Texts a spreadsheet would run as formulas get a leading "'" in the export, wherever they
// stand; the date and the amount (a refund is negative) are written as they are.
TEST_F(SearchTest, ExportedTextsNeverRunInASpreadsheet) {
  TkzmEntry entry;
  entry.date = EncodeDate(2024, 3, 5);
  entry.amount = -1200;
  entry.categoryKey = MakeKey("=食費", kKindPayment);
  entry.itemText = "=HYPERLINK(\"http://example.invalid\",\"x\")";
  entry.accountKey = MakeKey("@カード", kKindAsset);
  entry.note = "+cmd|' /C calc'!A0";
  EXPECT_EQ(SearchCsvLine(entry),
            "2024/03/05,'=食費,\"'=HYPERLINK(\"\"http://example.invalid\"\",\"\"x\"\")\",\"-1,200\",'@カード,'+cmd|' /C calc'!A0");
  entry.categoryKey = MakeKey("-", kKindPayment);
  entry.itemText = "\tタブ";
  entry.accountKey = MakeKey("現金", kKindAsset);
  entry.note = "メモ=+-@";
  std::string error;
  ASSERT_TRUE(WriteSearchCsv(temp.File("out.csv"), {entry}, error)) << error;
  EXPECT_EQ(DecodeCp932(test::ReadBytes(temp.File("out.csv"))), "2024/03/05,'-,'\tタブ,\"-1,200\",現金,メモ=+-@\r\n");
}

// A folder where a month file belongs is a month that cannot be read: the search says so and
// fails, as for a file it cannot read, instead of leaving the month out without a word.
TEST_F(SearchTest, AFolderInPlaceOfAMonthFileIsToldAndFails) {
  const std::string may = temp.Path() + "/Daily/202405.kzm";
  std::filesystem::create_directory(may);
  TSearchResults results;
  EXPECT_FALSE(SearchAllMonths(data, {}, results));
  ASSERT_EQ(data.ReadFailures().size(), 1u);
  EXPECT_EQ(data.ReadFailures().front(), may);
  ASSERT_FALSE(windows.messages.empty());
  EXPECT_NE(windows.messages.back().find(may), std::string::npos) << windows.messages.back();
  EXPECT_EQ(results.Count(), 6);
}

}  // namespace
}  // namespace kzm
