#include "passbook/Categories.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/XmlList.h"
#include "passbook/CategoryOrder.h"
#include "common/TestPaths.h"

namespace kzm {
namespace {

using test::ReadBytes;
using test::TTempFolder;
using test::WriteBytes;

std::string DataFile(const std::string& name) {
  return test::SourceDir() + "/tests/data/passbook/categories/" + name;
}

std::string Sjis(const std::string& utf8) {
  std::string bytes;
  EXPECT_TRUE(EncodeCp932(utf8, bytes));
  return bytes;
}

std::string CategoryFile(const std::string& body) {
  return Sjis("<?xml version=\"\" encoding=\"shift_jis\" ?>\r\n<data>\r\n" + body + "</data>\r\n");
}

std::string Head(const std::string& name, const std::string& kind, const std::string& extra = "") {
  return "<head><name>" + name + "</name><kind>" + kind + "</kind>" + extra + "</head>\r\n";
}

TEST(CategoryKeys, KindAndNameOfAKey) {
  struct TCase {
    std::string key;
    int kind;
    std::string name;
  };
  const TCase cases[] = {
      {MakeKey("食費", kKindPayment), 1, "食費"},
      {MakeKey("食費", kKindAsset), 2, "食費"},
      {MakeKey("", kKindReceiptTotal), 6, ""},
      {MakeKey("x", 7), 0, "x"},
      {MakeKey("x", 200), 0, "x"},
      {"\xFF", 0, ""},
      {"", 0, ""},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.name + "/" + std::to_string(c.kind));
    EXPECT_EQ(KeyKind(c.key), c.kind);
    EXPECT_EQ(KeyName(c.key), c.name);
  }
  EXPECT_EQ(MakeKey("食費", kKindPayment).substr(0, 2), "\xFF\x01");
  EXPECT_NE(MakeKey("食費", kKindPayment), MakeKey("食費", kKindAsset));
}

TEST(CategoryKeys, KindNamesCodesAndGroups) {
  const int groups[] = {0, 1, 1, 1, 2, 3, 3};
  for (int kind = 0; kind < kKindCount; ++kind) {
    SCOPED_TRACE(kind);
    EXPECT_EQ(KindCode(KindNames()[static_cast<std::size_t>(kind)]), kind);
    EXPECT_EQ(KindGroup(kind), groups[kind]);
  }
  EXPECT_EQ(KindNames()[2], "資産");
  EXPECT_EQ(KindCode("不明"), 0);
  EXPECT_EQ(KindCode(""), 0);
  EXPECT_EQ(KindGroup(7), 0);
  EXPECT_EQ(KindGroup(-1), 0);
}

TEST(HeadList, DefaultCategories) {
  THeadList list;
  list.LoadDefaultCategories();
  ASSERT_EQ(list.Count(), 15);
  EXPECT_EQ(list.DisplayName(8), "住居\uFF65光熱");
  ASSERT_NE(list.NthOfKind(kKindPayment, 0), nullptr);
  EXPECT_EQ(list.NthOfKind(kKindPayment, 0)->key, MakeKey("食費", kKindPayment));
  EXPECT_EQ(list.NthOfKind(kKindAsset, 2)->key, MakeKey("カード", kKindAsset));
  EXPECT_EQ(list.NthOfKind(kKindAsset, 3), nullptr);
  EXPECT_EQ(list.CountOfKind(kKindAsset), 3);
  EXPECT_EQ(list.CountOfKind(kKindPayment), 8);
  EXPECT_EQ(list.KindOfName("メモ"), kKindMemo);
  EXPECT_EQ(list.KindOfName("家賃"), kKindNone);
  EXPECT_EQ(list.DayCount(), 1);
}

TEST(HeadList, EditingOperations) {
  THeadList list;
  EXPECT_EQ(list.AddKey(MakeKey("a", 1)), 0);
  EXPECT_EQ(list.AddKey(MakeKey("b", 1)), 1);
  EXPECT_EQ(list.AddKey(MakeKey("a", 1)), 0);
  list.InsertKey(0, MakeKey("a", 2));
  EXPECT_EQ(list.IndexOfKey(MakeKey("a", 1)), 1);
  EXPECT_EQ(list.KindOfName("a"), 1);  // the last one of that name
  list.Items(1).balance = 5;
  list.Items(1).visible = 0;
  list.Move(0, 2);
  EXPECT_EQ(list.Items(2).key, MakeKey("a", 2));
  list.Move(2, 0);
  EXPECT_EQ(list.Items(0).key, MakeKey("a", 2));
  EXPECT_EQ(list.Items(1).key, MakeKey("a", 1));

  THeadList other;
  other.SetFirst(100);
  other.SetLast(130);
  other.AddKey(MakeKey("b", 1));
  other.Items(other.AddKey(MakeKey("c", 3))).total = 7;
  list.Merge(other);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Items(3).total, 7);
  EXPECT_EQ(list.First(), 0);

  THeadList copy;
  copy.Assign(list);
  EXPECT_EQ(copy.Count(), 4);
  EXPECT_EQ(copy.Items(1).balance, 5);
  EXPECT_EQ(copy.Items(1).visible, 0);
  copy.Assign(other);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_EQ(copy.DayCount(), 31);
  copy.Delete(0);
  EXPECT_EQ(copy.Items(0).key, MakeKey("c", 3));
}

TEST(HeadList, AddKeyAfterKindJoinsTheFirstRunOfItsKind) {
  // List: p1 p2 a1 p3 r1 (kinds 1 1 2 1 3).
  const auto list = [] {
    THeadList l;
    for (const auto& [name, kind] : std::vector<std::pair<std::string, int>>{
             {"p1", 1}, {"p2", 1}, {"a1", 2}, {"p3", 1}, {"r1", 3}}) {
      l.AddKey(MakeKey(name, kind));
    }
    return l;
  };
  struct TCase {
    std::string key;
    int index;  // where it lands
    int count;  // list size afterwards
  };
  const TCase cases[] = {
      {MakeKey("new", 1), 2, 6},   // after p2, not after p3
      {MakeKey("new", 2), 3, 6},   // after a1
      {MakeKey("new", 3), 5, 6},   // after the last category, which is its kind
      {MakeKey("new", 4), 5, 6},   // no memo category: at the end
      {MakeKey("p3", 1), 3, 5},    // present: its index, nothing added
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(KeyName(c.key) + " kind " + std::to_string(KeyKind(c.key)));
    THeadList l = list();
    EXPECT_EQ(AddKeyAfterKind(l, c.key), c.index);
    ASSERT_EQ(l.Count(), c.count);
    EXPECT_EQ(l.Items(c.index).key, c.key);
  }
}

TEST(HeadList, SavedDefaultListMatchesTheExpectedFile) {
  TTempFolder dir;
  THeadList list;
  list.LoadDefaultCategories();
  list.Items(0).visible = 0;
  list.SaveToFile(dir.File("Headfile.dta"));
  EXPECT_EQ(ReadBytes(dir.File("Headfile.dta")), ReadBytes(DataFile("default.dta")));
}

TEST(HeadList, SettlementFileReadsAndWritesBack) {
  test::TRecordingWindowSystem windows;
  THeadList list;
  list.LoadFromFile(DataFile("settlement.mif"));
  EXPECT_EQ(list.First(), 45348);  // 2024-02-26
  EXPECT_EQ(list.Last(), 45376);   // 2024-03-25
  ASSERT_EQ(list.Count(), 3);
  EXPECT_EQ(list.Items(0).total, 12345);
  EXPECT_EQ(list.Items(1).key, MakeKey("食費", kKindAsset));
  EXPECT_EQ(list.Items(1).balance, -500);
  EXPECT_EQ(list.Items(1).total, 2147483647);
  EXPECT_EQ(list.Items(1).visible, 0);
  EXPECT_EQ(list.Items(2).key, MakeKey("A&B <旧>", kKindNone));
  EXPECT_TRUE(windows.messages.empty());

  TTempFolder dir;
  list.SaveToFile(dir.File("202403.mif"));
  EXPECT_EQ(ReadBytes(dir.File("202403.mif")), ReadBytes(DataFile("settlement.mif")));
}

TEST(HeadList, LoadingToleratesOddContent) {
  test::TRecordingWindowSystem windows;
  TTempFolder dir;
  const std::string path = dir.File("Headfile.dta");
  WriteBytes(path, CategoryFile(Head("食費", "支出", "<balance>1</balance>") +
                                Head("食費", "支出", "<balance>2</balance>") +  // skipped
                                Head("食費", "資産") +
                                Head("家賃", "固定費", "<total>12x</total><visible></visible>") +
                                "<other><name>x</name></other>\r\n" +
                                "<HEAD><Name>大文字</Name><KIND>収入</KIND><Visible>0</Visible></HEAD>\r\n"));
  THeadList list;
  list.AddKey(MakeKey("old", 1));
  list.LoadFromFile(path);
  ASSERT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Items(0).balance, 1);
  EXPECT_EQ(list.Items(1).key, MakeKey("食費", kKindAsset));
  EXPECT_EQ(list.Items(2).key, MakeKey("家賃", kKindNone));  // unknown kind name
  EXPECT_EQ(list.Items(2).total, 0);
  EXPECT_EQ(list.Items(2).visible, 1);
  EXPECT_EQ(list.Items(3).key, MakeKey("大文字", kKindReceipt));
  EXPECT_EQ(list.Items(3).visible, 0);
  EXPECT_EQ(list.First(), 0);
  EXPECT_TRUE(windows.messages.empty());
}

TEST(HeadList, InvalidPeriodBecomesOneDay) {
  struct TCase {
    const char* period;
    TDayNumber first;
    TDayNumber last;
    bool message;
  };
  const TCase cases[] = {
      {"<first>20240301</first><last>20240229</last>", 45352, 45352, true},
      // One end missing is no period: the settlement's reader gives the month its own.
      {"<first>20240301</first>", 45352, 0, false},
      {"<first>20240301</first><last>2024</last>", 45352, 0, false},
      {"<last>20240301</last>", 0, 45352, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.period);
    test::TRecordingWindowSystem windows;
    TTempFolder dir;
    WriteBytes(dir.File("a.mif"), CategoryFile(std::string(c.period) + Head("食費", "支出")));
    THeadList list;
    list.LoadFromFile(dir.File("a.mif"));
    EXPECT_EQ(list.First(), c.first);
    EXPECT_EQ(list.Last(), c.last);
    EXPECT_EQ(list.Count(), 1);
    if (c.message) {
      ASSERT_EQ(windows.messages.size(), 1u);
      EXPECT_EQ(windows.messages[0], "月の設定期間が無効です");
    } else {
      EXPECT_TRUE(windows.messages.empty());
    }
  }
}

TEST(HeadList, UnreadableFilesLeaveAnEmptyList) {
  TTempFolder dir;
  THeadList list;
  list.LoadDefaultCategories();
  EXPECT_THROW(list.LoadFromFile(dir.File("missing.dta")), EkzmError);
  EXPECT_EQ(list.Count(), 0);

  list.LoadDefaultCategories();
  WriteBytes(dir.File("bad.dta"), "<data><head><name>x</head></data>");
  EXPECT_THROW(list.LoadFromFile(dir.File("bad.dta")), ExmlParseError);
  EXPECT_EQ(list.Count(), 0);
}

TEST(HeadList, NameOutsideShiftJisIsNotSaved) {
  TTempFolder dir;
  const std::string path = dir.File("Headfile.dta");
  WriteBytes(path, "old");
  THeadList list;
  list.AddKey(MakeKey("🍣", kKindPayment));
  EXPECT_THROW(list.SaveToFile(path), EkzmError);
  EXPECT_EQ(ReadBytes(path), "old");
}

}  // namespace
}  // namespace kzm
