#include "views/MemoDocument.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/PassbookFolderTest.h"
#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "foundation/Codec.h"
#include "foundation/Dates.h"
#include "passbook/Categories.h"
#include "passbook/MonthData.h"
#include "passbook/Profile.h"

namespace kzm {
namespace {

TDayNumber Mar(int day) { return EncodeDate(2024, 3, day); }

std::string Describe(const std::vector<TDayMemo>& memos) {
  std::string text;
  for (const TDayMemo& m : memos) text += FormatDate8(m.day) + "[" + m.text + "]";
  return text;
}

TEST(MemoDocument, DateLinesSplitTheDocumentIntoDayMemos) {
  struct Case {
    const char* name;
    const char* document;
    const char* expected;
  };
  const Case cases[] = {
      {"empty", "", ""},
      {"as loaded", "2024/03/05\n買い物\n\n2024/03/06\n晴れ\n\n", "20240305[買い物]20240306[晴れ]"},
      {"text before the first date is dropped", "前置き\n2024/03/05\nあ\n", "20240305[あ]"},
      {"a date line alone gives an empty memo", "2024/03/05\n\n2024/03/06\nい", "20240305[]20240306[い]"},
      {"lines joined by CR LF, ends trimmed", "2024/03/05\n  一行目\r\n\r\n二行目 \t\n\n\n",
       "20240305[一行目\r\n\r\n二行目]"},
      {"eight digits", "2024/03/05\nあ\n20240307\nう", "20240305[あ]20240307[う]"},
      {"six digits and other forms", "240305\nあ\n2024年3月6日\nい\n24/3/7\nう",
       "20240305[あ]20240306[い]20240307[う]"},
      {"blanks around a date line", "  2024/03/05 \nあ", "20240305[あ]"},
      {"no valid date stays text", "2024/03/05\n2024/02/30\n12345678\n1234", "20240305[2024/02/30\r\n12345678\r\n1234]"},
      {"a day named twice", "2024/03/05\nあ\n2024/03/05\nい", "20240305[あ]20240305[い]"},
      {"nothing but text", "ただのメモ\n", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Describe(ParseMemoDocument(c.document)), c.expected);
  }
}

TEST(MemoDocument, LoadedTextReadsBackAsTheSameMemos) {
  const std::vector<TDayMemo> memos = {{Mar(5), "一行目\r\n二行目", ""}, {Mar(9), "", ""}, {Mar(10), "x", ""}};
  const std::string text = MemoDocumentText(memos);
  EXPECT_EQ(text, "2024/03/05\n一行目\n二行目\n\n2024/03/09\n\n\n2024/03/10\nx\n\n");
  EXPECT_EQ(Describe(ParseMemoDocument(text)), Describe(memos));
}

TEST(MemoDocument, DatesOutsideThePeriod) {
  struct Case {
    const char* document;
    bool outside;
  };
  const Case cases[] = {
      {"", false},
      {"2024/03/01\n2024/03/10\n", false},
      {"2024/03/11\nあ", true},
      {"2024/02/29\n", true},
      {"2024/03/05\n20240401\n", true},
      {"テキスト 2024/04/01\n", false},  // not a date line
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.document);
    EXPECT_EQ(HasDateOutside(c.document, Mar(1), Mar(10)), c.outside);
  }
}

// Storing a document into a passbook on disk.
class StoreMemoDocumentTest : public test::TPassbookFolderTest {
 protected:
  static void AddMemo(TDayNumber day, const std::string& text, const std::string& note = "") {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey("メモ", kKindMemo), MakeKey("メモ", kKindMemo), note, text, 0);
  }
  static void AddFood(TDayNumber day, int32_t amount) {
    CurrentMonthData().SelectDay(day);
    CurrentMonthData().AddEntry(MakeKey("食費", kKindPayment), MakeKey("現金", kKindAsset), "", "米", amount);
  }
  std::string MonthFile(const std::string& name) const {
    return DecodeCp932(test::ReadBytes(Daily() + "/" + name));
  }
};

TEST_F(StoreMemoDocumentTest, WritesTheEditedMemosThroughToTheFile) {
  AddMemo(Mar(3), "消す");
  AddMemo(Mar(5), "古い", "残す注記");
  AddFood(Mar(5), 500);
  AddMemo(Mar(20), "期間外の古いメモ");
  ASSERT_TRUE(CurrentMonthData().Save());

  // Mar 3's date line was deleted, Mar 5 edited, Mar 7 added, Mar 20 lies after the period.
  const std::string document = "2024/03/05\n新しい\n\n2024/03/07\n\n2024/03/20\n書き換え\n";
  ASSERT_TRUE(StoreMemoDocument(document, Mar(1), Mar(10)));

  EXPECT_EQ(MonthFile("202403.kzm"),
            "20240305,支出,食費,資産,現金,500,米,\r\n"
            "20240305,メモ,メモ,メモ,メモ,0,新しい,残す注記\r\n"
            "20240307,メモ,メモ,メモ,メモ,0,,\r\n"
            "20240320,メモ,メモ,メモ,メモ,0,書き換え,\r\n");
  ASSERT_EQ(windows.notices.size(), 1u);
  EXPECT_EQ(windows.notices[0].message, 1224);
  EXPECT_EQ(windows.notices[0].first, Mar(1));
  EXPECT_EQ(windows.notices[0].second, Mar(10));
}

TEST_F(StoreMemoDocumentTest, PeriodOverTwoMonthsAndAMonthThatCannotBeWritten) {
  AddMemo(EncodeDate(2024, 2, 28), "二月");
  AddMemo(Mar(2), "三月");
  ASSERT_TRUE(CurrentMonthData().Save());
  // The Daily folder is gone and a file stands in its place.
  std::filesystem::remove_all(Daily());
  test::WriteBytes(Daily(), "not a folder");

  const std::string document = "2024/02/28\n二月改\n2024/03/02\n三月改\n";
  EXPECT_FALSE(StoreMemoDocument(document, EncodeDate(2024, 2, 26), Mar(5)));
  EXPECT_FALSE(windows.messages.empty());
  EXPECT_TRUE(CurrentMonthData().Modified());

  std::filesystem::remove(Daily());
  std::filesystem::create_directories(Daily());
  EXPECT_TRUE(CurrentMonthData().Save());
  EXPECT_EQ(MonthFile("202402.kzm"), "20240228,メモ,メモ,メモ,メモ,0,二月改,\r\n");
  EXPECT_EQ(MonthFile("202403.kzm"), "20240302,メモ,メモ,メモ,メモ,0,三月改,\r\n");
}

}  // namespace
}  // namespace kzm
