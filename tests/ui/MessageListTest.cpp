// The mascots' messages: reading the texts, choosing by date, splitting into parts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "calendar/Almanac.h"
#include "foundation/Resources.h"
#include "ui/FakeRandom.h"
#include "ui/shell/MessageList.h"

namespace kzm::ui {
namespace {

std::vector<std::string> Parts(const TselifList& list) { return {list.Queue().begin(), list.Queue().end()}; }

// Says the queued parts (ten ticks apart each) so that the next message may start.
void SayAll(TselifList& list) {
  for (int i = 0; i < 1000 && (!list.Queue().empty() || list.Ready()); ++i) {
    list.Tick();
    list.ClearReady();
  }
}

TEST(MessageListTest, ReadsKeysAndAlternatives) {
  test::TRangeRandom random;
  TselifList list(random);
  list.Load("N=a\r\nnoequals\r\n=empty key\r\nn=b\tc\r\n0101=d\r\n");
  ASSERT_NE(list.Alternatives("N"), nullptr);
  EXPECT_EQ(*list.Alternatives("n"), (std::vector<std::string>{"a", "b\\nc"}));
  EXPECT_EQ(list.Alternatives("0101")->size(), 1U);
  EXPECT_EQ(list.Alternatives(""), nullptr);

  TselifList shipped(random);
  shipped.Load(ReadResourceText("MESSAGES"));
  EXPECT_EQ(shipped.Alternatives("N")->size(), 42U);
  EXPECT_EQ(*shipped.Alternatives("0101"), (std::vector<std::string>{"あけました"}));
}

TEST(MessageListTest, NewYearsDayTakesDatedLinesOnceEach) {
  test::TRangeRandom random;
  random.answers = {{3, 0}, {10000, 9999}};
  random.fallback = 0;
  TselifList list(random, [] { return EncodeDate(2025, 1, 1); });
  list.Load(ReadResourceText("MESSAGES"));
  list.AddDayMessages(Almanac());

  list.PickMessage();
  EXPECT_EQ(Parts(list), (std::vector<std::string>{"今日は____\\n元日"}));
  SayAll(list);
  list.PickMessage();
  EXPECT_EQ(Parts(list), (std::vector<std::string>{"あけました"}));
  SayAll(list);
  list.PickMessage();
  EXPECT_EQ(Parts(list), (std::vector<std::string>{"新年", "新年です"}));
  SayAll(list);
  list.PickMessage();
  EXPECT_EQ(Parts(list), (std::vector<std::string>{"ラッキー__\\n__カラーは", "赤"})) << "then the general lines";
}

TEST(MessageListTest, HolidayAndSeasonalDayBothJoinTodaysKey) {
  test::TRangeRandom random;
  TselifList list(random, [] { return EncodeDate(2025, 3, 20); });
  list.AddDayMessages(Almanac());
  const auto* today = list.Alternatives("20250320");
  ASSERT_NE(today, nullptr);
  EXPECT_EQ(*today, (std::vector<std::string>{"今日は____\\n春分の日", "今日は____\\n春分"}));

  TselifList ordinary(random, [] { return EncodeDate(2025, 6, 18); });
  ordinary.AddDayMessages(Almanac());
  EXPECT_EQ(ordinary.Alternatives("20250618"), nullptr);
}

TEST(MessageListTest, PartsAreRenderedTenTicksApartWithBlanksAndBreaks) {
  test::TRangeRandom random;
  random.answers = {{10000, 9999}};
  random.fallback = 0;
  TselifList list(random);
  std::vector<std::string> rendered;
  list.SetRenderer([&](const std::string& lines) {
    rendered.push_back(lines);
    return TBitmap(10, 12, 24);
  });
  list.Load("N=a_b\\nc,d\n");
  list.PickMessage();
  for (int i = 0; i < 10; ++i) list.Tick();
  EXPECT_FALSE(list.Ready());
  list.Tick();
  ASSERT_TRUE(list.Ready());
  EXPECT_EQ(rendered, (std::vector<std::string>{"a b\nc"}));
  EXPECT_TRUE(list.TextPicture().Is32());
  EXPECT_EQ(list.TextPicture().Row(0)[3], 255);
  EXPECT_EQ(list.PartsShown(), 1);

  // A new message waits until every part was said.
  const int batch = list.Batch();
  random.answers[100000] = batch + 1;
  list.PickMessage();
  EXPECT_EQ(list.Batch(), batch);
}

TEST(MessageListTest, RealTextPictureHasTheFontHeight) {
  const TBitmap picture = RenderMessagePart("ラッキー  \n  カラーは");
  EXPECT_GT(picture.Width(), 30);
  EXPECT_GE(picture.Height(), 24);
  EXPECT_LE(picture.Height(), 40);
}

}  // namespace
}  // namespace kzm::ui
