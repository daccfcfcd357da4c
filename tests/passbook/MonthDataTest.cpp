#include "passbook/MonthData.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"

namespace kzm {
namespace {

// Writes a file of the test's set-up, creating its folder.
void PutFile(const std::string& path, const std::string& bytes) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  test::WriteBytes(path, bytes);
}

int32_t Day(int year, int month, int day) { return EncodeDate(year, month, day); }

const std::string kFood = MakeKey("食費", 1);
const std::string kFare = MakeKey("交通", 1);
const std::string kSalary = MakeKey("給与", 3);
const std::string kCash = MakeKey("現金", 2);
const std::string kBank = MakeKey("銀行", 2);
const std::string kMemo = MakeKey("メモ", 4);

class MonthDataTest : public ::testing::Test {
 protected:
  void SetUp() override { data.SetFolder(Daily()); }

  std::string Daily() const { return temp.Path() + "/Daily"; }
  std::string FileOf(const std::string& name) const { return Daily() + "/" + name; }
  void WriteMonth(const std::string& name, const std::string& utf8) {
    std::string bytes;
    ASSERT_TRUE(EncodeCp932(utf8, bytes));
    PutFile(FileOf(name), bytes);
  }
  std::string MonthText(const std::string& name) const {
    return DecodeCp932(test::ReadBytes(FileOf(name)));
  }
  void AddFood(const std::string& item, int32_t amount) {
    data.AddEntry(kFood, kCash, "", item, amount);
  }

  test::TTempFolder temp;
  test::TRecordingWindowSystem windows;
  TkzmDataUnit data;
};

TEST_F(MonthDataTest, SequencesSurviveDeletion) {
  data.SelectDay(Day(2024, 3, 5));
  AddFood("a", 100);
  AddFood("b", 200);
  AddFood("c", 300);
  data.DeleteEntry(data.FirstIndex() + 1);
  ASSERT_EQ(data.DayEntryCount(), 2);
  EXPECT_EQ(data.Entry(data.FirstIndex()).sequence, 0);
  EXPECT_EQ(data.Entry(data.LastIndex()).sequence, 2);
  AddFood("d", 400);
  EXPECT_EQ(data.Entry(data.LastIndex()).itemText, "d");
  EXPECT_EQ(data.Entry(data.LastIndex()).sequence, 2);
  EXPECT_TRUE(data.Modified());
}

TEST_F(MonthDataTest, IndicesFollowTheCurrentDay) {
  for (int day : {7, 3, 5, 5}) {
    data.SelectDay(Day(2024, 3, day));
    AddFood(std::to_string(day), day);
  }
  ASSERT_EQ(data.Count(), 4);
  data.SelectDay(Day(2024, 3, 5));
  EXPECT_EQ(data.FirstIndex(), 1);
  EXPECT_EQ(data.LastIndex(), 2);
  data.SelectDay(Day(2024, 3, 6));
  EXPECT_EQ(data.DayEntryCount(), 0);
  EXPECT_EQ(data.FirstIndex(), 3);
  EXPECT_EQ(data.LastIndex(), 2);

  data.SelectDay(Day(2024, 3, 5));
  data.DeleteDayEntries();
  EXPECT_EQ(data.Count(), 2);
  data.SelectDay(Day(2024, 3, 7));
  EXPECT_EQ(data.FirstIndex(), 1);
  EXPECT_EQ(data.Entry(1).itemText, "7");
}

TEST_F(MonthDataTest, OutOfOrderFileLoadsSortedAndIsWrittenBackSorted) {
  WriteMonth("202403.kzm",
             "20240305,支出,食費,資産,現金,300,昼食,\r\n"
             "20240301,収入,給与,資産,銀行,200000,,\r\n"
             "20240305,支出,交通,資産,現金,200,バス,\r\n");
  data.SelectDay(Day(2024, 3, 5));
  ASSERT_EQ(data.Count(), 3);
  EXPECT_FALSE(data.Modified());
  EXPECT_EQ(data.Entry(0).categoryKey, kSalary);
  EXPECT_EQ(data.Entry(0).accountKey, kBank);
  EXPECT_EQ(data.Entry(0).amount, 200000);
  EXPECT_EQ(data.FirstIndex(), 1);
  EXPECT_EQ(data.Entry(1).itemText, "昼食");
  EXPECT_EQ(data.Entry(2).categoryKey, kFare);
  EXPECT_EQ(data.Entry(2).sequence, 1);

  data.SetModified();
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(MonthText("202403.kzm"),
            "20240301,収入,給与,資産,銀行,200000,,\r\n"
            "20240305,支出,食費,資産,現金,300,昼食,\r\n"
            "20240305,支出,交通,資産,現金,200,バス,\r\n");
}

TEST_F(MonthDataTest, ReadsDigitKindsUnknownNamesAndMemoLines) {
  WriteMonth("202403.kzm",
             "20240302,1,本,0,現金,1500,,\r\n"
             "2024/3/2,4,何か,2,財布,0,メモの本文,備考\r\n"
             "240302,支出,謎,未知,財布,70,,\r\n");
  data.SelectDay(Day(2024, 3, 2));
  ASSERT_EQ(data.DayEntryCount(), 3);
  EXPECT_EQ(data.Entry(0).categoryKey, MakeKey("本", 1));
  EXPECT_EQ(data.Entry(0).accountKey, kCash);
  EXPECT_EQ(data.EntryGroup(0), 1);
  EXPECT_EQ(data.Entry(1).categoryKey, kMemo);
  EXPECT_EQ(data.Entry(1).accountKey, kMemo);
  EXPECT_EQ(data.Entry(1).itemText, "メモの本文");
  EXPECT_EQ(data.Entry(1).note, "備考");
  EXPECT_EQ(data.EntryGroup(1), 2);
  EXPECT_EQ(data.Entry(2).categoryKey, MakeKey("謎", 1));
  EXPECT_EQ(data.Entry(2).accountKey, MakeKey("財布", 2));
  EXPECT_EQ(data.Entry(2).amount, 70);
}

// A line whose amount is no plain integer is not understood: it is kept as it was, counts in
// no total, and the user hears of it once.
TEST_F(MonthDataTest, AmountsThatAreNoIntegerAreKeptAsTheyWere) {
  const std::vector<std::string> amounts = {"\"1,000\"", "100.5", "１００", "99999999999", "abc", ""};
  std::string text = "20240305,支出,食費,資産,現金,500,昼食,\r\n";
  for (const std::string& amount : amounts) text += "20240305,支出,食費,資産,現金," + amount + ",x,\r\n";
  WriteMonth("202403.kzm", text);
  const std::string before = test::ReadBytes(FileOf("202403.kzm"));

  data.SelectDay(Day(2024, 3, 5));
  ASSERT_EQ(data.DayEntryCount(), 1);
  EXPECT_EQ(data.Entry(0).amount, 500);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find(FileOf("202403.kzm")), std::string::npos);
  EXPECT_NE(windows.messages[0].find("6行"), std::string::npos);

  THeadList list;
  ASSERT_TRUE(data.SumRange(list, Day(2024, 3, 1), Day(2024, 4, 1)));
  EXPECT_EQ(list.Items(list.IndexOfKey(kFood)).total, 500);
  data.SelectDay(Day(2024, 3, 5));  // loaded again: said once
  EXPECT_EQ(windows.messages.size(), 1u);

  data.SetModified();
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(test::ReadBytes(FileOf("202403.kzm")), before);
}

// A kept line of a day that has entries is written after them, whatever else changes.
TEST_F(MonthDataTest, AKeptLineFollowsTheEntriesOfItsDay) {
  WriteMonth("202403.kzm",
             "20240305,支出,食費,資産,現金,1,a,\r\n"
             "20240305,支出,食費,資産,現金,1.5,kept,\r\n"
             "20240305,支出,食費,資産,現金,2,b,\r\n"
             "20240306,支出,食費,資産,現金,3,c,\r\n");
  data.SelectDay(Day(2024, 3, 5));
  AddFood("d", 4);
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(MonthText("202403.kzm"),
            "20240305,支出,食費,資産,現金,1,a,\r\n"
            "20240305,支出,食費,資産,現金,2,b,\r\n"
            "20240305,支出,食費,資産,現金,4,d,\r\n"
            "20240305,支出,食費,資産,現金,1.5,kept,\r\n"
            "20240306,支出,食費,資産,現金,3,c,\r\n");
}

// Characters with two codes (NEC and IBM rows): a kept line keeps the very bytes it had; an
// entry keeps its characters and is written with the code Windows writes for them.
TEST_F(MonthDataTest, DuplicateCodesStayInKeptLinesAndKeepTheirCharactersInEntries) {
  const std::string food = "\x8e\x78\x8f\x6f,\x90\x48\x94\xef,\x8e\x91\x8e\x59,\x8c\xbb\x8b\xe0";  // 支出,食費,資産,現金
  const std::string kept = "20240305," + food + ",1.5,\x87\x90\xed\x40\xfa\x54,";
  PutFile(FileOf("202403.kzm"), kept + "\r\n20240305," + food + ",7,\x87\x90\xed\x40\xfa\x54,\r\n");
  data.SelectDay(Day(2024, 3, 5));
  ASSERT_EQ(data.DayEntryCount(), 1);
  EXPECT_EQ(data.Entry(0).itemText, "≒纊￢");
  data.SetModified();
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(test::ReadBytes(FileOf("202403.kzm")),
            "20240305," + food + ",7,\x81\xe0\xfa\x5c\x81\xca,\r\n" + kept + "\r\n");
}

TEST_F(MonthDataTest, WritesTheExactFile) {
  data.SelectDay(Day(2024, 3, 9));
  data.AddEntry(kMemo, kMemo, "", "一行目\r\n二行目", 0);
  data.SelectDay(Day(2024, 3, 5));
  AddFood("弁当, お茶\r\nほか", 850);
  data.AddEntry(kSalary, kBank, "三月分", "", -12);
  ASSERT_TRUE(data.Save());
  std::string expected;
  ASSERT_TRUE(EncodeCp932(
      "20240305,支出,食費,資産,現金,850,\"弁当, お茶\\nほか\",\r\n"
      "20240305,収入,給与,資産,銀行,-12,,三月分\r\n"
      "20240309,メモ,メモ,メモ,メモ,0,一行目\\n二行目,\r\n",
      expected));
  EXPECT_EQ(test::ReadBytes(FileOf("202403.kzm")), expected);
  EXPECT_FALSE(data.Modified());

  TkzmDataUnit reread;
  reread.SetFolder(Daily());
  reread.SelectDay(Day(2024, 3, 5));
  ASSERT_EQ(reread.DayEntryCount(), 2);
  EXPECT_EQ(reread.Entry(0).itemText, "弁当, お茶\r\nほか");
  reread.SelectDay(Day(2024, 3, 9));
  EXPECT_EQ(reread.Entry(reread.FirstIndex()).itemText, "一行目\r\n二行目");
}

TEST_F(MonthDataTest, LoneLineBreaksAreWrittenAsLineBreaks) {
  data.SelectDay(Day(2024, 3, 5));
  AddFood("a\nb\rc", 1);
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,1,a\\nb\\nc,\r\n");
}

TEST_F(MonthDataTest, TextsWithBackslashesStayEntries) {
  data.SelectDay(Day(2024, 3, 5));
  AddFood("パン,牛乳\\", 300);
  data.AddEntry(kFood, kCash, "C:\\new", "\\n", 200);
  ASSERT_TRUE(data.Save());

  TkzmDataUnit reread;
  reread.SetFolder(Daily());
  reread.SelectDay(Day(2024, 3, 5));
  ASSERT_EQ(reread.DayEntryCount(), 2);
  EXPECT_EQ(reread.Entry(0).itemText, "パン,牛乳\\");
  EXPECT_EQ(reread.Entry(0).amount, 300);
  EXPECT_EQ(reread.Entry(1).note, "C:\\new");
  EXPECT_EQ(reread.Entry(1).itemText, "\\n");
}

TEST_F(MonthDataTest, ForeignLinesAndBrokenBytesSaveBackIdentical) {
  const std::string original =
      "20240229,\x8e\x78\x8f\x6f,x,\x8e\x91\x8e\x59,y,1,before,\r\n"  // the month before
      "20240301,\x8e\x78\x8f\x6f,\x90\x48\x94\xef,\x8e\x91\x8e\x59,\x8c\xbb\x8b\xe0,100,A\xff"
      "B\x81,\r\n"                                                      // broken bytes
      "20240310,short,line\r\n"                                         // too few fields
      "\r\n"
      "no date at all,,,,,,,\r\n"
      "20240401,\x8e\x78\x8f\x6f,x,\x8e\x91\x8e\x59,y,5,after,\r\n"     // the month after
      "1,2,3,4,5,6,7,8,9,10\r\n";
  PutFile(FileOf("202403.kzm"), original);
  data.SelectDay(Day(2024, 3, 1));
  ASSERT_EQ(data.Count(), 1);
  EXPECT_EQ(data.Entry(0).categoryKey, kFood);
  data.SetModified();
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(test::ReadBytes(FileOf("202403.kzm")), original);
}

// Lines the program does not understand go back byte for byte, whatever their line end: a
// lone CR inside a quoted field, an unknown kind code, a last line with no line end.
TEST_F(MonthDataTest, LinesNotUnderstoodKeepTheirBytesAndLineEnds) {
  const std::string original =
      "20240301,\x8e\x78\x8f\x6f,\x90\x48\x94\xef,\x8e\x91\x8e\x59,\x8c\xbb\x8b\xe0,100,\"a\rb\",\r\n"
      "20240302,99,\x90\x48\x94\xef,\x8e\x91\x8e\x59,\x8c\xbb\x8b\xe0,200,x,\r\n"
      "20240303,1,\x90\x48\x94\xef,2,\x8c\xbb\x8b\xe0,300,\"n\ro\",y\r\n"
      "20240304,\x8e\x78\x8f\x6f,\x90\x48\x94\xef,\x8e\x91\x8e\x59,\x8c\xbb\x8b\xe0,400,last,\n"
      "20240305,3,\x90\x48\x94\xef,77,\x8c\xbb\x8b\xe0,500,z,";
  PutFile(FileOf("202403.kzm"), original);
  data.SelectDay(Day(2024, 3, 4));
  ASSERT_EQ(data.Count(), 1);  // only the plain line of the 4th is an entry
  EXPECT_EQ(data.Entry(0).amount, 400);
  data.SetModified();
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(test::ReadBytes(FileOf("202403.kzm")),
            "20240301,\x8e\x78\x8f\x6f,\x90\x48\x94\xef,\x8e\x91\x8e\x59,\x8c\xbb\x8b\xe0,100,\"a\rb\",\r\n"
            "20240302,99,\x90\x48\x94\xef,\x8e\x91\x8e\x59,\x8c\xbb\x8b\xe0,200,x,\r\n"
            "20240303,1,\x90\x48\x94\xef,2,\x8c\xbb\x8b\xe0,300,\"n\ro\",y\r\n"
            "20240304,\x8e\x78\x8f\x6f,\x90\x48\x94\xef,\x8e\x91\x8e\x59,\x8c\xbb\x8b\xe0,400,last,\r\n"
            "20240305,3,\x90\x48\x94\xef,77,\x8c\xbb\x8b\xe0,500,z,\r\n");
}

TEST_F(MonthDataTest, ExtraFieldsAreWrittenBack) {
  WriteMonth("202403.kzm", "20240301,支出,食費,資産,現金,1,,,x,\"y,z\"\r\n");
  data.SelectDay(Day(2024, 3, 1));
  ASSERT_EQ(data.Count(), 1);
  data.SetModified();
  ASSERT_TRUE(data.Save());
  EXPECT_EQ(MonthText("202403.kzm"), "20240301,支出,食費,資産,現金,1,,,x,\"y,z\"\r\n");
}

TEST_F(MonthDataTest, AnotherMonthSavesTheChangedOneFirst) {
  data.SelectDay(Day(2024, 3, 31));
  AddFood("a", 1);
  EXPECT_TRUE(data.SelectDay(Day(2024, 4, 1)));
  EXPECT_EQ(data.Count(), 0);
  EXPECT_FALSE(data.Modified());
  EXPECT_EQ(MonthText("202403.kzm"), "20240331,支出,食費,資産,現金,1,a,\r\n");
  EXPECT_FALSE(std::filesystem::exists(FileOf("202404.kzm")));
  data.SelectDay(Day(2024, 3, 31));
  EXPECT_EQ(data.DayEntryCount(), 1);
}

TEST_F(MonthDataTest, SetFolderThenTheSameDayReadsTheNewFolder) {
  data.SelectDay(Day(2024, 3, 5));
  AddFood("old", 1);
  const std::string other = temp.Path() + "/Other/Daily";
  PutFile(other + "/202403.kzm", "20240305,1,x,2,y,7,,\r\n");
  data.SetFolder(other);
  EXPECT_EQ(MonthText("202403.kzm"), "20240305,支出,食費,資産,現金,1,old,\r\n");
  data.SelectDay(Day(2024, 3, 5));
  ASSERT_EQ(data.DayEntryCount(), 1);
  EXPECT_EQ(data.Entry(0).amount, 7);
}

TEST_F(MonthDataTest, FailedSaveKeepsTheMonthUntilItCanBeWritten) {
  const std::string blocker = temp.Path() + "/blocker";
  PutFile(blocker, "a file where the passbook folder should be");
  data.SetFolder(blocker + "/Daily");
  data.SelectDay(Day(2024, 3, 5));
  AddFood("kept", 42);

  EXPECT_FALSE(data.Save());
  EXPECT_EQ(windows.messages.size(), 1u);
  EXPECT_TRUE(data.Modified());
  EXPECT_FALSE(data.SelectDay(Day(2024, 4, 1)));  // tells, and keeps March aside
  EXPECT_EQ(windows.messages.size(), 2u);
  EXPECT_EQ(data.Count(), 0);
  EXPECT_TRUE(data.Modified());

  data.SelectDay(Day(2024, 3, 5));
  ASSERT_EQ(data.DayEntryCount(), 1);
  EXPECT_EQ(data.Entry(0).itemText, "kept");
  data.SelectDay(Day(2024, 4, 1));

  std::filesystem::remove(blocker);
  EXPECT_TRUE(data.Save());
  EXPECT_FALSE(data.Modified());
  EXPECT_EQ(DecodeCp932(test::ReadBytes(blocker + "/Daily/202403.kzm")),
            "20240305,支出,食費,資産,現金,42,kept,\r\n");
}

TEST_F(MonthDataTest, AMonthFileThatCannotBeReadIsNeverOverwritten) {
  std::filesystem::create_directories(FileOf("202403.kzm"));  // a folder where the file should be
  data.SelectDay(Day(2024, 3, 5));
  EXPECT_EQ(windows.messages.size(), 1u);
  AddFood("a", 1);
  EXPECT_FALSE(data.Save());
  EXPECT_TRUE(data.Modified());
  EXPECT_TRUE(std::filesystem::is_directory(FileOf("202403.kzm")));
}

// A file far larger than any month is named, not read, and never written over.
TEST_F(MonthDataTest, AHugeMonthFileIsRefusedAndNeverOverwritten) {
  const std::string huge = "20240305,1,x,2,y,1,,\r\n" + std::string(16 * 1024 * 1024, 'x');
  PutFile(FileOf("202403.kzm"), huge);
  data.SelectDay(Day(2024, 3, 5));
  EXPECT_EQ(data.Count(), 0);
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find(FileOf("202403.kzm")), std::string::npos);
  EXPECT_EQ(data.ReadFailures(), std::vector<std::string>{FileOf("202403.kzm")});

  AddFood("a", 1);
  EXPECT_FALSE(data.Save());
  EXPECT_TRUE(data.Modified());
  EXPECT_EQ(windows.messages.size(), 2u);
  EXPECT_EQ(std::filesystem::file_size(FileOf("202403.kzm")), huge.size());
}

TEST_F(MonthDataTest, TextCp932CannotHoldIsRefusedAndKept) {
  data.SelectDay(Day(2024, 3, 5));
  AddFood("寿司🍣", 1000);
  EXPECT_FALSE(data.Save());
  ASSERT_EQ(windows.messages.size(), 1u);
  EXPECT_NE(windows.messages[0].find("🍣"), std::string::npos);
  EXPECT_TRUE(data.Modified());
  EXPECT_FALSE(std::filesystem::exists(FileOf("202403.kzm")));
}

TEST_F(MonthDataTest, SumRangeTotalsCategoriesAndAccountsAcrossMonths) {
  data.SelectDay(Day(2024, 3, 30));
  AddFood("before the range", 5);
  data.SelectDay(Day(2024, 3, 31));
  AddFood("a", 300);
  data.SelectDay(Day(2024, 4, 1));
  data.AddEntry(kSalary, kBank, "", "", 1000);
  AddFood("b", 20);
  data.AddEntry(kMemo, kMemo, "", "memo", 0);

  THeadList list;
  list.AddKey(kFood);
  list.Items(0).total = 999;
  ASSERT_TRUE(data.SumRange(list, Day(2024, 3, 31), Day(2024, 4, 1)));
  ASSERT_EQ(list.Count(), 5);
  EXPECT_EQ(list.Items(list.IndexOfKey(kFood)).total, 320);
  EXPECT_EQ(list.Items(list.IndexOfKey(kCash)).total, -320);
  EXPECT_EQ(list.Items(list.IndexOfKey(kSalary)).total, 1000);
  EXPECT_EQ(list.Items(list.IndexOfKey(kBank)).total, -1000);
  EXPECT_EQ(list.Items(list.IndexOfKey(kMemo)).total, 0);
}

}  // namespace
}  // namespace kzm
