#include "search/SearchSort.h"

#include <gtest/gtest.h>

#include "foundation/Dates.h"
#include "passbook/Categories.h"

namespace kzm {
namespace {

TkzmEntry Entry(int day, int sequence, const char* category, int kind, const char* item, int amount,
                const char* account, const char* note) {
  TkzmEntry e;
  e.date = EncodeDate(2024, 3, day);
  e.sequence = sequence;
  e.categoryKey = MakeKey(category, kind);
  e.itemText = item;
  e.amount = amount;
  e.accountKey = MakeKey(account, kKindAsset);
  e.note = note;
  return e;
}

std::vector<TkzmEntry> Sample() {
  return {
      Entry(5, 0, "食費", kKindPayment, "パン", 300, "現金", "b"),
      Entry(1, 1, "給与", kKindReceipt, "給料", 250000, "銀行", "a"),
      Entry(5, 1, "交通", kKindPayment, "電車", -480, "カード", "c"),
      Entry(1, 0, "現金", kKindAsset, "ATM", 30000, "銀行", "a"),
  };
}

std::string Items(const std::vector<TkzmEntry>& results) {
  std::string text;
  for (const TkzmEntry& e : results) text += (text.empty() ? "" : " ") + e.itemText;
  return text;
}

TEST(SearchSortTest, EachColumnBothWays) {
  const TTextLess byBytes = [](const std::string& a, const std::string& b) { return a < b; };
  struct Case {
    int column;
    bool descending;
    const char* expected;
  };
  const Case cases[] = {
      {kColumnDate, false, "ATM 給料 パン 電車"},
      {kColumnDate, true, "電車 パン 給料 ATM"},
      {kColumnAmount, false, "電車 パン ATM 給料"},
      {kColumnAmount, true, "給料 ATM パン 電車"},
      // Payments (kind 1) before assets (2) before receipts (3), names within a kind.
      {kColumnCategory, false, "電車 パン ATM 給料"},
      {kColumnItem, false, "ATM パン 給料 電車"},
      // Equal notes keep the order they had.
      {kColumnNote, false, "給料 ATM パン 電車"},
      {kColumnNote, true, "電車 パン 給料 ATM"},
      {kColumnAccount, false, "電車 パン 給料 ATM"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "column " << c.column << (c.descending ? " descending" : ""));
    std::vector<TkzmEntry> results = Sample();
    SortSearchResults(results, c.column, c.descending, byBytes);
    EXPECT_EQ(Items(results), c.expected);
  }
}

TEST(SearchSortTest, TextsCompareByTheGivenOrderAndEqualTextsKeepTheirOrder) {
  std::vector<TkzmEntry> results;
  for (int i = 0; i < 3000; ++i) results.push_back(Entry(1 + i % 28, i, "食費", kKindPayment, i % 2 ? "b" : "a", i, "現金", ""));
  // A reversed order shows the comparison is the caller's, not the bytes'.
  const TTextLess reversed = [](const std::string& a, const std::string& b) { return a > b; };
  SortSearchResults(results, kColumnItem, false, reversed);
  ASSERT_EQ(results.size(), 3000u);
  EXPECT_EQ(results.front().itemText, "b");
  EXPECT_EQ(results.back().itemText, "a");
  // Results with the same text stay in the order they were found (here, by amount).
  for (size_t i = 1; i < results.size(); ++i) {
    if (results[i].itemText == results[i - 1].itemText) {
      EXPECT_LT(results[i - 1].amount, results[i].amount) << i;
    }
  }
}

}  // namespace
}  // namespace kzm
