#include "card/CardSettings.h"

#include <gtest/gtest.h>

#include "common/RecordingWindowSystem.h"
#include "common/TempFolder.h"
#include "passbook/Categories.h"

namespace kzm {
namespace {

using test::ReadBytes;
using test::WriteBytes;

TCardSettings Card(const char* name, int closing, int payment, int months, const char* from) {
  return {name, closing, payment, months, from};
}

class CardStoreTest : public ::testing::Test {
 protected:
  std::string FilePath() const { return temp.File(kCardFileName); }
  test::TTempFolder temp;
};

TEST_F(CardStoreTest, CardsComeBackAsSavedInCp932LinesAndStrangeLinesStay) {
  WriteBytes(FilePath(), "# \x83\x81\x83\x82\r\ncard,X,31,10,next,\x8b\xe2\x8d\x73\r\n");  // "# メモ"; a day past 28
  TCardStore store;
  std::string error;
  ASSERT_TRUE(store.Load(temp.Path(), error)) << error;
  EXPECT_TRUE(store.Cards().empty());
  store.Set(Card("カード", kCardMonthEnd, 27, 1, "銀行"));
  store.Set(Card("楽天", 15, kCardMonthEnd, 2, "銀行"));
  store.Set(Card("カード", 20, 10, 1, "銀行"));  // a second Set replaces
  ASSERT_TRUE(store.Save(error)) << error;
  EXPECT_EQ(ReadBytes(FilePath()),
            "card,\x83\x4a\x81\x5b\x83\x68,20,10,next,\x8b\xe2\x8d\x73\r\n"
            "card,\x8a\x79\x93\x56,15,end,after-next,\x8b\xe2\x8d\x73\r\n"
            "# \x83\x81\x83\x82\r\ncard,X,31,10,next,\x8b\xe2\x8d\x73\r\n");
  TCardStore again;
  ASSERT_TRUE(again.Load(temp.Path(), error)) << error;
  ASSERT_EQ(again.Cards().size(), 2u);
  EXPECT_EQ(again.Cards()[1], Card("楽天", 15, kCardMonthEnd, 2, "銀行"));
  again.Remove("楽天");
  EXPECT_EQ(again.Find("楽天"), nullptr);
  ASSERT_NE(again.Find("カード"), nullptr);
}

// A card written twice (by hand, or two copies of the file put together): the first line
// holds, the person is told once, and once removed the card stays gone.
TEST_F(CardStoreTest, ACardWrittenTwiceIsRemovedForGood) {
  WriteBytes(FilePath(), "card,X,15,10,next,Y\r\ncard,X,20,27,after-next,Y\r\n");
  test::TRecordingWindowSystem windows;
  TCardStore store;
  std::string error;
  ASSERT_TRUE(store.Load(temp.Path(), error)) << error;
  ASSERT_EQ(store.Cards().size(), 1u);
  EXPECT_EQ(store.Cards()[0], Card("X", 15, 10, 1, "Y"));
  EXPECT_EQ(windows.messages.size(), 1u);
  store.Remove("X");
  ASSERT_TRUE(store.Save(error)) << error;
  ASSERT_TRUE(store.Load(temp.Path(), error)) << error;
  EXPECT_TRUE(store.Cards().empty());
}

TEST_F(CardStoreTest, AnUnreadableFileIsReportedAndNeverWrittenOver) {
  const std::string large(5 * 1024 * 1024, 'x');
  WriteBytes(FilePath(), large);
  TCardStore store;
  std::string error;
  EXPECT_FALSE(store.Load(temp.Path(), error));
  EXPECT_NE(error.find(kCardFileName), std::string::npos);
  store.Set(Card("カード", 15, 10, 1, "銀行"));
  error.clear();
  EXPECT_FALSE(store.Save(error));
  EXPECT_NE(error.find("上書きしません"), std::string::npos);
  EXPECT_EQ(ReadBytes(FilePath()), large);
}

TEST(CardProblemTest, ACardOrAccountThePassbookLacksIsNamedNotGuessed) {
  THeadList categories;
  categories.LoadDefaultCategories();
  struct TCase {
    TCardSettings card;
    const char* says;  // a part of the message; empty: nothing is wrong
  } cases[] = {
      {Card("カード", 15, 10, 1, "銀行"), ""},
      {Card("カード", kCardMonthEnd, kCardMonthEnd, 2, "現金"), ""},
      {Card("カード", 15, 10, 1, "旧銀行"), "引落口座「旧銀行」"},
      {Card("カード", 15, 10, 1, "食費"), "引落口座「食費」"},  // a payment category of that name
      {Card("カード", 15, 10, 1, ""), "引落口座が決まっていません"},
      {Card("カード", 15, 10, 1, "カード"), "カード自身"},
      {Card("楽天", 15, 10, 1, "銀行"), "カード「楽天」は通帳の資産の項目にありません"},
      {Card("カード", 29, 10, 1, "銀行"), "28日か月末"},
      {Card("カード", 15, 10, 3, "銀行"), "翌月か翌々月"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.card.card + "/" + c.card.fromAccount);
    const std::string problem = CardProblem(c.card, categories);
    if (*c.says == '\0') EXPECT_EQ(problem, "");
    else EXPECT_NE(problem.find(c.says), std::string::npos) << problem;
  }
}

}  // namespace
}  // namespace kzm
