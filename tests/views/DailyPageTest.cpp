#include "views/DailyPage.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/PassbookFolderTest.h"
#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Files.h"
#include "passbook/Categories.h"
#include "passbook/DayMemos.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"
#include "settlement/AccountingMonth.h"
#include "views/DailyRows.h"

namespace kzm {
namespace {

const TDayNumber kDay = EncodeDate(2024, 3, 5);

class DailyPageTest : public test::TPassbookFolderTest {
 protected:
  static void Book(const std::string& category, int kind, const std::string& account, int32_t amount) {
    CurrentMonthData().SelectDay(kDay);
    CurrentMonthData().AddEntry(MakeKey(category, kind), MakeKey(account, kKindAsset), "", "", amount);
  }
  static std::string Names(const THeadList& list) {
    std::string names;
    for (int i = 0; i < list.Count(); ++i) names += list.DisplayName(i) + std::to_string(list.KindOf(i)) + " ";
    return names;
  }
};

TEST_F(DailyPageTest, DeletedCategoriesShowAfterTheirKind) {
  THeadList passbook;
  for (const auto& [name, kind] : std::vector<std::pair<std::string, int>>{
           {"食費", kKindPayment}, {"雑費", kKindPayment}, {"現金", kKindAsset}, {"給料", kKindReceipt},
           {"メモ", kKindMemo}, {"支出合計", kKindPaymentTotal}, {"銀行", kKindAsset}}) {
    passbook.AddKey(MakeKey(name, kind));
  }
  THeadList list;
  list.AddKey(MakeKey("前の日の残り", kKindPayment));

  BuildDayCategories(list, passbook, kDay);
  EXPECT_EQ(Names(list), "食費1 雑費1 現金2 給料3 銀行2 ");
  EXPECT_EQ(list.First(), kDay);
  EXPECT_EQ(list.Last(), kDay);

  Book("交際費", kKindPayment, "財布", 300);  // both deleted from the passbook
  Book("賞与", kKindReceipt, "現金", 1000);
  BuildDayCategories(list, passbook, kDay);
  EXPECT_EQ(Names(list), "食費1 雑費1 交際費1 現金2 財布2 給料3 賞与3 銀行2 ");
}

TEST_F(DailyPageTest, FinishDaySaveWritesMonthAndSettlementAndTellsTheWindows) {
  CurrentMonthData().SelectDay(kDay);
  CurrentMonthData().AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", "米", 894);
  AddDayMemo("晴れ", "");

  ASSERT_TRUE(FinishDaySave(kDay));
  EXPECT_EQ(DecodeCp932(test::ReadBytes(Daily() + "/202403.kzm")),
            "20240305,支出,食費,資産,現金,894,米,\r\n"
            "20240305,メモ,メモ,メモ,メモ,0,晴れ,\r\n");
  THeadList settled;
  ASSERT_TRUE(LoadMonthPeriod(202403, settled));
  EXPECT_EQ(settled.Items(settled.IndexOfKey(MakeKey("現金", kKindAsset))).total, -894);
  ASSERT_EQ(windows.notices.size(), 1u);
  EXPECT_EQ(windows.notices[0].message, 1224);
  EXPECT_EQ(windows.notices[0].first, kDay);
  EXPECT_EQ(windows.notices[0].second, 0);
}

// A saved page replaces the day's old entries by the grids' rows, then the memo, keeps the
// memo's hidden note, and leaves other days alone.
TEST_F(DailyPageTest, SavingAPageReplacesTheDayWithTheGridsAndTheMemo) {
  CurrentMonthData().SelectDay(kDay + 1);
  CurrentMonthData().AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", "翌日", 100);
  Book("食費", kKindPayment, "現金", 999);  // replaced by the page
  const std::string cash = MakeKey("現金", kKindAsset);
  const TDailyRows payments = {{kRowHeader, "", "", "", ""},
                               {BandCode(kKindPayment), MakeKey("食費", kKindPayment), "", "", ""},
                               {kRowEntry, "米", "894", cash, ""},
                               {kRowEntry, "", "", cash, ""}};  // the blank row stores nothing
  const TDailyRows moves = {{kRowHeader, "", "", "", ""},
                            {BandCode(kKindAsset), MakeKey("銀行", kKindAsset), "", "", ""},
                            {kRowEntry, "引き出し", "10,000", cash, "ATM"}};

  ASSERT_TRUE(SaveDailyPage(kDay, {payments, moves}, "晴れ\r\nのち雨", "隠れた注記"));
  EXPECT_EQ(DecodeCp932(test::ReadBytes(Daily() + "/202403.kzm")),
            "20240305,支出,食費,資産,現金,894,米,\r\n"
            "20240305,資産,銀行,資産,現金,10000,引き出し,ATM\r\n"
            "20240305,メモ,メモ,メモ,メモ,0,晴れ\\nのち雨,隠れた注記\r\n"  // the file's own line break mark
            "20240306,支出,食費,資産,現金,100,翌日,\r\n");
}

TEST_F(DailyPageTest, AFailedWriteKeepsTheDayForALaterSave) {
  CurrentMonthData().SelectDay(kDay);
  CurrentMonthData().AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", "米", 100);
  ASSERT_TRUE(FinishDaySave(kDay));
  // The Daily folder vanishes and a file takes its name.
  std::filesystem::remove_all(Daily());
  test::WriteBytes(Daily(), "in the way");

  CurrentMonthData().SelectDay(kDay);
  CurrentMonthData().AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", "パン", 200);
  EXPECT_FALSE(FinishDaySave(kDay));
  EXPECT_FALSE(windows.messages.empty());
  EXPECT_TRUE(CurrentMonthData().Modified());

  std::filesystem::remove(Daily());
  EnsureFolder(Daily());
  EXPECT_TRUE(FinishDaySave(kDay));
  EXPECT_EQ(DecodeCp932(test::ReadBytes(Daily() + "/202403.kzm")),
            "20240305,支出,食費,資産,現金,100,米,\r\n"
            "20240305,支出,食費,資産,現金,200,パン,\r\n");
}

TEST_F(DailyPageTest, DayMemoReadAndEmptied) {
  CurrentMonthData().SelectDay(kDay);
  EXPECT_EQ(CurrentDayMemo().text, "");
  CurrentMonthData().AddEntry(MemoKey(), MemoKey(), "注記1", "一つ目", 0);
  CurrentMonthData().AddEntry(MemoKey(), MemoKey(), "注記2", "二つ目", 0);
  EXPECT_EQ(CurrentDayMemo().text, "二つ目");  // the last one wins
  EXPECT_EQ(CurrentDayMemo().note, "注記2");

  CurrentMonthData().DeleteDayEntries();
  AddDayMemo("", "");
  EXPECT_EQ(CurrentMonthData().DayEntryCount(), 0);
  AddDayMemo("", "注記だけ");
  EXPECT_EQ(CurrentMonthData().DayEntryCount(), 1);
}

}  // namespace
}  // namespace kzm
